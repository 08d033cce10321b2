#pragma once

// Conversions between the host's single-precision buffers and the plug-in's double-precision
// ones; each sample converts exactly as a static_cast does. A vector at a time on x86
// (sample_conversion_x86.cpp), a sample at a time on other processors
// (sample_conversion_portable.cpp).
void WidenSamples(const float* input, double* output, int frames);
void NarrowSamples(const double* input, float* output, int frames);
// output[i] += the narrowed input[i], the sum formed in single precision.
void AddNarrowedSamples(const double* input, float* output, int frames);
