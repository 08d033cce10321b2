#pragma once

#include <vector>

// The clipper over a run of samples: output[i] = ClipSample(input[i], clipLevel) for every i,
// and the largest output magnitude, starting from peak. The vector forms give bit for bit the
// results of the sample-by-sample loop; input and output may be the same buffer. Single-precision
// runs are widened, clipped and narrowed sample by sample in one pass, with the peak taken before
// narrowing: exactly what clipping the widened samples and narrowing the results gives.
double ClipSamples(const double* input, double* output, int frames, double clipLevel, double peak);
double ClipSamples(const float* input, float* output, int frames, double clipLevel, double peak);

// The sample-by-sample loops: what ClipSamples runs on processors without vector forms of their
// own (clip_kernel_portable.cpp), and what every vector form is checked against.
double ClipSamplesPlain(const double* input, double* output, int frames, double clipLevel,
                        double peak);
double ClipSamplesPlain(const float* input, float* output, int frames, double clipLevel,
                        double peak);

template <typename Sample>
using ClipKernelOf = double (*)(const Sample* input, Sample* output, int frames, double clipLevel,
                                double peak);
using ClipKernel = ClipKernelOf<double>;
template <typename Sample> struct ClipKernelFormOf {
  const char* name;
  ClipKernelOf<Sample> kernel;
};
using ClipKernelForm = ClipKernelFormOf<double>;
// The vector forms ClipSamples chooses from that this processor runs, narrowest first, for tests
// and benchmarks. On x86 one SSE2 register at a time ("sse2", every x86 processor the plug-in
// runs on) and two AVX2 registers at a time ("avx2", processors with AVX2, chosen at run time;
// see ProcessorHasAvx2), in clip_kernel_x86.cpp; none on other processors.
std::vector<ClipKernelForm> ClipSamplesVectorForms();
std::vector<ClipKernelFormOf<float>> ClipFloatSamplesVectorForms();
