// The sample-by-sample clipper, the same on every processor.
#include "effect/ClipKernel.h"

#include "effect/SignalMath.h"

#include <algorithm>
#include <cmath>

namespace {
template <typename Sample>
double ClipEach(const Sample* input, Sample* output, int frames, double clipLevel, double peak) {
  for (int i = 0; i < frames; ++i) {
    const double y = ClipSample(static_cast<double>(input[i]), clipLevel);
    output[i] = static_cast<Sample>(y);
    peak = std::max(peak, std::fabs(y));
  }
  return peak;
}
} // namespace

double ClipSamplesPlain(const double* input, double* output, int frames, double clipLevel,
                        double peak) {
  return ClipEach(input, output, frames, clipLevel, peak);
}

double ClipSamplesPlain(const float* input, float* output, int frames, double clipLevel,
                        double peak) {
  return ClipEach(input, output, frames, clipLevel, peak);
}
