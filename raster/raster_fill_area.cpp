#include "raster/RasterBlit.h"
#include "raster/RasterCombine.h"
#include "raster/RasterRows.h"

#include <algorithm>
#include <cstdint>

using namespace raster_combine;

namespace {
struct FillArea {
  std::uint32_t* dest;
  int span;
  int columns;
  int rows;
};

template <typename Combiner> void CombineRows(const FillArea& area, Combiner combine) {
  for (int y = 0; y < area.rows; ++y) {
    std::uint32_t* d = area.dest + static_cast<std::ptrdiff_t>(y) * area.span;
    for (int x = 0; x < area.columns; ++x) {
      d[x] = combine(d[x]);
    }
  }
}

// Clips [start, start + length) to [0, limit); returns the new start and sets length.
std::int64_t Clip(int start, int length, int limit, std::int64_t& clippedLength) {
  const std::int64_t first = start < 0 ? 0 : start;
  std::int64_t end = static_cast<std::int64_t>(start) + length;
  end = end > limit ? limit : end;
  clippedLength = end - first;
  return first;
}

template <typename RowLoop> void EachRow(const FillArea& area, RowLoop loop) {
  for (int y = 0; y < area.rows; ++y) {
    loop(area.dest + static_cast<std::ptrdiff_t>(y) * area.span, area.columns);
  }
}

// Copy at weight a. The common fixed weights work on whole words, so the alpha byte mixes like
// the others; any other weight moves the alpha channel toward the weight itself rather than the
// colour's alpha, which is a blend with a source of that alpha.
void FillCopy(const FillArea& area, std::uint32_t colour, int a) {
  const RasterRows& rows = RasterRowsBest();
  switch (a) {
  case 256:
    EachRow(area, [colour](std::uint32_t* d, int n) { std::fill(d, d + n, colour); });
    break;
  case 128:
    EachRow(area, [&rows, colour](std::uint32_t* d, int n) { rows.fillHalf(d, n, colour); });
    break;
  case 64:
    EachRow(area, [&rows, colour](std::uint32_t* d, int n) { rows.fillQuarter(d, n, colour); });
    break;
  case 192:
    EachRow(area,
            [&rows, colour](std::uint32_t* d, int n) { rows.fillThreeQuarters(d, n, colour); });
    break;
  default: {
    const std::uint32_t source = (colour & 0x00FFFFFFu) | (static_cast<std::uint32_t>(a) << 24);
    EachRow(area, [&rows, source, a](std::uint32_t* d, int n) { rows.fillBlend(d, n, source, a); });
    break;
  }
  }
}
} // namespace

void RasterFillArea(RasterBitmap* dest, int x, int y, int w, int h, std::uint32_t colour,
                    float weight, int mode) {
  if (!dest) {
    return;
  }
  if (mode & RASTER_OP_SRC_ALPHA) {
    weight = (static_cast<float>(colour >> 24) / 255.0f) * weight;
  }
  std::int64_t columns = 0;
  std::int64_t rows = 0;
  const std::int64_t left = Clip(x, w, dest->Width(), columns);
  const std::int64_t top = Clip(y, h, dest->Height(), rows);
  std::uint32_t* pixels = dest->PixelData();
  const int span = dest->RowSpan();
  if (weight == 0.0f || !pixels || columns <= 0 || rows <= 0 || span <= 0) {
    return;
  }
  const FillArea area{pixels + top * span + left, span, static_cast<int>(columns),
                      static_cast<int>(rows)};
  const int op = mode & 0xFF;
  int a = ScaledWeight(weight);
  // Copy and multiply interpolate: beyond full strength they act at full strength, and a
  // negative weight, whose results would wrap, draws nothing.
  if (op == RASTER_OP_COPY || op == RASTER_OP_MULTIPLY) {
    if (a <= 0) {
      return;
    }
    a = a > 256 ? 256 : a;
  }
  if (a == 0) {
    return;
  }
  switch (op) {
  case RASTER_OP_COPY:
    FillCopy(area, colour, a);
    break;
  case RASTER_OP_ADD:
    CombineRows(area, [colour, a](std::uint32_t d) { return Add(colour, d, a); });
    break;
  case RASTER_OP_DODGE:
    CombineRows(area, [colour, a](std::uint32_t d) { return Dodge(colour, d, a); });
    break;
  case RASTER_OP_MULTIPLY:
    CombineRows(area, [colour, a](std::uint32_t d) {
      const auto channel = [a](int sc, int dc) { return dc * (a * sc + (256 - a) * 256) / 65536; };
      return Place(channel(Byte(colour, 0), Byte(d, 0)), 0) |
             Place(channel(Byte(colour, 8), Byte(d, 8)), 8) |
             Place(channel(Byte(colour, 16), Byte(d, 16)), 16) | Place(channel(a, Byte(d, 24)), 24);
    });
    break;
  case RASTER_OP_OVERLAY:
    CombineRows(area, [colour, a](std::uint32_t d) { return Overlay(colour, d, a); });
    break;
  case RASTER_OP_HSV:
    CombineRows(area, [colour, a](std::uint32_t d) { return HsvAdjust(colour, d, a); });
    break;
  default:
    break;
  }
}
