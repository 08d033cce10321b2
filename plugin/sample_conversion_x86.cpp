// The x86 conversions: SSE2 on every x86 processor, AVX2 where the processor has it.
#include "plugin/SampleConversion.h"

#include "platform/CpuFeatures.h"

#include <immintrin.h>

namespace {
__attribute__((target("avx2"))) void WidenAvx2(const float* input, double* output, int frames) {
  int i = 0;
  for (; i + 8 <= frames; i += 8) {
    _mm256_storeu_pd(output + i, _mm256_cvtps_pd(_mm_loadu_ps(input + i)));
    _mm256_storeu_pd(output + i + 4, _mm256_cvtps_pd(_mm_loadu_ps(input + i + 4)));
  }
  for (; i < frames; ++i) {
    output[i] = input[i];
  }
}

__attribute__((target("sse2"))) void WidenSse2(const float* input, double* output, int frames) {
  int i = 0;
  for (; i + 4 <= frames; i += 4) {
    const __m128 four = _mm_loadu_ps(input + i);
    _mm_storeu_pd(output + i, _mm_cvtps_pd(four));
    _mm_storeu_pd(output + i + 2, _mm_cvtps_pd(_mm_movehl_ps(four, four)));
  }
  for (; i < frames; ++i) {
    output[i] = input[i];
  }
}

template <bool add>
__attribute__((target("avx2"))) void NarrowAvx2(const double* input, float* output, int frames) {
  int i = 0;
  for (; i + 8 <= frames; i += 8) {
    __m128 low = _mm256_cvtpd_ps(_mm256_loadu_pd(input + i));
    __m128 high = _mm256_cvtpd_ps(_mm256_loadu_pd(input + i + 4));
    if (add) {
      low = _mm_add_ps(_mm_loadu_ps(output + i), low);
      high = _mm_add_ps(_mm_loadu_ps(output + i + 4), high);
    }
    _mm_storeu_ps(output + i, low);
    _mm_storeu_ps(output + i + 4, high);
  }
  for (; i < frames; ++i) {
    output[i] = add ? output[i] + static_cast<float>(input[i]) : static_cast<float>(input[i]);
  }
}

template <bool add>
__attribute__((target("sse2"))) void NarrowSse2(const double* input, float* output, int frames) {
  int i = 0;
  for (; i + 4 <= frames; i += 4) {
    __m128 four = _mm_movelh_ps(_mm_cvtpd_ps(_mm_loadu_pd(input + i)),
                                _mm_cvtpd_ps(_mm_loadu_pd(input + i + 2)));
    if (add) {
      four = _mm_add_ps(_mm_loadu_ps(output + i), four);
    }
    _mm_storeu_ps(output + i, four);
  }
  for (; i < frames; ++i) {
    output[i] = add ? output[i] + static_cast<float>(input[i]) : static_cast<float>(input[i]);
  }
}
} // namespace

void WidenSamples(const float* input, double* output, int frames) {
  if (ProcessorHasAvx2()) {
    WidenAvx2(input, output, frames);
  } else {
    WidenSse2(input, output, frames);
  }
}

void NarrowSamples(const double* input, float* output, int frames) {
  if (ProcessorHasAvx2()) {
    NarrowAvx2<false>(input, output, frames);
  } else {
    NarrowSse2<false>(input, output, frames);
  }
}

void AddNarrowedSamples(const double* input, float* output, int frames) {
  if (ProcessorHasAvx2()) {
    NarrowAvx2<true>(input, output, frames);
  } else {
    NarrowSse2<true>(input, output, frames);
  }
}
