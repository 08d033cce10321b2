// Stacks the pictures the way the editor draws its controls, for looking at the result.
#pragma once

#include "tools/artwork/ArtworkSet.h"

namespace artwork {

struct EditorState {
  double knobValue = 0.0;
  double levels[6][2] = {}; // left and right level of each stripe, 0..1
  double themeValue = 0.0;  // the theme image's frame: 0 first, 1 second
  double buttonValue = 1.0; // the theme button: 0 off, 1 on
  int page = 0;             // 0 none, 1..3 the click-on pictures
};

RgbaImage ComposeEditor(const Artwork& artwork, const EditorState& state);

// Cuts out (x, y, w, h) and enlarges it `zoom` times, pixel for pixel, for a close look.
RgbaImage Magnify(const RgbaImage& image, int x, int y, int w, int h, int zoom);

// A grid of knob frames, each over the knob background, to inspect single frames.
RgbaImage ComposeKnobSheet(const Artwork& artwork, const int* frames, int count);

} // namespace artwork
