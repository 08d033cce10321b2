#include "raster/GlyphMask.h"

#include "raster/RasterCombine.h"
#include "raster/RasterFont.h"

#include <cstddef>

using namespace raster_combine;

namespace {
constexpr std::uint8_t kFull = 255;
constexpr std::uint8_t kHalo = 128;
constexpr int kMonoThreshold = 130;

std::size_t At(int x, int y, int width) {
  return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
         static_cast<std::size_t>(x);
}

void Rotate(std::vector<std::uint8_t>& mask, int* width, int* height, bool up) {
  const int w = *width;
  const int h = *height;
  std::vector<std::uint8_t> turned(mask.size());
  // The turned mask is h pixels wide and w high.
  for (int r = 0; r < w; ++r) {
    for (int c = 0; c < h; ++c) {
      turned[At(c, r, h)] = up ? mask[At(w - 1 - r, c, w)] : mask[At(r, h - 1 - c, w)];
    }
  }
  mask.swap(turned);
  *width = h;
  *height = w;
}

void Threshold(std::vector<std::uint8_t>& mask) {
  for (std::uint8_t& value : mask) {
    value = value > kMonoThreshold ? kFull : 0;
  }
}

bool IsFull(const std::vector<std::uint8_t>& mask, int x, int y, int width, int height) {
  return x >= 0 && y >= 0 && x < width && y < height && mask[At(x, y, width)] == kFull;
}

// Marks in place, row by row from the top: marked pixels hold 128, never 255, so the marking
// does not feed itself.
void MarkHalo(std::vector<std::uint8_t>& mask, int width, int height, bool shadow) {
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (mask[At(x, y, width)] != 0) {
        continue;
      }
      const bool touches = shadow ? IsFull(mask, x - 1, y, width, height) ||
                                        IsFull(mask, x - 1, y - 1, width, height) ||
                                        IsFull(mask, x, y - 1, width, height)
                                  : IsFull(mask, x, y - 1, width, height) ||
                                        IsFull(mask, x, y + 1, width, height) ||
                                        IsFull(mask, x - 1, y, width, height) ||
                                        IsFull(mask, x + 1, y, width, height);
      if (touches) {
        mask[At(x, y, width)] = kHalo;
      }
    }
  }
}

// The combiner of a blend mode with the ink as source at weight w; copy is the plain blend.
std::uint32_t Combine(int mode, std::uint32_t ink, std::uint32_t d, int w) {
  switch (mode) {
  case RASTER_OP_COPY:
    return Blend(ink, d, w);
  case RASTER_OP_ADD:
    return Add(ink, d, w);
  case RASTER_OP_DODGE:
    return Dodge(ink, d, w);
  case RASTER_OP_MULTIPLY:
    return Multiply(ink, d, w);
  case RASTER_OP_OVERLAY:
    return Overlay(ink, d, w);
  case RASTER_OP_HSV:
    return HsvAdjust(ink, d, w);
  default:
    return d;
  }
}

// Antialiased coverage: copy and multiply have the text renderer's own arithmetic; the other
// modes use the pixel combiners with an opaque ink.
std::uint32_t CombineCoverage(int mode, std::uint32_t ink, std::uint32_t d, int weight) {
  if (mode == RASTER_OP_COPY) {
    const auto channel = [weight](int s, int dc) { return s + (dc - s) * (256 - weight) / 256; };
    const int alpha = (Byte(d, 24) - 255) * (256 - weight) / 256 - 1;
    return Place(channel(Byte(ink, 0), Byte(d, 0)), 0) |
           Place(channel(Byte(ink, 8), Byte(d, 8)), 8) |
           Place(channel(Byte(ink, 16), Byte(d, 16)), 16) | Place(alpha, 24);
  }
  if (mode == RASTER_OP_MULTIPLY) {
    const auto channel = [weight](int s, int dc) {
      return dc * (s * weight + (256 - weight) * 256) / 65536;
    };
    const int alpha = Byte(d, 24) * (65536 - weight) / 65536;
    return Place(channel(Byte(ink, 0), Byte(d, 0)), 0) |
           Place(channel(Byte(ink, 8), Byte(d, 8)), 8) |
           Place(channel(Byte(ink, 16), Byte(d, 16)), 16) | Place(alpha, 24);
  }
  return Combine(mode, ink | 0xFF000000u, d, weight);
}
} // namespace

void TakeGlyphMask(const std::uint32_t* pixels, int rowSpan, int width, int height, bool invert,
                   std::vector<std::uint8_t>& mask) {
  mask.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    const std::uint32_t* row = pixels + static_cast<std::ptrdiff_t>(y) * rowSpan;
    for (int x = 0; x < width; ++x) {
      const std::uint8_t coverage = static_cast<std::uint8_t>(Byte(row[x], 16));
      mask[At(x, y, width)] = invert ? static_cast<std::uint8_t>(255 - coverage) : coverage;
    }
  }
}

void FinishGlyphMask(std::vector<std::uint8_t>& mask, int* width, int* height,
                     std::uint32_t fontFlags) {
  if (fontFlags & FontRotate) {
    Rotate(mask, width, height, (fontFlags & FontRotateUp) != 0);
  }
  if (fontFlags & (FontMono | FontShadow | FontOutline)) {
    Threshold(mask);
  }
  if (fontFlags & (FontShadow | FontOutline)) {
    MarkHalo(mask, *width, *height, (fontFlags & FontShadow) != 0);
  }
}

bool DrawGlyphMask(RasterBitmap* bitmap, const std::uint8_t* mask, int width, int height, int x,
                   int y, const RasterRect& clip, const GlyphPaint& paint) {
  if (!bitmap || !mask || width <= 0 || height <= 0) {
    return false;
  }
  const long long right = static_cast<long long>(x) + width;
  const long long bottom = static_cast<long long>(y) + height;
  if (x >= clip.right || y >= clip.bottom || right <= clip.left || bottom <= clip.top) {
    return false;
  }
  const int skipX = x < clip.left ? clip.left - x : 0;
  const int skipY = y < clip.top ? clip.top - y : 0;
  const int columns = static_cast<int>((right < clip.right ? right : clip.right) - x) - skipX;
  const int rows = static_cast<int>((bottom < clip.bottom ? bottom : clip.bottom) - y) - skipY;
  std::uint32_t* pixels = bitmap->PixelData();
  const int span = bitmap->RowSpan();
  if (!pixels || columns <= 0 || rows <= 0) {
    return true;
  }
  const int left = x + skipX;
  const int top = y + skipY;
  const int mode = paint.blendMode & 0xFF;
  if (paint.paperMode == PaperOpaque) {
    RasterFillArea(bitmap, left, top, columns, rows, paint.paperColour, paint.alpha,
                   paint.blendMode & ~RASTER_OP_SRC_ALPHA);
  }
  int a = ScaledWeight(paint.alpha);
  a = a > 256 ? 256 : a;
  if (a <= 0) {
    return true;
  }
  const bool twoLevel = (paint.fontFlags & (FontMono | FontShadow | FontOutline)) != 0;
  const bool exactInk = paint.alpha == 1.0f && mode == RASTER_OP_COPY;
  const bool bottomUp = bitmap->IsBottomUp();
  for (int r = 0; r < rows; ++r) {
    const int storedRow = bottomUp ? bitmap->Height() - 1 - (top + r) : top + r;
    std::uint32_t* d = pixels + static_cast<std::ptrdiff_t>(storedRow) * span + left;
    const std::uint8_t* m = mask + At(skipX, skipY + r, width);
    for (int c = 0; c < columns; ++c) {
      const int v = m[c];
      if (v == 0) {
        continue;
      }
      if (twoLevel) {
        const std::uint32_t ink = v == kFull ? paint.inkColour : paint.haloColour;
        d[c] = exactInk ? ink : Combine(mode, ink, d[c], a);
        continue;
      }
      int weight = a == 256 ? v + 1 : a * v / 256;
      weight = weight > 256 ? 256 : weight;
      d[c] = CombineCoverage(mode, paint.inkColour, d[c], weight);
    }
  }
  return true;
}
