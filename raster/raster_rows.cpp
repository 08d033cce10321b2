// The scalar row loops, the same on every processor, and the choice of the widest set.
#include "raster/RasterCombine.h"
#include "raster/RasterRows.h"

using namespace raster_combine;

namespace {
void OverFullRow(std::uint32_t* d, const std::uint32_t* s, int n) {
  for (int i = 0; i < n; ++i) {
    d[i] = OverFull(s[i], d[i]);
  }
}

void OverRow(std::uint32_t* d, const std::uint32_t* s, int n, int w) {
  for (int i = 0; i < n; ++i) {
    d[i] = Over(s[i], d[i], w);
  }
}

void BlendRow(std::uint32_t* d, const std::uint32_t* s, int n, int w) {
  for (int i = 0; i < n; ++i) {
    d[i] = Blend(s[i], d[i], w);
  }
}

void AverageRow(std::uint32_t* d, const std::uint32_t* s, int n) {
  for (int i = 0; i < n; ++i) {
    d[i] = ((s[i] >> 1) & 0x7F7F7F7Fu) + ((d[i] >> 1) & 0x7F7F7F7Fu);
  }
}

void FillBlendRow(std::uint32_t* d, int n, std::uint32_t colour, int w) {
  for (int i = 0; i < n; ++i) {
    d[i] = Blend(colour, d[i], w);
  }
}

void FillHalfRow(std::uint32_t* d, int n, std::uint32_t colour) {
  const std::uint32_t half = (colour >> 1) & 0x7F7F7F7Fu;
  for (int i = 0; i < n; ++i) {
    d[i] = half + ((d[i] >> 1) & 0x7F7F7F7Fu);
  }
}

void FillQuarterRow(std::uint32_t* d, int n, std::uint32_t colour) {
  const std::uint32_t quarter = (colour >> 2) & 0x3F3F3F3Fu;
  for (int i = 0; i < n; ++i) {
    d[i] = ((d[i] >> 1) & 0x7F7F7F7Fu) + quarter + ((d[i] >> 2) & 0x3F3F3F3Fu);
  }
}

void FillThreeQuartersRow(std::uint32_t* d, int n, std::uint32_t colour) {
  const std::uint32_t half = (colour >> 1) & 0x7F7F7F7Fu;
  const std::uint32_t quarter = (colour >> 2) & 0x3F3F3F3Fu;
  for (int i = 0; i < n; ++i) {
    d[i] = quarter + ((d[i] >> 2) & 0x3F3F3F3Fu) + half;
  }
}
} // namespace

const RasterRows& RasterRowsScalar() {
  static const RasterRows rows{OverFullRow,  OverRow,     BlendRow,       AverageRow,
                               FillBlendRow, FillHalfRow, FillQuarterRow, FillThreeQuartersRow};
  return rows;
}

const RasterRows& RasterRowsBest() {
  static const RasterRows* const best = RasterRowSets().back().rows;
  return *best;
}
