// The nine pictures of the editor, each painted from scratch at a pixel scale of 1 (what the
// editor shows at 100%) or 2 (the same design at twice the resolution).
#pragma once

#include "tools/artwork/RgbaImage.h"
#include "tools/artwork/Typefaces.h"

namespace artwork {

RgbaImage PaintBackground(const Typefaces& fonts, int pixelScale);
RgbaImage PaintPanel(const Typefaces& fonts, int pixelScale);
RgbaImage PaintKnobBackground(const Typefaces& fonts, int pixelScale);
// One 192 x 191 frame (times the pixel scale) of the knob strip: the value arc and the pointer at
// value 0..1.
RgbaImage PaintKnobFrame(const Typefaces& fonts, double value, int pixelScale);
RgbaImage PaintThemeImage(const Typefaces& fonts, int pixelScale);
RgbaImage PaintThemeButton(const Typefaces& fonts, int pixelScale);
RgbaImage PaintAboutPage(const Typefaces& fonts, int pixelScale);
RgbaImage PaintCreditsPage(const Typefaces& fonts, int pixelScale);
RgbaImage PaintGuidePage(const Typefaces& fonts, int pixelScale);

} // namespace artwork
