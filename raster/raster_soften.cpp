#include "raster/RasterSoften.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {
// Each term is shifted and masked per channel on its own, so the sum never carries between
// channels: at most 127 + 4 * 31 per channel.
std::uint32_t Half(std::uint32_t p) {
  return (p >> 1) & 0x7F7F7F7Fu;
}
std::uint32_t Quarter(std::uint32_t p) {
  return (p >> 2) & 0x3F3F3F3Fu;
}
std::uint32_t Eighth(std::uint32_t p) {
  return (p >> 3) & 0x1F1F1F1Fu;
}

constexpr int kStackWidth = 1024;

void SoftenRows(std::uint32_t* pixels, int span, int width, int height, std::uint32_t* above,
                std::uint32_t* current) {
  for (int y = 0; y < height; ++y) {
    std::uint32_t* row = pixels + static_cast<std::ptrdiff_t>(y) * span;
    // The row below is still unsoftened; this row and the one above are read from the copies.
    const std::uint32_t* below = y + 1 < height ? row + span : nullptr;
    std::memcpy(current, row, static_cast<std::size_t>(width) * 4);
    for (int x = 0; x < width; ++x) {
      std::uint32_t sides;
      if (x == 0) {
        sides = Quarter(current[1]);
      } else if (x == width - 1) {
        sides = Quarter(current[x - 1]);
      } else {
        sides = Eighth(current[x - 1]) + Eighth(current[x + 1]);
      }
      std::uint32_t vertical;
      if (y == 0) {
        vertical = Quarter(below[x]);
      } else if (!below) {
        vertical = Quarter(above[x]);
      } else {
        vertical = Eighth(above[x]) + Eighth(below[x]);
      }
      row[x] = Half(current[x]) + sides + vertical;
    }
    std::uint32_t* swap = above;
    above = current;
    current = swap;
  }
}
} // namespace

RasterSysBitmap& RasterGlyphScratch() {
  static RasterSysBitmap scratch(0, 0);
  return scratch;
}

void RasterSoften(int width, int height) {
  RasterSoftenBitmap(RasterGlyphScratch(), width, height);
}

void RasterSoftenBitmap(RasterBitmap& bitmap, int width, int height) {
  width = width < bitmap.Width() ? width : bitmap.Width();
  height = height < bitmap.Height() ? height : bitmap.Height();
  std::uint32_t* pixels = bitmap.PixelData();
  if (width < 2 || height < 2 || !pixels) {
    return;
  }
  if (width <= kStackWidth) {
    std::uint32_t rows[2 * kStackWidth];
    SoftenRows(pixels, bitmap.RowSpan(), width, height, rows, rows + kStackWidth);
  } else {
    std::vector<std::uint32_t> rows(static_cast<std::size_t>(width) * 2);
    SoftenRows(pixels, bitmap.RowSpan(), width, height, rows.data(), rows.data() + width);
  }
}
