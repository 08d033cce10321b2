#pragma once

// The least the clipper can cost: its arithmetic written by hand with AVX2 (clamp, NaN to zero,
// divide, store, running peak), over doubles and over floats widened, clipped and narrowed in
// one pass. What the effect's processing is measured against.
double ClipFloorDouble(const double* input, double* output, int frames, double clipLevel,
                       double peak);
double ClipFloorFloat(const float* input, float* output, int frames, double clipLevel, double peak);
