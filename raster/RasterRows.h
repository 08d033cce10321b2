#pragma once

#include <cstdint>
#include <vector>

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

// One pixel at a time, on every processor.
const RasterRows& RasterRowsScalar();

struct NamedRasterRows {
  const char* name;
  const RasterRows* rows;
};
// Every set this processor runs, the scalar one first and the widest last. On x86
// (raster_rows_x86.cpp) also "sse2", four pixels at a time (every x86 processor this runs on),
// and "avx2", eight at a time, where the processor has AVX2; other processors
// (raster_rows_portable.cpp) have the scalar set alone.
std::vector<NamedRasterRows> RasterRowSets();
// The widest set the processor runs, chosen on first use.
const RasterRows& RasterRowsBest();
