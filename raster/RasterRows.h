#pragma once

#include <cstdint>

// The row loops of the combines the editor draws with on every tick: "over" at full and partial
// weight, weighted copy, the half-and-half copy and the fills. Each set gives exactly the
// results of the plain per-pixel arithmetic (RasterCombine.h); the vector sets only do it wider.
// Weights w are the scaled integers of RasterCombine.h, strictly between 0 and 256.
struct RasterRows {
  // Over at full weight: RasterCombine's OverFull for each pixel.
  void (*overFull)(std::uint32_t* d, const std::uint32_t* s, int n);
  // Over at weight w.
  void (*over)(std::uint32_t* d, const std::uint32_t* s, int n, int w);
  // d = s + (d - s) * (256 - w) / 256 on all four channels.
  void (*blend)(std::uint32_t* d, const std::uint32_t* s, int n, int w);
  // Per-channel average of whole words, each half truncated.
  void (*average)(std::uint32_t* d, const std::uint32_t* s, int n);
  // blend with every source pixel the colour.
  void (*fillBlend)(std::uint32_t* d, int n, std::uint32_t colour, int w);
  // The whole-word fills at weights 128, 64 and 192.
  void (*fillHalf)(std::uint32_t* d, int n, std::uint32_t colour);
  void (*fillQuarter)(std::uint32_t* d, int n, std::uint32_t colour);
  void (*fillThreeQuarters)(std::uint32_t* d, int n, std::uint32_t colour);
};

// One pixel at a time.
const RasterRows& RasterRowsScalar();
// Four pixels at a time, the rest by the scalar set; every x86 processor this runs on has SSE2.
const RasterRows& RasterRowsSse2();
// Eight pixels at a time, the rest by the SSE2 set; none when the processor lacks AVX2.
const RasterRows* RasterRowsAvx2();
// The widest set the processor runs, chosen on first use.
const RasterRows& RasterRowsBest();
