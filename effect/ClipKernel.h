#pragma once

#include <vector>

// The clipper over a run of samples: output[i] = ClipSample(input[i], clipLevel) for every i,
// and the largest output magnitude, starting from peak. The vector forms give bit for bit the
// results of the sample-by-sample loop; input and output may be the same buffer.
double ClipSamples(const double* input, double* output, int frames, double clipLevel, double peak);

// The sample-by-sample loop: what ClipSamples runs on processors without vector forms of their
// own (clip_kernel_portable.cpp), and what every vector form is checked against.
double ClipSamplesPlain(const double* input, double* output, int frames, double clipLevel,
                        double peak);

using ClipKernel = double (*)(const double* input, double* output, int frames, double clipLevel,
                              double peak);
struct ClipKernelForm {
  const char* name;
  ClipKernel kernel;
};
// The vector forms ClipSamples chooses from that this processor runs, narrowest first, for tests
// and benchmarks. On x86 two samples at a time ("sse2", every x86 processor the plug-in runs on)
// and four at a time ("avx2", processors with AVX2, chosen at run time; see ProcessorHasAvx2),
// in clip_kernel_x86.cpp; none on other processors.
std::vector<ClipKernelForm> ClipSamplesVectorForms();
