#include "bench/ClipBaseline.h"

#include <cmath>

// Written out here rather than taken from the effect, so that nothing of this file's target
// instruction set leaks into code the rest of the program shares.
#define CONCAT(name, suffix) name##suffix
#define NAME(name, suffix) CONCAT(name, suffix)

double NAME(ClipLoop, OMBRIX_BASELINE_SUFFIX)(const double* input, double* output, int frames,
                                              double clipLevel, double peak) {
  // GCC keeps a running maximum in order unless told the order does not matter (it does not:
  // the magnitudes are never NaN); without this the loop is not vectorised at all.
#pragma omp simd reduction(max : peak)
  for (int i = 0; i < frames; ++i) {
    const double x = input[i];
    double y;
    if (x >= 0.0) {
      y = x > clipLevel ? clipLevel : x;
    } else if (x < 0.0) {
      y = x < -clipLevel ? -clipLevel : x;
    } else {
      y = 0.0;
    }
    y /= clipLevel;
    output[i] = y;
    const double magnitude = std::fabs(y);
    peak = peak < magnitude ? magnitude : peak;
  }
  return peak;
}

void NAME(WidenLoop, OMBRIX_BASELINE_SUFFIX)(const float* input, double* output, int frames) {
  for (int i = 0; i < frames; ++i) {
    output[i] = input[i];
  }
}

void NAME(NarrowLoop, OMBRIX_BASELINE_SUFFIX)(const double* input, float* output, int frames) {
  for (int i = 0; i < frames; ++i) {
    output[i] = static_cast<float>(input[i]);
  }
}
