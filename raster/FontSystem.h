#pragma once

#include "raster/RasterBitmap.h"
#include "raster/RasterBlit.h"
#include "raster/RasterFont.h"

struct ITextStyle;

// The platform's text renderer behind the cached fonts: GDI on Windows. Where the platform has
// no fonts (Linux) no font can be made, so none of the other calls is ever reached with a font.
namespace font_system {

// A new platform font for the style, or none.
RasterFontHandle CreateStyleFont(const ITextStyle& style);
void DeleteFont(RasterFontHandle font);

// Makes the glyph scratch bitmap at least size x size (white text on black, opaque).
void PrepareGlyphScratch(int size);
// The font's line height (its text-metric height).
int LineHeight(RasterFontHandle font);

struct PaintedGlyph {
  int width = 0; // of the painted cell: the advance, plus 2 for the capitals A-Z
  int height = 0;
  int advance = 0; // the measured width
};
// Clears the glyph scratch bitmap and paints one character at (0, 0), white on black. False when
// the character cannot be painted (codes from 128 up on systems without wide-character text).
bool PaintGlyph(RasterFontHandle font, int code, int lineHeight, PaintedGlyph* painted);

// True when plain text may be handed to the platform's own text drawing: not under Wine, whose
// text drawing differs (checked once).
bool NativeTextAllowed();

struct NativeText {
  RasterFontHandle font = nullptr;
  std::uint32_t inkColour = 0;
  std::uint32_t paperColour = 0;
  int paperMode = 1;
  float blendAlpha = 1.0f;
};
// Draws or measures (TextCalcRect) text with the platform's own text drawing; returns the height.
int DrawNativeText(RasterBitmap* bitmap, const char* text, int length, RasterRect* rect,
                   std::uint32_t format, const NativeText& style);

} // namespace font_system
