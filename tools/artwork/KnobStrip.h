// The knob film strip: 480 frames stacked at the rows the knob control reads them from.
#pragma once

#include "tools/artwork/RgbaImage.h"
#include "tools/artwork/Typefaces.h"

#include <vector>

namespace artwork {

// First source row of frame k (1-based) in a strip of `frames` frames and `height` rows: the
// nearest row to height x (k - 1) / frames, rounded as the knob control rounds it.
int FrameStartRow(int frame, int frames, int height);

// The rows where segments of framesPerSegment frames begin in the strip at a pixel scale:
// frame 1's row 0, then every framesPerSegment-th frame's first row.
std::vector<int> KnobSegmentRows(int framesPerSegment, int pixelScale);

// Frame k (1-based) shows the value (k - 1) / (frames - 1); rows between frames stay clear. At
// pixel scale 2 the strip is twice as wide and tall, its frames placed by the same rounding.
RgbaImage PaintKnobStrip(const Typefaces& fonts, int pixelScale);

} // namespace artwork
