#include "raster/RasterResample.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {
constexpr std::uint32_t OpaqueRed = 0xFFFF0000;
constexpr std::uint32_t OpaqueBlue = 0xFF0000FF;

void Put(RasterBitmap& bitmap, int x, int y, std::uint32_t pixel) {
  bitmap.PixelData()[y * bitmap.RowSpan() + x] = pixel;
}

std::uint32_t At(RasterBitmap& bitmap, int x, int y) {
  return bitmap.PixelData()[y * bitmap.RowSpan() + x];
}
} // namespace

TEST(ResampleArea, EachNewPixelIsTheMeanOfWhatLiesUnderIt) {
  // Halving: red and blue columns give their mean; a third of a pixel weighs a third.
  RasterMemBitmap stripes(4, 2);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 4; ++x) {
      Put(stripes, x, y, x % 2 ? OpaqueBlue : OpaqueRed);
    }
  }
  auto halved = RasterResampleArea(&stripes, RasterRect{0, 0, 4, 2}, 2, 1);
  ASSERT_NE(halved, nullptr);
  EXPECT_EQ(At(*halved, 0, 0), 0xFF800080u);
  EXPECT_EQ(At(*halved, 1, 0), 0xFF800080u);
  auto thirds = RasterResampleArea(&stripes, RasterRect{0, 0, 3, 1}, 2, 1);
  ASSERT_NE(thirds, nullptr);
  // Red, then half of the blue: two thirds red; half the blue, then red, the same.
  EXPECT_EQ(At(*thirds, 0, 0), 0xFFAA0055u);
  EXPECT_EQ(At(*thirds, 1, 0), 0xFFAA0055u);
}

TEST(ResampleArea, ClearPixelsLendNoColourAndOpaqueStaysOpaque) {
  RasterMemBitmap edge(2, 1);
  Put(edge, 0, 0, OpaqueRed);
  Put(edge, 1, 0, 0x0000FF00);
  auto halved = RasterResampleArea(&edge, RasterRect{0, 0, 2, 1}, 1, 1);
  ASSERT_NE(halved, nullptr);
  EXPECT_EQ(At(*halved, 0, 0), 0x80FF0000u);

  RasterMemBitmap solid(5, 5);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 5; ++x) {
      Put(solid, x, y, 0xFF000000u | static_cast<std::uint32_t>(x * 50 + y));
    }
  }
  auto scaled = RasterResampleArea(&solid, RasterRect{1, 1, 5, 5}, 3, 3);
  ASSERT_NE(scaled, nullptr);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 3; ++x) {
      EXPECT_EQ(At(*scaled, x, y) >> 24, 0xFFu);
    }
  }
}

TEST(ResampleArea, SizesAndRectanglesOutsideTheBitmapAreRefused) {
  RasterMemBitmap bitmap(4, 4);
  EXPECT_EQ(RasterResampleArea(nullptr, RasterRect{0, 0, 1, 1}, 1, 1), nullptr);
  EXPECT_EQ(RasterResampleArea(&bitmap, RasterRect{0, 0, 4, 4}, 0, 2), nullptr);
  EXPECT_EQ(RasterResampleArea(&bitmap, RasterRect{0, 0, 4, 4}, 2, -1), nullptr);
  EXPECT_EQ(RasterResampleArea(&bitmap, RasterRect{-1, 0, 4, 4}, 2, 2), nullptr);
  EXPECT_EQ(RasterResampleArea(&bitmap, RasterRect{0, 0, 5, 4}, 2, 2), nullptr);
  EXPECT_EQ(RasterResampleArea(&bitmap, RasterRect{2, 2, 2, 4}, 2, 2), nullptr);
}
