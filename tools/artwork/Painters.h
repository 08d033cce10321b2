// The nine pictures of the editor, each painted from scratch.
#pragma once

#include "tools/artwork/RgbaImage.h"
#include "tools/artwork/Typefaces.h"

namespace artwork {

RgbaImage PaintBackground(const Typefaces& fonts);
RgbaImage PaintPanel(const Typefaces& fonts);
RgbaImage PaintKnobBackground(const Typefaces& fonts);
// One 192 x 191 frame of the knob strip: the value arc and the pointer at value 0..1.
RgbaImage PaintKnobFrame(const Typefaces& fonts, double value);
RgbaImage PaintThemeImage(const Typefaces& fonts);
RgbaImage PaintThemeButton(const Typefaces& fonts);
RgbaImage PaintAboutPage(const Typefaces& fonts);
RgbaImage PaintCreditsPage(const Typefaces& fonts);
RgbaImage PaintGuidePage(const Typefaces& fonts);

} // namespace artwork
