// Marks shared by several pictures, so the editor and its pages speak one visual language.
#pragma once

#include "tools/artwork/Canvas.h"

namespace artwork {

// The name, the links and the hot-spot marks of the editor. Drawn on the background and again
// on the panel, so they stay crisp above the meter stripes that rise between the two.
void DrawEditorLegends(Canvas& canvas);
// The product name as a wordmark; (x, baseline) is its left end.
void DrawWordmark(Canvas& canvas, double x, double baseline, double size);
// Five-pointed star outline (credits).
void DrawStar(Canvas& canvas, double cx, double cy, double radius, const Colour& colour);
// Question mark in a ring (how to use).
void DrawHelpMark(Canvas& canvas, double cx, double cy, double radius, const Colour& colour);
// Filled heart (donations).
void DrawHeart(Canvas& canvas, double cx, double cy, double size, const Colour& colour);
// At sign centred on (cx, cy) (social profile).
void DrawAtSign(Canvas& canvas, double cx, double cy, double size, const Colour& colour);
// Globe (web address).
void DrawGlobe(Canvas& canvas, double cx, double cy, double radius, const Colour& colour);
// Small arrow pointing up and right (leaves the editor for a web page).
void DrawOutArrow(Canvas& canvas, double x, double y, double size, const Colour& colour);
// Round close button with a cross.
void DrawCloseButton(Canvas& canvas, double cx, double cy, double radius);
// Pill-shaped switch; thumb right and accent track when on.
void DrawToggle(Canvas& canvas, double x, double y, double w, double h, bool on);
// Miniature of the distortion knob at a value 0..1.
void DrawMiniKnob(Canvas& canvas, double cx, double cy, double radius, double value);
// Five-pin MIDI socket.
void DrawMidiSocket(Canvas& canvas, double cx, double cy, double radius);
// Six short bars in the meter stripe colours; heights 0..1 of maxHeight.
void DrawStripeBars(Canvas& canvas, double x, double baseline, double barWidth, double gap,
                    double maxHeight, const double heights[6], double alpha);

} // namespace artwork
