#include "raster/FontSystem.h"

// No platform fonts: text stays idle, so the renderer never gets a font to paint with.
namespace font_system {

RasterFontHandle CreateStyleFont(const ITextStyle&) {
  return nullptr;
}

void DeleteFont(RasterFontHandle) {}

void PrepareGlyphScratch(int) {}

int LineHeight(RasterFontHandle) {
  return 0;
}

bool PaintGlyph(RasterFontHandle, int, int, PaintedGlyph*) {
  return false;
}

bool NativeTextAllowed() {
  return false;
}

int DrawNativeText(RasterBitmap*, const char*, int, RasterRect*, std::uint32_t, const NativeText&) {
  return 0;
}

} // namespace font_system
