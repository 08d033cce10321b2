#pragma once

// The vector row loops, written once for any vector width. V (defined by each instruction set's
// file, with internal linkage, so its instantiations never mix) supplies the operations on one
// register of V::kPixels pixels. Pixels are widened to 16-bit lanes for the products; the
// signed differences of the plain arithmetic become two saturated unsigned ones, so every
// product fits 16 bits and a truncating signed division by 256 is an unsigned shift of each
// half: s + (d - s) * k / 256 = s + ((d -sat s) * k >> 8) - ((s -sat d) * k >> 8).

#include "raster/RasterRows.h"

#include <cstdint>

template <typename V> struct RasterSimdRows {
  using R = typename V::Reg;

  // s + (d - s) * k / 256 per 16-bit lane, with 0 <= k <= 256.
  static R TowardSource(R s16, R pos16, R neg16, R k16) {
    const R up = V::Srl16_8(V::Mul16(pos16, k16));
    const R down = V::Srl16_8(V::Mul16(neg16, k16));
    return V::Sub16(V::Add16(s16, up), down);
  }

  // Combines one register with a constant k for all lanes.
  static R BlendPixels(R s, R d, R k16) {
    const R pos = V::SubsU8(d, s);
    const R neg = V::SubsU8(s, d);
    const R lo = TowardSource(V::Lo8(s), V::Lo8(pos), V::Lo8(neg), k16);
    const R hi = TowardSource(V::Hi8(s), V::Hi8(pos), V::Hi8(neg), k16);
    return V::Pack16(lo, hi);
  }

  static R OverFullPixels(R s, R d) {
    const R alphaMask = V::Set32(0xFF000000u);
    const R k255 = V::Set16(255);
    const R pos = V::SubsU8(d, s);
    const R neg = V::SubsU8(s, d);
    const R sLo = V::Lo8(s);
    const R sHi = V::Hi8(s);
    const R lo = TowardSource(sLo, V::Lo8(pos), V::Lo8(neg), V::Sub16(k255, V::Alpha16(sLo)));
    const R hi = TowardSource(sHi, V::Hi8(pos), V::Hi8(neg), V::Sub16(k255, V::Alpha16(sHi)));
    const R colour = V::AndNot(alphaMask, V::Pack16(lo, hi));
    const R combined = V::Or(colour, V::And(V::AddsU8(d, s), alphaMask));
    const R clear = V::CmpEq32(V::And(s, alphaMask), V::Zero());
    return V::Or(V::And(clear, d), V::AndNot(clear, combined));
  }

  // Over at weight w: e = w * (sa + 1) / 256; colour toward the source by 256 - e, alpha d + e
  // (the pack's saturation limits it to 255). A clear source pixel gives e = 0 and leaves d.
  static R OverPixels(R s, R d, R w16) {
    const R one = V::Set16(1);
    const R k256 = V::Set16(256);
    const R alphaLanes = V::Set64(0xFFFF000000000000ull);
    const R pos = V::SubsU8(d, s);
    const R neg = V::SubsU8(s, d);
    R half[2];
    for (int part = 0; part < 2; ++part) {
      const R s16 = part == 0 ? V::Lo8(s) : V::Hi8(s);
      const R d16 = part == 0 ? V::Lo8(d) : V::Hi8(d);
      const R pos16 = part == 0 ? V::Lo8(pos) : V::Hi8(pos);
      const R neg16 = part == 0 ? V::Lo8(neg) : V::Hi8(neg);
      const R e = V::Srl16_8(V::Mul16(w16, V::Add16(V::Alpha16(s16), one)));
      const R colour = TowardSource(s16, pos16, neg16, V::Sub16(k256, e));
      const R alpha = V::Add16(d16, e);
      half[part] = V::Or(V::And(alphaLanes, alpha), V::AndNot(alphaLanes, colour));
    }
    return V::Pack16(half[0], half[1]);
  }

  static void OverFull(std::uint32_t* d, const std::uint32_t* s, int n, const RasterRows& rest) {
    const R alphaMask = V::Set32(0xFF000000u);
    int i = 0;
    for (; i + V::kPixels <= n; i += V::kPixels) {
      const R sv = V::Load(s + i);
      const R alpha = V::And(sv, alphaMask);
      // Artwork is mostly clear or opaque: whole registers of either need no arithmetic.
      if (V::AllSet(V::CmpEq32(alpha, V::Zero()))) {
        continue;
      }
      if (V::AllSet(V::CmpEq32(alpha, alphaMask))) {
        V::Store(d + i, sv);
        continue;
      }
      V::Store(d + i, OverFullPixels(sv, V::Load(d + i)));
    }
    rest.overFull(d + i, s + i, n - i);
  }

  static void Over(std::uint32_t* d, const std::uint32_t* s, int n, int w, const RasterRows& rest) {
    const R alphaMask = V::Set32(0xFF000000u);
    const R w16 = V::Set16(w);
    int i = 0;
    for (; i + V::kPixels <= n; i += V::kPixels) {
      const R sv = V::Load(s + i);
      if (V::AllSet(V::CmpEq32(V::And(sv, alphaMask), V::Zero()))) {
        continue;
      }
      V::Store(d + i, OverPixels(sv, V::Load(d + i), w16));
    }
    rest.over(d + i, s + i, n - i, w);
  }

  static void Blend(std::uint32_t* d, const std::uint32_t* s, int n, int w,
                    const RasterRows& rest) {
    const R k16 = V::Set16(256 - w);
    int i = 0;
    for (; i + V::kPixels <= n; i += V::kPixels) {
      V::Store(d + i, BlendPixels(V::Load(s + i), V::Load(d + i), k16));
    }
    rest.blend(d + i, s + i, n - i, w);
  }

  static R Half(R v) { return V::And(V::Srl32_1(v), V::Set32(0x7F7F7F7Fu)); }
  static R Quarter(R v) { return V::And(V::Srl32_2(v), V::Set32(0x3F3F3F3Fu)); }

  static void Average(std::uint32_t* d, const std::uint32_t* s, int n, const RasterRows& rest) {
    int i = 0;
    for (; i + V::kPixels <= n; i += V::kPixels) {
      V::Store(d + i, V::Add32(Half(V::Load(s + i)), Half(V::Load(d + i))));
    }
    rest.average(d + i, s + i, n - i);
  }

  static void FillBlend(std::uint32_t* d, int n, std::uint32_t colour, int w,
                        const RasterRows& rest) {
    const R k16 = V::Set16(256 - w);
    const R c = V::Set32(colour);
    int i = 0;
    for (; i + V::kPixels <= n; i += V::kPixels) {
      V::Store(d + i, BlendPixels(c, V::Load(d + i), k16));
    }
    rest.fillBlend(d + i, n - i, colour, w);
  }

  static void FillHalf(std::uint32_t* d, int n, std::uint32_t colour, const RasterRows& rest) {
    const R half = Half(V::Set32(colour));
    int i = 0;
    for (; i + V::kPixels <= n; i += V::kPixels) {
      V::Store(d + i, V::Add32(half, Half(V::Load(d + i))));
    }
    rest.fillHalf(d + i, n - i, colour);
  }

  static void FillQuarter(std::uint32_t* d, int n, std::uint32_t colour, const RasterRows& rest) {
    const R quarter = Quarter(V::Set32(colour));
    int i = 0;
    for (; i + V::kPixels <= n; i += V::kPixels) {
      const R dv = V::Load(d + i);
      V::Store(d + i, V::Add32(V::Add32(Half(dv), quarter), Quarter(dv)));
    }
    rest.fillQuarter(d + i, n - i, colour);
  }

  static void FillThreeQuarters(std::uint32_t* d, int n, std::uint32_t colour,
                                const RasterRows& rest) {
    const R c = V::Set32(colour);
    const R quarterAndHalf = V::Add32(Quarter(c), Half(c));
    int i = 0;
    for (; i + V::kPixels <= n; i += V::kPixels) {
      V::Store(d + i, V::Add32(quarterAndHalf, Quarter(V::Load(d + i))));
    }
    rest.fillThreeQuarters(d + i, n - i, colour);
  }
};

// The function table of one instruction set; what is left over at the end of a row goes to
// Rest(), the next narrower set.
template <typename V, const RasterRows& (*Rest)()> RasterRows RasterSimdRowSet() {
  using K = RasterSimdRows<V>;
  return RasterRows{
      [](std::uint32_t* d, const std::uint32_t* s, int n) { K::OverFull(d, s, n, Rest()); },
      [](std::uint32_t* d, const std::uint32_t* s, int n, int w) { K::Over(d, s, n, w, Rest()); },
      [](std::uint32_t* d, const std::uint32_t* s, int n, int w) { K::Blend(d, s, n, w, Rest()); },
      [](std::uint32_t* d, const std::uint32_t* s, int n) { K::Average(d, s, n, Rest()); },
      [](std::uint32_t* d, int n, std::uint32_t c, int w) { K::FillBlend(d, n, c, w, Rest()); },
      [](std::uint32_t* d, int n, std::uint32_t c) { K::FillHalf(d, n, c, Rest()); },
      [](std::uint32_t* d, int n, std::uint32_t c) { K::FillQuarter(d, n, c, Rest()); },
      [](std::uint32_t* d, int n, std::uint32_t c) { K::FillThreeQuarters(d, n, c, Rest()); },
  };
}

// The x86 sets, built for x86 only. SSE2: four pixels at a time, the rest by the scalar set.
const RasterRows& RasterRowsSse2();
// AVX2: eight pixels at a time, the rest by the SSE2 set, without the processor check; only
// RasterRowSets may call it, and only on a processor that has AVX2 (its file is compiled for
// AVX2 throughout).
const RasterRows& RasterRowsAvx2Unchecked();
