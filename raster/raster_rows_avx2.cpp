// Compiled for AVX2: nothing here may run before RasterRowsAvx2 has checked the processor.
#include "raster/RasterSimdRows.h"

#include <immintrin.h>

namespace {
struct Avx2 {
  using Reg = __m256i;
  static constexpr int kPixels = 8;

  static Reg Load(const std::uint32_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
  }
  static void Store(std::uint32_t* p, Reg v) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
  }
  static Reg Zero() { return _mm256_setzero_si256(); }
  static Reg Set32(std::uint32_t v) { return _mm256_set1_epi32(static_cast<int>(v)); }
  static Reg Set16(int v) { return _mm256_set1_epi16(static_cast<short>(v)); }
  static Reg Set64(std::uint64_t v) { return _mm256_set1_epi64x(static_cast<long long>(v)); }
  static Reg And(Reg a, Reg b) { return _mm256_and_si256(a, b); }
  static Reg Or(Reg a, Reg b) { return _mm256_or_si256(a, b); }
  // ~a & b.
  static Reg AndNot(Reg a, Reg b) { return _mm256_andnot_si256(a, b); }
  static Reg Add32(Reg a, Reg b) { return _mm256_add_epi32(a, b); }
  static Reg Srl32_1(Reg v) { return _mm256_srli_epi32(v, 1); }
  static Reg Srl32_2(Reg v) { return _mm256_srli_epi32(v, 2); }
  static Reg CmpEq32(Reg a, Reg b) { return _mm256_cmpeq_epi32(a, b); }
  static bool AllSet(Reg mask) { return _mm256_movemask_epi8(mask) == -1; }
  static Reg SubsU8(Reg a, Reg b) { return _mm256_subs_epu8(a, b); }
  static Reg AddsU8(Reg a, Reg b) { return _mm256_adds_epu8(a, b); }
  // Widening and packing work within each 128-bit half, so a pack undoes the widening.
  static Reg Lo8(Reg v) { return _mm256_unpacklo_epi8(v, _mm256_setzero_si256()); }
  static Reg Hi8(Reg v) { return _mm256_unpackhi_epi8(v, _mm256_setzero_si256()); }
  static Reg Pack16(Reg lo, Reg hi) { return _mm256_packus_epi16(lo, hi); }
  static Reg Add16(Reg a, Reg b) { return _mm256_add_epi16(a, b); }
  static Reg Sub16(Reg a, Reg b) { return _mm256_sub_epi16(a, b); }
  static Reg Mul16(Reg a, Reg b) { return _mm256_mullo_epi16(a, b); }
  static Reg Srl16_8(Reg v) { return _mm256_srli_epi16(v, 8); }
  // Each pixel's alpha lane in all four of its lanes.
  static Reg Alpha16(Reg v) {
    return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(v, 0xFF), 0xFF);
  }
};
} // namespace

const RasterRows& RasterRowsAvx2Unchecked() {
  static const RasterRows rows = RasterSimdRowSet<Avx2, RasterRowsSse2>();
  return rows;
}
