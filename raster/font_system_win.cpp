#include "raster/FontSystem.h"

#include "raster/RasterSoften.h"
#include "raster/RasterSysBitmap.h"
#include "raster/TextCodes.h"
#include "raster/TextStyle.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace font_system {

namespace {
HDC Context(RasterBitmap& bitmap) {
  return static_cast<HDC>(bitmap.DeviceContext());
}

HFONT Font(RasterFontHandle font) {
  return static_cast<HFONT>(font);
}

// Windows 95-family systems have no wide-character text drawing.
bool IsNtFamily() {
  static const bool nt = (GetVersion() & 0x80000000u) == 0;
  return nt;
}

int Quality(int smoothing) {
  switch (smoothing) {
  case 0:
    return DEFAULT_QUALITY;
  case 2:
    return ANTIALIASED_QUALITY;
  case 3:
    return CLEARTYPE_QUALITY;
  default:
    return NONANTIALIASED_QUALITY;
  }
}

void ClearPixels(RasterBitmap& bitmap) {
  if (std::uint32_t* pixels = bitmap.PixelData()) {
    std::memset(pixels, 0,
                static_cast<std::size_t>(bitmap.RowSpan()) * bitmap.Height() * sizeof(*pixels));
  }
}

RECT ToRect(const RasterRect& r) {
  return RECT{r.left, r.top, r.right, r.bottom};
}

// The text as the platform draws it: wide characters when it holds multi-byte sequences.
class PlatformText {
public:
  PlatformText(const char* text, int length) : narrow(text) {
    const TextCodes codes(text, length);
    bytes = codes.Bytes();
    if (!IsNtFamily() || !codes.HasMultiByte()) {
      return;
    }
    const int needed = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, bytes, nullptr, 0);
    if (needed <= 0) {
      return;
    }
    wchar_t* target = local;
    if (needed >= 1000) {
      heap.resize(static_cast<std::size_t>(needed) + 1);
      target = heap.data();
    }
    wideLength = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, bytes, target, needed);
    wide = wideLength > 0 ? target : nullptr;
  }

  int Draw(HDC dc, RECT* rect, UINT format) const {
    if (wide) {
      return DrawTextW(dc, wide, wideLength, rect, format);
    }
    return DrawTextA(dc, narrow, bytes, rect, format);
  }

private:
  const char* narrow;
  int bytes = 0;
  wchar_t local[1024];
  std::vector<wchar_t> heap;
  const wchar_t* wide = nullptr;
  int wideLength = 0;
};

// Draws with the font and colours selected into dc, then puts the dc's font back.
int DrawWithStyle(HDC dc, const PlatformText& text, RECT* rect, UINT format,
                  const NativeText& style) {
  HGDIOBJ previous = SelectObject(dc, Font(style.font));
  SetTextColor(dc, RGB((style.inkColour >> 16) & 0xFF, (style.inkColour >> 8) & 0xFF,
                       style.inkColour & 0xFF));
  SetBkMode(dc, style.paperMode);
  if (style.paperMode == OPAQUE) {
    SetBkColor(dc, RGB((style.paperColour >> 16) & 0xFF, (style.paperColour >> 8) & 0xFF,
                       style.paperColour & 0xFF));
  }
  const int height = text.Draw(dc, rect, format | DT_NOPREFIX);
  SelectObject(dc, previous);
  GdiFlush();
  return height;
}

// Where bitmaps without a device context get their text drawn first.
RasterSysBitmap& TextScratch() {
  static RasterSysBitmap scratch(0, 0);
  return scratch;
}
} // namespace

RasterFontHandle CreateStyleFont(const ITextStyle& style) {
  char face[sizeof(style.face)];
  std::memcpy(face, style.face, sizeof(face));
  face[sizeof(face) - 1] = 0;
  const int escapement = style.angle * 10;
  return CreateFontA(style.size, 0, escapement, escapement,
                     style.emphasis == EmphasisBold ? FW_BOLD : FW_NORMAL,
                     style.emphasis == EmphasisItalic, FALSE, FALSE, 0, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, Quality(style.smoothing), 0, face);
}

void DeleteFont(RasterFontHandle font) {
  if (font) {
    DeleteObject(Font(font));
  }
}

void PrepareGlyphScratch(int size) {
  RasterSysBitmap& scratch = RasterGlyphScratch();
  if (scratch.Width() >= size && scratch.Height() >= size) {
    return;
  }
  scratch.SetSize(scratch.Width() > size ? scratch.Width() : size,
                  scratch.Height() > size ? scratch.Height() : size);
  if (HDC dc = Context(scratch)) {
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, RGB(0, 0, 0));
  }
}

int LineHeight(RasterFontHandle font) {
  HDC dc = Context(RasterGlyphScratch());
  if (!dc || !font) {
    return 0;
  }
  HGDIOBJ previous = SelectObject(dc, Font(font));
  TEXTMETRICA metrics{};
  const bool measured = GetTextMetricsA(dc, &metrics) != 0;
  SelectObject(dc, previous);
  return measured ? metrics.tmHeight : 0;
}

bool PaintGlyph(RasterFontHandle font, int code, int lineHeight, PaintedGlyph* painted) {
  if (code >= 128 && !IsNtFamily()) {
    return false;
  }
  PrepareGlyphScratch(lineHeight);
  RasterSysBitmap& scratch = RasterGlyphScratch();
  HDC dc = Context(scratch);
  if (!dc || !font) {
    return false;
  }
  const wchar_t wide = static_cast<wchar_t>(code);
  const char narrow = static_cast<char>(code);
  const auto draw = [&](RECT* rect, UINT format) {
    return IsNtFamily() ? DrawTextW(dc, &wide, 1, rect, format)
                        : DrawTextA(dc, &narrow, 1, rect, format);
  };
  HGDIOBJ previous = SelectObject(dc, Font(font));
  RECT measured{0, 0, 0, 0};
  draw(&measured, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
  *painted = PaintedGlyph{};
  if (measured.right > measured.left && measured.bottom > measured.top) {
    painted->advance = measured.right - measured.left;
    painted->height = measured.bottom - measured.top;
    // Capitals may reach past their advance; their cell takes two more pixels.
    painted->width = painted->advance + (code >= 'A' && code <= 'Z' ? 2 : 0);
    SelectObject(dc, previous);
    PrepareGlyphScratch(painted->width > painted->height ? painted->width : painted->height);
    ClearPixels(scratch);
    previous = SelectObject(dc, Font(font));
    RECT cell{0, 0, painted->width, painted->height};
    draw(&cell, DT_NOPREFIX | DT_SINGLELINE);
    GdiFlush();
  }
  SelectObject(dc, previous);
  return true;
}

bool NativeTextAllowed() {
  static const bool allowed = [] {
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, "Software\\Wine", &key) == ERROR_SUCCESS) {
      RegCloseKey(key);
      return false;
    }
    return true;
  }();
  return allowed;
}

int DrawNativeText(RasterBitmap* bitmap, const char* text, int length, RasterRect* rect,
                   std::uint32_t format, const NativeText& style) {
  const PlatformText platformText(text, length);
  const UINT flags = format & 0xFFFFu;
  if (HDC dc = Context(*bitmap)) {
    RECT r = ToRect(*rect);
    const int height = DrawWithStyle(dc, platformText, &r, flags, style);
    if (flags & DT_CALCRECT) {
      *rect = RasterRect{r.left, r.top, r.right, r.bottom};
    }
    return height;
  }
  RasterSysBitmap& scratch = TextScratch();
  HDC scratchDc = Context(scratch);
  if (!scratchDc) {
    return 0;
  }
  RECT measured{0, 0, rect->right - rect->left, rect->bottom - rect->top};
  const UINT alignment = DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM;
  const int height =
      DrawWithStyle(scratchDc, platformText, &measured, (flags & ~alignment) | DT_CALCRECT, style);
  const int w = measured.right - measured.left;
  const int h = measured.bottom - measured.top;
  if (flags & DT_CALCRECT) {
    rect->right = rect->left + w;
    rect->bottom = rect->top + h;
    return height;
  }
  int x = rect->left;
  int y = rect->top;
  if (!(flags & DT_NOCLIP)) {
    const int slackX = rect->right - rect->left - w;
    const int slackY = rect->bottom - rect->top - h;
    if (slackX > 0) {
      x += (flags & DT_RIGHT) ? slackX : ((flags & DT_CENTER) ? slackX / 2 : 0);
    }
    if (slackY > 0) {
      y += (flags & DT_BOTTOM) ? slackY : ((flags & DT_VCENTER) ? slackY / 2 : 0);
    }
  }
  if (w <= 0 || h <= 0) {
    return height;
  }
  if (scratch.Width() < w || scratch.Height() < h) {
    scratch.SetSize(scratch.Width() > w ? scratch.Width() : w,
                    scratch.Height() > h ? scratch.Height() : h);
  }
  const RasterRect area{x, y, x + w, y + h};
  RasterCopyArea(&scratch, bitmap, 0, 0, &area, 1.0f, RASTER_OP_COPY);
  RECT cell{0, 0, w, h};
  DrawWithStyle(scratchDc, platformText, &cell, flags & ~alignment, style);
  const RasterRect drawn{0, 0, w, h};
  RasterCopyArea(bitmap, &scratch, x, y, &drawn, style.blendAlpha, RASTER_OP_COPY);
  return height;
}

} // namespace font_system
