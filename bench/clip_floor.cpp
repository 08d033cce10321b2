#include "bench/ClipFloor.h"

#include <immintrin.h>

#include <cmath>
#include <cstdint>

namespace {
__attribute__((target("avx2"))) inline __m256d Clip(__m256d x, __m256d level, __m256d low) {
  const __m256d clipped = _mm256_min_pd(_mm256_max_pd(x, low), level);
  return _mm256_div_pd(_mm256_and_pd(_mm256_cmp_pd(x, x, _CMP_ORD_Q), clipped), level);
}

__attribute__((target("avx2"))) inline double Largest(__m256d peaks) {
  const __m128d halves = _mm_max_pd(_mm256_castpd256_pd128(peaks), _mm256_extractf128_pd(peaks, 1));
  return _mm_cvtsd_f64(_mm_max_sd(halves, _mm_unpackhi_pd(halves, halves)));
}

// The frames after the last whole vector, one at a time.
template <typename Sample>
double Tail(const Sample* input, Sample* output, int from, int frames, double level, double peak) {
  for (int i = from; i < frames; ++i) {
    const double x = input[i];
    const double y = (std::isnan(x) ? 0.0 : std::fmin(std::fmax(x, -level), level)) / level;
    output[i] = static_cast<Sample>(y);
    peak = std::fmax(peak, std::fabs(y));
  }
  return peak;
}
} // namespace

__attribute__((target("avx2"))) double ClipFloorDouble(const double* input, double* output,
                                                       int frames, double clipLevel, double peak) {
  const __m256d level = _mm256_set1_pd(clipLevel);
  const __m256d low = _mm256_set1_pd(-clipLevel);
  const __m256d magnitude = _mm256_castsi256_pd(_mm256_set1_epi64x(INT64_MAX));
  __m256d peaks = _mm256_set1_pd(peak);
  int i = 0;
  for (; i + 8 <= frames; i += 8) {
    const __m256d a = Clip(_mm256_loadu_pd(input + i), level, low);
    const __m256d b = Clip(_mm256_loadu_pd(input + i + 4), level, low);
    _mm256_storeu_pd(output + i, a);
    _mm256_storeu_pd(output + i + 4, b);
    peaks = _mm256_max_pd(peaks,
                          _mm256_max_pd(_mm256_and_pd(a, magnitude), _mm256_and_pd(b, magnitude)));
  }
  return Tail(input, output, i, frames, clipLevel, Largest(peaks));
}

__attribute__((target("avx2"))) double ClipFloorFloat(const float* input, float* output, int frames,
                                                      double clipLevel, double peak) {
  const __m256d level = _mm256_set1_pd(clipLevel);
  const __m256d low = _mm256_set1_pd(-clipLevel);
  const __m256d magnitude = _mm256_castsi256_pd(_mm256_set1_epi64x(INT64_MAX));
  __m256d peaks = _mm256_set1_pd(peak);
  int i = 0;
  for (; i + 8 <= frames; i += 8) {
    const __m256 x = _mm256_loadu_ps(input + i);
    const __m256d a = Clip(_mm256_cvtps_pd(_mm256_castps256_ps128(x)), level, low);
    const __m256d b = Clip(_mm256_cvtps_pd(_mm256_extractf128_ps(x, 1)), level, low);
    _mm256_storeu_ps(output + i, _mm256_set_m128(_mm256_cvtpd_ps(b), _mm256_cvtpd_ps(a)));
    peaks = _mm256_max_pd(peaks,
                          _mm256_max_pd(_mm256_and_pd(a, magnitude), _mm256_and_pd(b, magnitude)));
  }
  return Tail(input, output, i, frames, clipLevel, Largest(peaks));
}
