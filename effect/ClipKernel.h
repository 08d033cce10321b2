#pragma once

// The clipper over a run of samples: output[i] = ClipSample(input[i], clipLevel) for every i,
// and the largest output magnitude, starting from peak. The vector forms give bit for bit the
// results of the sample-by-sample loop; input and output may be the same buffer.
double ClipSamples(const double* input, double* output, int frames, double clipLevel, double peak);

// The forms ClipSamples chooses from, for tests and benchmarks: the sample-by-sample loop, two
// samples at a time (every x86 processor the plug-in runs on) and four at a time (processors
// with AVX2, chosen at run time; see ProcessorHasAvx2).
double ClipSamplesPlain(const double* input, double* output, int frames, double clipLevel,
                        double peak);
double ClipSamplesSse2(const double* input, double* output, int frames, double clipLevel,
                       double peak);
double ClipSamplesAvx2(const double* input, double* output, int frames, double clipLevel,
                       double peak);
