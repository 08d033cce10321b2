// The conversions of processors without vector forms of their own: a static_cast per sample,
// which is what the x86 vector forms reproduce.
#include "plugin/SampleConversion.h"

void WidenSamples(const float* input, double* output, int frames) {
  for (int i = 0; i < frames; ++i) {
    output[i] = static_cast<double>(input[i]);
  }
}

void NarrowSamples(const double* input, float* output, int frames) {
  for (int i = 0; i < frames; ++i) {
    output[i] = static_cast<float>(input[i]);
  }
}

void AddNarrowedSamples(const double* input, float* output, int frames) {
  for (int i = 0; i < frames; ++i) {
    output[i] = output[i] + static_cast<float>(input[i]);
  }
}
