#include "raster/RasterFont.h"

#include "raster/FontSystem.h"
#include "raster/GlyphMask.h"
#include "raster/RasterSoften.h"
#include "raster/RasterSysBitmap.h"
#include "raster/TextCodes.h"

#include <algorithm>

namespace {
constexpr int kLineFeed = 10;
constexpr int kCarriageReturn = 13;
constexpr int kMinimumScratch = 256;
// Growth steps of the glyph stores, in bytes.
constexpr std::size_t kRecordStep = 4096;
constexpr std::size_t kPixelStep = 65536;

constexpr std::uint32_t kAlignmentFlags = TextCentre | TextRight | TextVCentre | TextBottom;
// Flags that reshape glyphs, which the platform's own text drawing cannot do.
constexpr std::uint32_t kOwnPathFlags = FontRotate | FontRotateUp | FontAsciiOnly | FontBlur |
                                        FontInvert | FontMono | FontShadow | FontOutline;

template <typename T>
void ReserveInSteps(std::vector<T>& store, std::size_t extra, std::size_t step) {
  const std::size_t needed = (store.size() + extra) * sizeof(T);
  if (needed > store.capacity() * sizeof(T)) {
    store.reserve(((needed + step - 1) / step) * step / sizeof(T));
  }
}

// The pen of a walk over the text, in line coordinates: along the line and across the lines.
struct Pen {
  int along = 0;
  int across = 0;
};
} // namespace

RasterCachedFont::~RasterCachedFont() {
  if ((fontFlags & FontOwnsHandle) && gdiFont) {
    font_system::DeleteFont(gdiFont);
  }
}

void RasterCachedFont::UseGdiFont(RasterFontHandle font, std::uint32_t flags) {
  if ((fontFlags & FontOwnsHandle) && gdiFont && gdiFont != font) {
    font_system::DeleteFont(gdiFont);
  }
  fontFlags = flags;
  gdiFont = font;
  if (gdiFont) {
    font_system::PrepareGlyphScratch(kMinimumScratch);
    lineHeight = font_system::LineHeight(gdiFont);
  }
  std::fill(std::begin(asciiGlyphs), std::end(asciiGlyphs), RasterGlyph{});
  extraGlyphs.clear();
  glyphPixels.clear();
  if (fontFlags & FontAsciiOnly) {
    for (int code = 0; code < 128; ++code) {
      CacheGlyph(code);
    }
  }
}

std::uint32_t RasterCachedFont::SetInkColour(std::uint32_t colour) {
  std::swap(inkColour, colour);
  return colour;
}

std::uint32_t RasterCachedFont::SetPaperColour(std::uint32_t colour) {
  std::swap(paperColour, colour);
  return colour;
}

std::uint32_t RasterCachedFont::SetHaloColour(std::uint32_t colour) {
  std::swap(haloColour, colour);
  return colour;
}

int RasterCachedFont::SetPaperMode(int mode) {
  std::swap(paperMode, mode);
  return mode;
}

void RasterCachedFont::SetBlend(int mode, float alpha) {
  blendMode = mode;
  blendAlpha = alpha;
}

RasterGlyph* RasterCachedFont::FindGlyph(int code) {
  if (code >= 0 && code < 128) {
    return &asciiGlyphs[code];
  }
  const auto found =
      std::lower_bound(extraGlyphs.begin(), extraGlyphs.end(), code,
                       [](const RasterGlyph& glyph, int wanted) { return glyph.code < wanted; });
  return found != extraGlyphs.end() && found->code == code ? &*found : nullptr;
}

const RasterGlyph* RasterCachedFont::Glyph(int code) {
  RasterGlyph* glyph = FindGlyph(code);
  if (!glyph || glyph->position == 0) {
    if (!CacheGlyph(code)) {
      return nullptr;
    }
    glyph = FindGlyph(code);
  }
  return glyph;
}

bool RasterCachedFont::CacheGlyph(int code) {
  if (!gdiFont || code < 0) {
    return false;
  }
  RasterGlyph* glyph = FindGlyph(code);
  bool appended = false;
  if (!glyph) {
    if (fontFlags & FontAsciiOnly) {
      return false;
    }
    ReserveInSteps(extraGlyphs, 1, kRecordStep);
    extraGlyphs.push_back(RasterGlyph{});
    extraGlyphs.back().code = code;
    glyph = &extraGlyphs.back();
    appended = true;
  }
  font_system::PaintedGlyph painted;
  if (!font_system::PaintGlyph(gdiFont, code, lineHeight, &painted)) {
    if (appended) {
      extraGlyphs.pop_back();
    }
    return false;
  }
  if (painted.width <= 0 || painted.height <= 0) {
    *glyph = RasterGlyph{-1, 0, 0, 0, code};
  } else {
    RasterSysBitmap& scratch = RasterGlyphScratch();
    int width = std::min(painted.width, scratch.Width());
    int height = std::min(painted.height, scratch.Height());
    if (fontFlags & FontBlur) {
      RasterSoften(width, height);
    }
    std::vector<std::uint8_t> mask;
    if (scratch.PixelData()) {
      TakeGlyphMask(scratch.PixelData(), scratch.RowSpan(), width, height,
                    (fontFlags & FontInvert) != 0, mask);
    } else {
      width = height = 0;
    }
    FinishGlyphMask(mask, &width, &height, fontFlags);
    ReserveInSteps(glyphPixels, mask.size(), kPixelStep);
    glyph->position = static_cast<std::int32_t>(glyphPixels.size()) + 1;
    glyph->width = width;
    glyph->height = height;
    glyph->advance = painted.advance;
    glyph->code = code;
    glyphPixels.insert(glyphPixels.end(), mask.begin(), mask.end());
  }
  if (appended) {
    std::sort(extraGlyphs.begin(), extraGlyphs.end(),
              [](const RasterGlyph& a, const RasterGlyph& b) { return a.code < b.code; });
  }
  return true;
}

bool RasterCachedFont::RenderGlyph(RasterBitmap* bitmap, const RasterGlyph& glyph, int x, int y,
                                   const RasterRect& clip, float alpha) {
  if (glyph.position <= 0) {
    return false;
  }
  GlyphPaint paint;
  paint.inkColour = inkColour;
  paint.paperColour = paperColour;
  paint.haloColour = haloColour;
  paint.paperMode = paperMode;
  paint.blendMode = blendMode;
  paint.alpha = alpha;
  paint.fontFlags = fontFlags;
  return DrawGlyphMask(bitmap, glyphPixels.data() + (glyph.position - 1), glyph.width, glyph.height,
                       x, y, clip, paint);
}

bool RasterCachedFont::UsesPlatformPath(std::uint32_t format) const {
  return (fontFlags & FontNativeOk) && gdiFont && !(format & (TextNoNative | TextUseInkAlpha)) &&
         !(fontFlags & kOwnPathFlags) && (lineSpacing == 0 || (format & TextSingleLine)) &&
         font_system::NativeTextAllowed();
}

template <typename Visit>
void RasterCachedFont::WalkGlyphs(const char* text, int length, std::uint32_t format, Visit visit) {
  Pen pen;
  TextCodes codes(text, length);
  while (!codes.AtEnd()) {
    int code = codes.Next();
    if (code == kCarriageReturn) {
      continue;
    }
    if (code == kLineFeed) {
      if (!(format & TextSingleLine)) {
        pen.along = 0;
        pen.across += lineHeight + lineSpacing;
        continue;
      }
      code = ' ';
    }
    const RasterGlyph* glyph = Glyph(code);
    if (!glyph) {
      continue;
    }
    visit(*glyph, pen);
    pen.along += glyph->advance;
  }
}

void RasterCachedFont::Measure(const char* text, int length, std::uint32_t format, int* width,
                               int* height) {
  const bool rotated = (fontFlags & FontRotate) != 0;
  int longest = 0;
  int deepest = 0;
  WalkGlyphs(text, length, format, [&](const RasterGlyph& glyph, const Pen& pen) {
    longest = std::max(longest, pen.along + glyph.advance);
    if (glyph.position > 0) {
      deepest = std::max(deepest, pen.across + (rotated ? glyph.width : glyph.height));
    }
  });
  *width = rotated ? deepest : longest;
  *height = rotated ? longest : deepest;
}

int RasterCachedFont::RenderText(RasterBitmap* bitmap, const char* text, int length,
                                 RasterRect* rect, std::uint32_t format) {
  if (!rect || !text) {
    return 0;
  }
  if (!bitmap && !(format & TextCalcRect)) {
    return 0;
  }
  if (bitmap && UsesPlatformPath(format)) {
    font_system::NativeText style;
    style.font = gdiFont;
    style.inkColour = inkColour;
    style.paperColour = paperColour;
    style.paperMode = paperMode;
    style.blendAlpha = blendAlpha;
    return font_system::DrawNativeText(bitmap, text, length, rect, format, style);
  }
  if (format & TextCalcRect) {
    int width = 0;
    int height = 0;
    Measure(text, length, format, &width, &height);
    rect->right = rect->left + width;
    rect->bottom = rect->top + height;
    return (fontFlags & FontRotate) ? width : height;
  }
  return Draw(bitmap, text, length, *rect, format);
}

int RasterCachedFont::Draw(RasterBitmap* bitmap, const char* text, int length,
                           const RasterRect& rect, std::uint32_t format) {
  float alpha = blendAlpha;
  if (format & TextUseInkAlpha) {
    alpha = blendAlpha * (static_cast<float>(inkColour >> 24) / 255.0f);
  }
  if (!(alpha > 0.0f)) {
    return 0;
  }
  const bool rotated = (fontFlags & FontRotate) != 0;
  const bool upward = rotated && (fontFlags & FontRotateUp);
  int x = rect.left;
  int y = rect.top;
  int textWidth = 0;
  int textHeight = 0;
  bool measured = false;
  if (format & kAlignmentFlags) {
    Measure(text, length, format, &textWidth, &textHeight);
    measured = true;
    if (format & TextCentre) {
      x += (rect.right - rect.left - textWidth) / 2;
    } else if (format & TextRight) {
      x = rect.right - textWidth;
    }
    if (format & TextVCentre) {
      y += (rect.bottom - rect.top - textHeight) / 2;
    } else if (format & TextBottom) {
      y = rect.bottom - textHeight;
    }
  }
  if (upward) {
    if (!measured) {
      Measure(text, length, format, &textWidth, &textHeight);
    }
    y += textHeight;
  }
  RasterRect clip{0, 0, bitmap->Width(), bitmap->Height()};
  if (!(format & TextNoClip)) {
    clip.left = std::max(clip.left, rect.left);
    clip.top = std::max(clip.top, rect.top);
    clip.right = std::min(clip.right, rect.right);
    clip.bottom = std::min(clip.bottom, rect.bottom);
  }
  if (clip.right <= clip.left || clip.bottom <= clip.top) {
    return 0;
  }
  const int startX = x;
  const int startY = y;
  int reach = 0;
  WalkGlyphs(text, length, format, [&](const RasterGlyph& glyph, const Pen& pen) {
    if (!rotated) {
      const int gx = startX + pen.along;
      const int gy = startY + pen.across;
      if (RenderGlyph(bitmap, glyph, gx, gy, clip, alpha)) {
        reach = std::max(reach, gy + glyph.height - startY);
      }
      return;
    }
    const int gx = startX + pen.across;
    const int gy = upward ? startY - pen.along - glyph.height : startY + pen.along;
    if (RenderGlyph(bitmap, glyph, gx, gy, clip, alpha)) {
      reach = std::max(reach, gx + glyph.width - startX);
    }
  });
  return reach;
}
