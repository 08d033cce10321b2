#pragma once

// The plain exact clipper loop (clamp, divide, running peak) and the conversions around it, as
// an optimising compiler makes them on its own: the yardstick of the processing benchmarks.
// clip_baseline.cpp is compiled twice, for x86-64-v2 (SSE4.2) and for x86-64-v3 (AVX2).
#define OMBRIX_CLIP_BASELINE(suffix)                                                               \
  double ClipLoop##suffix(const double* input, double* output, int frames, double clipLevel,       \
                          double peak);                                                            \
  void WidenLoop##suffix(const float* input, double* output, int frames);                          \
  void NarrowLoop##suffix(const double* input, float* output, int frames);

OMBRIX_CLIP_BASELINE(V2)
OMBRIX_CLIP_BASELINE(V3)
