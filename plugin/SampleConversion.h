#pragma once

// Conversions between the host's single-precision buffers and the plug-in's double-precision
// ones, a vector at a time; each sample converts exactly as a static_cast does.
void WidenSamples(const float* input, double* output, int frames);
void NarrowSamples(const double* input, float* output, int frames);
// output[i] += the narrowed input[i], the sum formed in single precision.
void AddNarrowedSamples(const double* input, float* output, int frames);
