#include "raster/RasterSimdRows.h"

#include <emmintrin.h>

namespace {
struct Sse2 {
  using Reg = __m128i;
  static constexpr int kPixels = 4;

  static Reg Load(const std::uint32_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  }
  static void Store(std::uint32_t* p, Reg v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
  static Reg Zero() { return _mm_setzero_si128(); }
  static Reg Set32(std::uint32_t v) { return _mm_set1_epi32(static_cast<int>(v)); }
  static Reg Set16(int v) { return _mm_set1_epi16(static_cast<short>(v)); }
  static Reg Set64(std::uint64_t v) { return _mm_set1_epi64x(static_cast<long long>(v)); }
  static Reg And(Reg a, Reg b) { return _mm_and_si128(a, b); }
  static Reg Or(Reg a, Reg b) { return _mm_or_si128(a, b); }
  // ~a & b.
  static Reg AndNot(Reg a, Reg b) { return _mm_andnot_si128(a, b); }
  static Reg Add32(Reg a, Reg b) { return _mm_add_epi32(a, b); }
  static Reg Srl32_1(Reg v) { return _mm_srli_epi32(v, 1); }
  static Reg Srl32_2(Reg v) { return _mm_srli_epi32(v, 2); }
  static Reg CmpEq32(Reg a, Reg b) { return _mm_cmpeq_epi32(a, b); }
  static bool AllSet(Reg mask) { return _mm_movemask_epi8(mask) == 0xFFFF; }
  static Reg SubsU8(Reg a, Reg b) { return _mm_subs_epu8(a, b); }
  static Reg AddsU8(Reg a, Reg b) { return _mm_adds_epu8(a, b); }
  static Reg Lo8(Reg v) { return _mm_unpacklo_epi8(v, _mm_setzero_si128()); }
  static Reg Hi8(Reg v) { return _mm_unpackhi_epi8(v, _mm_setzero_si128()); }
  static Reg Pack16(Reg lo, Reg hi) { return _mm_packus_epi16(lo, hi); }
  static Reg Add16(Reg a, Reg b) { return _mm_add_epi16(a, b); }
  static Reg Sub16(Reg a, Reg b) { return _mm_sub_epi16(a, b); }
  static Reg Mul16(Reg a, Reg b) { return _mm_mullo_epi16(a, b); }
  static Reg Srl16_8(Reg v) { return _mm_srli_epi16(v, 8); }
  // Each pixel's alpha lane in all four of its lanes.
  static Reg Alpha16(Reg v) { return _mm_shufflehi_epi16(_mm_shufflelo_epi16(v, 0xFF), 0xFF); }
};
} // namespace

const RasterRows& RasterRowsSse2() {
  static const RasterRows rows = RasterSimdRowSet<Sse2, RasterRowsScalar>();
  return rows;
}
