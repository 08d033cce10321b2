// The x86 vector forms of the clipper, and the choice between them.
#include "effect/ClipKernel.h"

#include "platform/CpuFeatures.h"

#include <immintrin.h>

#include <cstdint>

// The vector forms compute ClipSample as min(max(x, -T), T) with NaN masked to 0 and then the
// same division. For a positive level that is the same value for every input, signed zeros
// included; other levels, and buffers that overlap without being the same, take the plain loop.

namespace {
// Output running ahead of or behind input inside the same memory: each sample's result would
// feed a later sample's input, which only the sample-by-sample loop reproduces.
template <typename Sample>
bool OverlapsApart(const Sample* input, const Sample* output, int frames) {
  const auto in = reinterpret_cast<std::uintptr_t>(input);
  const auto out = reinterpret_cast<std::uintptr_t>(output);
  const std::uintptr_t bytes = static_cast<std::uintptr_t>(frames) * sizeof(Sample);
  return in != out && in < out + bytes && out < in + bytes;
}

template <typename Sample>
bool VectorFormApplies(const Sample* input, const Sample* output, int frames, double clipLevel) {
  return clipLevel > 0.0 && !OverlapsApart(input, output, frames);
}

__attribute__((target("sse2"))) inline __m128d ClipTwo(__m128d x, __m128d level,
                                                       __m128d negativeLevel) {
  const __m128d clipped = _mm_min_pd(_mm_max_pd(x, negativeLevel), level);
  return _mm_div_pd(_mm_and_pd(_mm_cmpord_pd(x, x), clipped), level);
}

__attribute__((target("avx2"))) inline __m256d ClipFour(__m256d x, __m256d level,
                                                        __m256d negativeLevel) {
  const __m256d clipped = _mm256_min_pd(_mm256_max_pd(x, negativeLevel), level);
  return _mm256_div_pd(_mm256_and_pd(_mm256_cmp_pd(x, x, _CMP_ORD_Q), clipped), level);
}

__attribute__((target("sse2"))) inline double LargestOfTwo(__m128d peaks) {
  return _mm_cvtsd_f64(_mm_max_sd(peaks, _mm_unpackhi_pd(peaks, peaks)));
}

// The samples from `from` on, one at a time.
template <typename Sample>
inline double ClipTail(const Sample* input, Sample* output, int from, int frames, double clipLevel,
                       double peak) {
  if (from >= frames) {
    return peak;
  }
  return ClipSamplesPlain(input + from, output + from, frames - from, clipLevel, peak);
}

// Two samples at a time: every x86 processor the plug-in runs on.
__attribute__((target("sse2"))) double ClipSamplesSse2(const double* input, double* output,
                                                       int frames, double clipLevel, double peak) {
  if (!VectorFormApplies(input, output, frames, clipLevel)) {
    return ClipSamplesPlain(input, output, frames, clipLevel, peak);
  }
  const __m128d level = _mm_set1_pd(clipLevel);
  const __m128d negativeLevel = _mm_set1_pd(-clipLevel);
  const __m128d magnitude = _mm_castsi128_pd(_mm_set1_epi64x(INT64_MAX));
  // Magnitudes are never NaN, so the order in which maxima are taken does not matter.
  __m128d peaks = _mm_set1_pd(peak);
  int i = 0;
  for (; i + 4 <= frames; i += 4) {
    const __m128d a = ClipTwo(_mm_loadu_pd(input + i), level, negativeLevel);
    const __m128d b = ClipTwo(_mm_loadu_pd(input + i + 2), level, negativeLevel);
    _mm_storeu_pd(output + i, a);
    _mm_storeu_pd(output + i + 2, b);
    peaks = _mm_max_pd(_mm_max_pd(_mm_and_pd(a, magnitude), _mm_and_pd(b, magnitude)), peaks);
  }
  if (i + 2 <= frames) {
    const __m128d a = ClipTwo(_mm_loadu_pd(input + i), level, negativeLevel);
    _mm_storeu_pd(output + i, a);
    peaks = _mm_max_pd(_mm_and_pd(a, magnitude), peaks);
    i += 2;
  }
  return ClipTail(input, output, i, frames, clipLevel, LargestOfTwo(peaks));
}

// Four at a time: processors with AVX2, chosen at run time.
__attribute__((target("avx2"))) double ClipSamplesAvx2(const double* input, double* output,
                                                       int frames, double clipLevel, double peak) {
  if (!VectorFormApplies(input, output, frames, clipLevel)) {
    return ClipSamplesPlain(input, output, frames, clipLevel, peak);
  }
  const __m256d level = _mm256_set1_pd(clipLevel);
  const __m256d negativeLevel = _mm256_set1_pd(-clipLevel);
  const __m256d magnitude = _mm256_castsi256_pd(_mm256_set1_epi64x(INT64_MAX));
  __m256d peaks = _mm256_set1_pd(peak);
  int i = 0;
  for (; i + 8 <= frames; i += 8) {
    const __m256d a = ClipFour(_mm256_loadu_pd(input + i), level, negativeLevel);
    const __m256d b = ClipFour(_mm256_loadu_pd(input + i + 4), level, negativeLevel);
    _mm256_storeu_pd(output + i, a);
    _mm256_storeu_pd(output + i + 4, b);
    peaks = _mm256_max_pd(_mm256_max_pd(_mm256_and_pd(a, magnitude), _mm256_and_pd(b, magnitude)),
                          peaks);
  }
  if (i + 4 <= frames) {
    const __m256d a = ClipFour(_mm256_loadu_pd(input + i), level, negativeLevel);
    _mm256_storeu_pd(output + i, a);
    peaks = _mm256_max_pd(_mm256_and_pd(a, magnitude), peaks);
    i += 4;
  }
  __m128d halves = _mm_max_pd(_mm256_castpd256_pd128(peaks), _mm256_extractf128_pd(peaks, 1));
  if (i + 2 <= frames) {
    const __m128d a = ClipTwo(_mm_loadu_pd(input + i), _mm256_castpd256_pd128(level),
                              _mm256_castpd256_pd128(negativeLevel));
    _mm_storeu_pd(output + i, a);
    halves = _mm_max_pd(_mm_and_pd(a, _mm256_castpd256_pd128(magnitude)), halves);
    i += 2;
  }
  return ClipTail(input, output, i, frames, clipLevel, LargestOfTwo(halves));
}
// Single precision, four samples (one register) at a time, widened to two pairs of doubles.
__attribute__((target("sse2"))) double
ClipFloatSamplesSse2(const float* input, float* output, int frames, double clipLevel, double peak) {
  if (!VectorFormApplies(input, output, frames, clipLevel)) {
    return ClipSamplesPlain(input, output, frames, clipLevel, peak);
  }
  const __m128d level = _mm_set1_pd(clipLevel);
  const __m128d negativeLevel = _mm_set1_pd(-clipLevel);
  const __m128d magnitude = _mm_castsi128_pd(_mm_set1_epi64x(INT64_MAX));
  __m128d peaks = _mm_set1_pd(peak);
  int i = 0;
  for (; i + 4 <= frames; i += 4) {
    const __m128 x = _mm_loadu_ps(input + i);
    const __m128d a = ClipTwo(_mm_cvtps_pd(x), level, negativeLevel);
    const __m128d b = ClipTwo(_mm_cvtps_pd(_mm_movehl_ps(x, x)), level, negativeLevel);
    _mm_storeu_ps(output + i, _mm_movelh_ps(_mm_cvtpd_ps(a), _mm_cvtpd_ps(b)));
    peaks = _mm_max_pd(_mm_max_pd(_mm_and_pd(a, magnitude), _mm_and_pd(b, magnitude)), peaks);
  }
  return ClipTail(input, output, i, frames, clipLevel, LargestOfTwo(peaks));
}

// Single precision, eight samples at a time, widened to two registers of four doubles.
__attribute__((target("avx2"))) double
ClipFloatSamplesAvx2(const float* input, float* output, int frames, double clipLevel, double peak) {
  if (!VectorFormApplies(input, output, frames, clipLevel)) {
    return ClipSamplesPlain(input, output, frames, clipLevel, peak);
  }
  const __m256d level = _mm256_set1_pd(clipLevel);
  const __m256d negativeLevel = _mm256_set1_pd(-clipLevel);
  const __m256d magnitude = _mm256_castsi256_pd(_mm256_set1_epi64x(INT64_MAX));
  __m256d peaks = _mm256_set1_pd(peak);
  int i = 0;
  for (; i + 8 <= frames; i += 8) {
    const __m256 x = _mm256_loadu_ps(input + i);
    const __m256d a = ClipFour(_mm256_cvtps_pd(_mm256_castps256_ps128(x)), level, negativeLevel);
    const __m256d b = ClipFour(_mm256_cvtps_pd(_mm256_extractf128_ps(x, 1)), level, negativeLevel);
    _mm256_storeu_ps(output + i, _mm256_set_m128(_mm256_cvtpd_ps(b), _mm256_cvtpd_ps(a)));
    peaks = _mm256_max_pd(_mm256_max_pd(_mm256_and_pd(a, magnitude), _mm256_and_pd(b, magnitude)),
                          peaks);
  }
  const __m128d halves = _mm_max_pd(_mm256_castpd256_pd128(peaks), _mm256_extractf128_pd(peaks, 1));
  return ClipTail(input, output, i, frames, clipLevel, LargestOfTwo(halves));
}
} // namespace

double ClipSamples(const double* input, double* output, int frames, double clipLevel, double peak) {
  if (ProcessorHasAvx2()) {
    return ClipSamplesAvx2(input, output, frames, clipLevel, peak);
  }
  return ClipSamplesSse2(input, output, frames, clipLevel, peak);
}

double ClipSamples(const float* input, float* output, int frames, double clipLevel, double peak) {
  if (ProcessorHasAvx2()) {
    return ClipFloatSamplesAvx2(input, output, frames, clipLevel, peak);
  }
  return ClipFloatSamplesSse2(input, output, frames, clipLevel, peak);
}

std::vector<ClipKernelForm> ClipSamplesVectorForms() {
  std::vector<ClipKernelForm> forms{{"sse2", ClipSamplesSse2}};
  if (ProcessorHasAvx2()) {
    forms.push_back({"avx2", ClipSamplesAvx2});
  }
  return forms;
}

std::vector<ClipKernelFormOf<float>> ClipFloatSamplesVectorForms() {
  std::vector<ClipKernelFormOf<float>> forms{{"sse2", ClipFloatSamplesSse2}};
  if (ProcessorHasAvx2()) {
    forms.push_back({"avx2", ClipFloatSamplesAvx2});
  }
  return forms;
}
