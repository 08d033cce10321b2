// The sample-by-sample clipper, the same on every processor.
#include "effect/ClipKernel.h"

#include "effect/SignalMath.h"

#include <algorithm>
#include <cmath>

double ClipSamplesPlain(const double* input, double* output, int frames, double clipLevel,
                        double peak) {
  for (int i = 0; i < frames; ++i) {
    const double y = ClipSample(input[i], clipLevel);
    output[i] = y;
    peak = std::max(peak, std::fabs(y));
  }
  return peak;
}
