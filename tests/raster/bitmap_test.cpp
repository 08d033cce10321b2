#include "TestBitmaps.h"

#include "raster/RasterMemBitmap.h"
#include "raster/RasterSoften.h"
#include "raster/RasterSysBitmap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {
bool Aligned64(const void* p) {
  return reinterpret_cast<std::uintptr_t>(p) % 64 == 0;
}
} // namespace

TEST(MemBitmap, EmptyHasNoPixels) {
  RasterMemBitmap bitmap(0, 0);
  EXPECT_EQ(bitmap.PixelData(), nullptr);
  EXPECT_EQ(bitmap.Width(), 0);
  EXPECT_EQ(bitmap.RowSpan(), 0);
  EXPECT_EQ(bitmap.DeviceContext(), nullptr);
  EXPECT_FALSE(bitmap.IsBottomUp());
}

TEST(MemBitmap, RowsArePaddedAndAligned) {
  RasterMemBitmap bitmap(5, 3);
  EXPECT_EQ(bitmap.RowSpan(), 8);
  EXPECT_EQ(bitmap.BlockBytes(), 8 * 3 * 4);
  ASSERT_NE(bitmap.PixelData(), nullptr);
  EXPECT_TRUE(Aligned64(bitmap.PixelData()));
  // The whole span of every row is writable (the sanitizer build checks the block's end).
  for (int i = 0; i < bitmap.RowSpan() * bitmap.Height(); ++i) {
    bitmap.PixelData()[i] = 0xFFFFFFFFu;
  }
}

TEST(MemBitmap, GrowsByAQuarterAndKeepsItsBlockWhenShrinking) {
  RasterMemBitmap bitmap(4, 4);
  EXPECT_EQ(bitmap.BlockBytes(), 64);
  EXPECT_TRUE(bitmap.SetSize(8, 8));
  EXPECT_EQ(bitmap.BlockBytes(), 320);
  EXPECT_TRUE(Aligned64(bitmap.PixelData()));
  EXPECT_FALSE(bitmap.SetSize(8, 8));
  EXPECT_TRUE(bitmap.SetSize(2, 2));
  EXPECT_EQ(bitmap.BlockBytes(), 320);
  EXPECT_TRUE(bitmap.SetSize(9, 8)); // 12 * 8 * 4 = 384 > 320
  EXPECT_EQ(bitmap.BlockBytes(), 384 + 96);
  EXPECT_TRUE(bitmap.SetSize(0, 0));
  EXPECT_EQ(bitmap.PixelData(), nullptr);
  EXPECT_EQ(bitmap.BlockBytes(), 0);
}

TEST(MemBitmap, SizesThatCannotBeHeldLeaveItEmpty) {
  // 100000 x 100000 pixels are 40 GB: the byte count must not wrap into a small block.
  for (auto size : std::vector<std::pair<int, int>>{
           {100000, 100000}, {0x7FFFFFFF, 1}, {1, 0x7FFFFFFF}, {-5, -3}, {-1, 10}, {10, 0}}) {
    RasterMemBitmap bitmap(size.first, size.second);
    EXPECT_EQ(bitmap.Width(), 0) << size.first << "x" << size.second;
    EXPECT_EQ(bitmap.Height(), 0);
    EXPECT_EQ(bitmap.PixelData(), nullptr);
  }
  RasterMemBitmap grown(4, 4);
  EXPECT_TRUE(grown.SetSize(100000, 100000));
  EXPECT_EQ(grown.Width(), 0);
  EXPECT_EQ(grown.PixelData(), nullptr);
}

TEST(SysBitmap, ShrinkKeepsTheSectionAndGrowthMakesANewOne) {
  RasterSysBitmap bitmap(560, 400);
  ASSERT_NE(bitmap.PixelData(), nullptr);
  EXPECT_EQ(bitmap.RowSpan(), 560);
  std::uint32_t* section = bitmap.PixelData();
  EXPECT_TRUE(bitmap.SetSize(100, 100));
  EXPECT_EQ(bitmap.PixelData(), section);
  EXPECT_EQ(bitmap.RowSpan(), 560);
  EXPECT_EQ(bitmap.Width(), 100);
  EXPECT_FALSE(bitmap.SetSize(100, 100));
  EXPECT_TRUE(bitmap.SetSize(561, 400));
  EXPECT_EQ(bitmap.RowSpan(), 564);
  for (int i = 0; i < bitmap.RowSpan() * bitmap.Height(); ++i) {
    bitmap.PixelData()[i] = 0;
  }
}

TEST(SysBitmap, EmptyAndImpossibleSizesHoldNoPixels) {
  RasterSysBitmap empty(0, 0);
  EXPECT_EQ(empty.PixelData(), nullptr);
  EXPECT_FALSE(empty.SetSize(0, 0));
  RasterSysBitmap negative(-8, -8);
  EXPECT_EQ(negative.PixelData(), nullptr);
  EXPECT_EQ(negative.Width(), 0);
  RasterSysBitmap huge(100000, 100000);
  EXPECT_EQ(huge.PixelData(), nullptr);
  EXPECT_EQ(huge.Width(), 0);
  EXPECT_EQ(huge.Height(), 0);
  EXPECT_TRUE(huge.SetSize(3, 2));
  ASSERT_NE(huge.PixelData(), nullptr);
  EXPECT_EQ(huge.RowSpan(), 4);
  // Going back to no size releases the section (and answers false, as no section was made).
  EXPECT_FALSE(huge.SetSize(0, 0));
  EXPECT_EQ(huge.PixelData(), nullptr);
}

namespace {
// Softening restated per channel: half the centre plus an eighth of each neighbour, a missing
// neighbour's share going to the opposite one as a quarter.
Picture SoftenReference(const Picture& in, int width, int height) {
  Picture out = in;
  const auto share = [](std::uint32_t p, int shift) {
    std::uint32_t r = 0;
    for (int c = 0; c < 4; ++c) {
      r |= ((((p >> (8 * c)) & 0xFF) >> shift) & 0xFF) << (8 * c);
    }
    return r;
  };
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::uint32_t sum = share(in.At(x, y), 1);
      if (x == 0) {
        sum += share(in.At(1, y), 2);
      } else if (x == width - 1) {
        sum += share(in.At(x - 1, y), 2);
      } else {
        sum += share(in.At(x - 1, y), 3) + share(in.At(x + 1, y), 3);
      }
      if (y == 0) {
        sum += share(in.At(x, 1), 2);
      } else if (y == height - 1) {
        sum += share(in.At(x, y - 1), 2);
      } else {
        sum += share(in.At(x, y - 1), 3) + share(in.At(x, y + 1), 3);
      }
      out.At(x, y) = sum;
    }
  }
  return out;
}
} // namespace

TEST(Soften, MatchesTheNeighbourWeightsOnStackAndHeapRows) {
  for (auto size : std::vector<std::pair<int, int>>{{2, 2}, {3, 2}, {2, 5}, {37, 9}, {1100, 3}}) {
    PixelSource pixels(static_cast<std::uint32_t>(size.first));
    GuardedBitmap bitmap(size.first, size.second);
    FillPixels(bitmap, pixels);
    const Picture expected = SoftenReference(Snapshot(bitmap), size.first, size.second);
    RasterSoftenBitmap(bitmap, size.first + 5, size.second + 5);
    EXPECT_EQ(Snapshot(bitmap).pixels, expected.pixels) << size.first << "x" << size.second;
    EXPECT_TRUE(bitmap.GuardsIntact());
  }
}

TEST(Soften, TouchesOnlyTheRequestedCorner) {
  PixelSource pixels(5);
  GuardedBitmap bitmap(9, 6);
  FillPixels(bitmap, pixels);
  const Picture before = Snapshot(bitmap);
  Picture expected = before;
  const Picture corner = SoftenReference(before, 4, 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) {
      expected.At(x, y) = corner.At(x, y);
    }
  }
  RasterSoftenBitmap(bitmap, 4, 3);
  EXPECT_EQ(Snapshot(bitmap).pixels, expected.pixels);
  RasterSoftenBitmap(bitmap, 1, 6);
  RasterSoftenBitmap(bitmap, 9, 1);
  EXPECT_EQ(Snapshot(bitmap).pixels, expected.pixels);
}

TEST(Soften, WorksOnTheGlyphScratchOnly) {
  RasterSysBitmap& scratch = RasterGlyphScratch();
  EXPECT_EQ(&scratch, &RasterGlyphScratch());
  RasterSoften(10, 10);
  scratch.SetSize(3, 3);
  for (int i = 0; i < scratch.RowSpan() * 3; ++i) {
    scratch.PixelData()[i] = 0;
  }
  scratch.PixelData()[scratch.RowSpan() + 1] = 0xFFFFFFFFu;
  RasterSoften(3, 3);
  EXPECT_EQ(scratch.PixelData()[scratch.RowSpan() + 1], 0x7F7F7F7Fu);
  EXPECT_EQ(scratch.PixelData()[1], 0x3F3F3F3Fu);
  EXPECT_EQ(scratch.PixelData()[0], 0u);
  scratch.SetSize(0, 0);
}
