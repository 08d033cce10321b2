// Processors without vector forms of their own run the sample-by-sample loop.
#include "effect/ClipKernel.h"

double ClipSamples(const double* input, double* output, int frames, double clipLevel, double peak) {
  return ClipSamplesPlain(input, output, frames, clipLevel, peak);
}

double ClipSamples(const float* input, float* output, int frames, double clipLevel, double peak) {
  return ClipSamplesPlain(input, output, frames, clipLevel, peak);
}

std::vector<ClipKernelForm> ClipSamplesVectorForms() {
  return {};
}

std::vector<ClipKernelFormOf<float>> ClipFloatSamplesVectorForms() {
  return {};
}
