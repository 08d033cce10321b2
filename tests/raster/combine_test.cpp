#include "CombineReference.h"
#include "TestBitmaps.h"

#include "raster/IArgb.h"
#include "raster/RasterBlit.h"
#include "raster/RasterMemBitmap.h"
#include "raster/RasterSysBitmap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {
constexpr std::uint32_t kPad = 0xA5A5A5A5u;

std::uint32_t CopyOnePixel(std::uint32_t s, std::uint32_t d, float weight, int mode) {
  RasterMemBitmap src(1, 1);
  RasterMemBitmap dest(1, 1);
  src.PixelData()[0] = s;
  dest.PixelData()[0] = d;
  RasterCopyArea(&dest, &src, 0, 0, nullptr, weight, mode);
  return dest.PixelData()[0];
}

std::uint32_t FillOnePixel(std::uint32_t colour, std::uint32_t d, float weight, int mode) {
  RasterMemBitmap dest(1, 1);
  dest.PixelData()[0] = d;
  RasterFillArea(&dest, 0, 0, 1, 1, colour, weight, mode);
  return dest.PixelData()[0];
}

const int kModes[] = {RASTER_OP_COPY,
                      RASTER_OP_COPY | RASTER_OP_SRC_ALPHA,
                      RASTER_OP_ADD,
                      RASTER_OP_ADD | RASTER_OP_SRC_ALPHA,
                      RASTER_OP_DODGE,
                      RASTER_OP_DODGE | RASTER_OP_SRC_ALPHA,
                      RASTER_OP_MULTIPLY,
                      RASTER_OP_MULTIPLY | RASTER_OP_SRC_ALPHA,
                      RASTER_OP_OVERLAY,
                      RASTER_OP_OVERLAY | RASTER_OP_SRC_ALPHA,
                      RASTER_OP_CHANNEL | 0x0, // blue to blue
                      RASTER_OP_CHANNEL | 0xE, // red to alpha
                      RASTER_OP_CHANNEL | 0x7 | RASTER_OP_SRC_ALPHA,
                      6,
                      0xEF};

const float kWeights[] = {1.0f, 0.5f,  0.25f,  0.75f,  0.3f,  0.999f, 1.001f,
                          2.0f, -0.5f, 0.002f, 0.004f, 40.0f, -40.0f};

enum class Kind { Mem, Sys };

std::unique_ptr<RasterBitmap> MakeBitmap(Kind kind, int width, int height) {
  if (kind == Kind::Mem) {
    return std::make_unique<RasterMemBitmap>(width, height);
  }
  return std::make_unique<RasterSysBitmap>(width, height);
}

std::string Describe(Kind kind, int mode, float weight) {
  return std::string(kind == Kind::Mem ? "mem" : "sys") + " mode " + std::to_string(mode) +
         " weight " + std::to_string(weight);
}
} // namespace

TEST(CombineExamples, OverAtFullWeight) {
  const int over = RASTER_OP_COPY | RASTER_OP_SRC_ALPHA;
  EXPECT_EQ(CopyOnePixel(0x00FFFFFFu, 0x80102030u, 1.0f, over), 0x80102030u);
  EXPECT_EQ(CopyOnePixel(0xFF112233u, 0x40445566u, 1.0f, over), 0xFF112233u);
  // Blue 200 at alpha 128 over blue 100: 200 + (-100 * 127) / 256 = 151; alpha accumulates.
  EXPECT_EQ(CopyOnePixel(0x800000C8u, 0x10000064u, 1.0f, over), 0x90000097u);
  EXPECT_EQ(CopyOnePixel(0x800000C8u, 0xA0000064u, 1.0f, over), 0xFF000097u);
}

TEST(CombineExamples, MeterFillTakesTheHalfAndHalfWords) {
  // Colour alpha 128 at weight 1.0 gives trunc(128 / 255 * 256) = 128.
  EXPECT_EQ(FillOnePixel(0x80E40303u, 0xFF000000u, 1.0f, RASTER_OP_COPY | RASTER_OP_SRC_ALPHA),
            0xBF720101u);
}

TEST(CombineExamples, WeightZeroDrawsNothingInAnyMode) {
  for (int mode : kModes) {
    EXPECT_EQ(CopyOnePixel(0xFFFFFFFFu, 0x12345678u, 0.0f, mode), 0x12345678u) << mode;
    EXPECT_EQ(CopyOnePixel(0xFFFFFFFFu, 0x12345678u, -0.0f, mode), 0x12345678u) << mode;
    EXPECT_EQ(FillOnePixel(0xFFFFFFFFu, 0x12345678u, 0.0f, mode), 0x12345678u) << mode;
  }
  // With source alpha a transparent fill colour is weight zero too.
  EXPECT_EQ(FillOnePixel(0x00FFFFFFu, 0x12345678u, 1.0f, RASTER_OP_ADD | RASTER_OP_SRC_ALPHA),
            0x12345678u);
}

TEST(CombineExamples, ChannelCopyMovesOneByteAndIgnoresWeight) {
  // Source byte 2 (red) into destination byte 0 (blue): mode 0xF0 | 2 | (0 << 2).
  EXPECT_EQ(CopyOnePixel(0x11223344u, 0xAABBCCDDu, 0.01f, RASTER_OP_CHANNEL | 0x2), 0xAABBCC22u);
  EXPECT_EQ(CopyOnePixel(0x11223344u, 0xAABBCCDDu, 1.0f, RASTER_OP_CHANNEL | 0xC), 0x44BBCCDDu);
}

TEST(CombineExamples, FormulasOnSingleChannels) {
  // add: 100 + 200 * 128 / 256 = 200, clamped at 255 for larger sums.
  EXPECT_EQ(CopyOnePixel(0x000000C8u, 0x00000064u, 0.5001f, RASTER_OP_ADD) & 0xFF, 200u);
  EXPECT_EQ(CopyOnePixel(0x000000C8u, 0x00000064u, 1.0f, RASTER_OP_ADD) & 0xFF, 255u);
  // dodge: t = 128 * 256 / 256; 100 * 256 / 128 = 200.
  EXPECT_EQ(CopyOnePixel(0x00000080u, 0x00000064u, 1.0f, RASTER_OP_DODGE) & 0xFF, 200u);
  // multiply at full weight: 100 * (128 - 256 + 256) * 256 / 65536 = 50.
  EXPECT_EQ(CopyOnePixel(0x00000080u, 0x00000064u, 1.0f, RASTER_OP_MULTIPLY) & 0xFF, 50u);
  // overlay at full weight: (100 * (32768 - 32768) / 256 + 32768) * 100 / 32768 = 100.
  EXPECT_EQ(CopyOnePixel(0x00000080u, 0x00000064u, 1.0f, RASTER_OP_OVERLAY) & 0xFF, 100u);
  // blend at w = 64 on every channel: s + (d - s) * 192 / 256.
  EXPECT_EQ(CopyOnePixel(0x00000000u, 0xFFFFFFFFu, 0.25f, RASTER_OP_COPY), 0xBFBFBFBFu);
}

TEST(CombineExamples, IArgbPacksTheLowBytes) {
  EXPECT_EQ((IArgb{255, 0, 0, 0}.ToPixel()), 0xFF000000u);
  EXPECT_EQ((IArgb{0x180, 0x1AB, -1, 0x12}.ToPixel()), 0x80ABFF12u);
}

// The library's loops, row copies and word tricks against the restated arithmetic, on both bitmap
// classes, for every mode and a spread of weights, at an offset that clips on two sides.
TEST(CombineAgreement, EveryModeAndWeightMatchesTheReference) {
  for (Kind kind : {Kind::Mem, Kind::Sys}) {
    for (int mode : kModes) {
      for (float weight : kWeights) {
        PixelSource pixels(static_cast<std::uint32_t>(mode) * 31u + 7u);
        auto dest = MakeBitmap(kind, 23, 17);
        auto src = MakeBitmap(kind, 19, 13);
        FillBitmap(*dest, pixels, kPad);
        FillBitmap(*src, pixels, kPad);
        Picture expected = Snapshot(*dest);
        const RasterRect rect{2, 1, 18, 12};
        reference::CopyArea(expected, Snapshot(*src), 9, -2, &rect, weight, mode);
        RasterCopyArea(dest.get(), src.get(), 9, -2, &rect, weight, mode);
        const Picture actual = Snapshot(*dest);
        ASSERT_EQ(actual.pixels, expected.pixels) << Describe(kind, mode, weight);
        ASSERT_TRUE(PaddingIntact(*dest, kPad)) << Describe(kind, mode, weight);
      }
    }
  }
}

TEST(CombineAgreement, FillMatchesTheReference) {
  const int fillModes[] = {RASTER_OP_COPY,
                           RASTER_OP_COPY | RASTER_OP_SRC_ALPHA,
                           RASTER_OP_ADD,
                           RASTER_OP_DODGE | RASTER_OP_SRC_ALPHA,
                           RASTER_OP_MULTIPLY,
                           RASTER_OP_MULTIPLY | RASTER_OP_SRC_ALPHA,
                           RASTER_OP_OVERLAY,
                           RASTER_OP_CHANNEL | 3,
                           9};
  const std::uint32_t colours[] = {0x80E40303u, 0xFF7F8081u, 0x40FFFFFFu, 0xC0010203u};
  for (Kind kind : {Kind::Mem, Kind::Sys}) {
    for (int mode : fillModes) {
      for (std::uint32_t colour : colours) {
        for (float weight : kWeights) {
          PixelSource pixels(colour ^ static_cast<std::uint32_t>(mode));
          auto dest = MakeBitmap(kind, 21, 9);
          FillBitmap(*dest, pixels, kPad);
          Picture expected = Snapshot(*dest);
          reference::FillArea(expected, -3, 2, 30, 5, colour, weight, mode);
          RasterFillArea(dest.get(), -3, 2, 30, 5, colour, weight, mode);
          ASSERT_EQ(Snapshot(*dest).pixels, expected.pixels)
              << Describe(kind, mode, weight) << " colour " << colour;
          ASSERT_TRUE(PaddingIntact(*dest, kPad));
        }
      }
    }
  }
}

// The whole-word paths at their fixed weights round each half down on its own; the per-channel
// blend at the same integer weight rounds toward the source. They never differ by more than 1.
TEST(CombineAgreement, WordPathsStayWithinOneOfTheChannelBlend) {
  for (int s = 0; s < 256; s += 3) {
    for (int d = 0; d < 256; d += 5) {
      const std::uint32_t sp = 0x01010101u * static_cast<std::uint32_t>(s);
      const std::uint32_t dp = 0x01010101u * static_cast<std::uint32_t>(d);
      const int word = static_cast<int>(CopyOnePixel(sp, dp, 0.5f, RASTER_OP_COPY) & 0xFF);
      const int channel = static_cast<int>(CopyOnePixel(sp, dp, 0.5001f, RASTER_OP_COPY) & 0xFF);
      ASSERT_LE(std::abs(word - channel), 1) << s << " " << d;
      for (float weight : {0.25f, 0.5f, 0.75f}) {
        const int fast = static_cast<int>(FillOnePixel(sp, dp, weight, RASTER_OP_COPY) & 0xFF);
        const int slow =
            static_cast<int>(FillOnePixel(sp, dp, weight + 0.001f, RASTER_OP_COPY) & 0xFF);
        ASSERT_LE(std::abs(fast - slow), 1) << s << " " << d << " " << weight;
      }
    }
  }
  // Full weight: the row copy and the per-pixel copy agree exactly.
  EXPECT_EQ(CopyOnePixel(0x12345678u, 0u, 1.0f, RASTER_OP_COPY),
            CopyOnePixel(0x12345678u, 0u, 1.001f, RASTER_OP_COPY));
  EXPECT_EQ(FillOnePixel(0x12345678u, 0u, 1.0f, RASTER_OP_COPY),
            FillOnePixel(0x12345678u, 0u, 3.0f, RASTER_OP_COPY));
}

// Destination offsets and source rectangles that cross every edge of both bitmaps, into a
// bitmap with guard pixels all around it.
TEST(CombineClipping, EveryEdgeClipsAndNothingIsWrittenOutside) {
  const int kW = 11;
  const int kH = 7;
  const int offsets[] = {
      std::numeric_limits<int>::min(), -20, -9, -8, -1, 0, 1, 3, kW - 1, kW, kW + 1,
      std::numeric_limits<int>::max()};
  const RasterRect rects[] = {{0, 0, 9, 8},
                              {-3, -2, 5, 4},
                              {4, 3, 30, 30},
                              {8, 7, 9, 8},
                              {5, 5, 2, 2},
                              {-30, -30, -20, -20},
                              {12, 0, 20, 5},
                              {std::numeric_limits<int>::min(), 0, 3, 3},
                              {0, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(),
                               std::numeric_limits<int>::max()}};
  for (int mode : {RASTER_OP_COPY, RASTER_OP_COPY | RASTER_OP_SRC_ALPHA, RASTER_OP_ADD}) {
    for (int dx : offsets) {
      for (int dy : {-9, -1, 0, 2, kH - 1, kH, 100}) {
        for (int r = -1; r < static_cast<int>(std::size(rects)); ++r) {
          PixelSource pixels(static_cast<std::uint32_t>(dx) * 7u +
                             static_cast<std::uint32_t>(dy + r));
          GuardedBitmap dest(kW, kH);
          RasterMemBitmap src(9, 8);
          FillPixels(dest, pixels);
          FillPixels(src, pixels);
          Picture expected = Snapshot(dest);
          const RasterRect* rect = r < 0 ? nullptr : &rects[r];
          reference::CopyArea(expected, Snapshot(src), dx, dy, rect, 0.7f, mode);
          RasterCopyArea(&dest, &src, dx, dy, rect, 0.7f, mode);
          ASSERT_TRUE(dest.GuardsIntact()) << dx << "," << dy << " rect " << r;
          ASSERT_EQ(Snapshot(dest).pixels, expected.pixels) << dx << "," << dy << " rect " << r;
        }
      }
    }
  }
}

TEST(CombineClipping, NegativeDestinationStartsFurtherIntoTheSource) {
  RasterMemBitmap src(20, 1);
  RasterMemBitmap dest(20, 1);
  for (int x = 0; x < 20; ++x) {
    src.PixelData()[x] = static_cast<std::uint32_t>(x);
    dest.PixelData()[x] = 0xFFFFFFFFu;
  }
  RasterCopyArea(&dest, &src, -10, 0, nullptr, 1.0f, RASTER_OP_COPY);
  for (int x = 0; x < 10; ++x) {
    EXPECT_EQ(dest.PixelData()[x], static_cast<std::uint32_t>(x + 10));
  }
  EXPECT_EQ(dest.PixelData()[10], 0xFFFFFFFFu);
}

TEST(CombineClipping, FillClipsAtEveryEdge) {
  const int big = std::numeric_limits<int>::max();
  const int small = std::numeric_limits<int>::min();
  const int starts[] = {small, -20, -1, 0, 4, 10, 11, big};
  const int lengths[] = {small, -3, 0, 1, 5, 12, 30, big};
  for (int x : starts) {
    for (int w : lengths) {
      for (int y : {-2, 0, 6, 7}) {
        PixelSource pixels(static_cast<std::uint32_t>(x ^ w));
        GuardedBitmap dest(11, 7);
        FillPixels(dest, pixels);
        Picture expected = Snapshot(dest);
        reference::FillArea(expected, x, y, w, 3, 0x80FF00FFu, 0.6f, RASTER_OP_COPY);
        RasterFillArea(&dest, x, y, w, 3, 0x80FF00FFu, 0.6f, RASTER_OP_COPY);
        ASSERT_TRUE(dest.GuardsIntact()) << x << " " << w << " " << y;
        ASSERT_EQ(Snapshot(dest).pixels, expected.pixels) << x << " " << w << " " << y;
      }
    }
  }
}

TEST(CombineClipping, MissingOrEmptyBitmapsDrawNothing) {
  RasterMemBitmap empty(0, 0);
  RasterMemBitmap one(1, 1);
  one.PixelData()[0] = 5;
  RasterCopyArea(nullptr, &one, 0, 0, nullptr, 1.0f, RASTER_OP_COPY);
  RasterCopyArea(&one, nullptr, 0, 0, nullptr, 1.0f, RASTER_OP_COPY);
  RasterCopyArea(&one, &empty, 0, 0, nullptr, 1.0f, RASTER_OP_COPY);
  RasterCopyArea(&empty, &one, 0, 0, nullptr, 1.0f, RASTER_OP_COPY);
  RasterFillArea(nullptr, 0, 0, 1, 1, 0xFFFFFFFFu, 1.0f, RASTER_OP_COPY);
  RasterFillArea(&empty, 0, 0, 1, 1, 0xFFFFFFFFu, 1.0f, RASTER_OP_COPY);
  EXPECT_EQ(one.PixelData()[0], 5u);
}

// Extreme weights and channel values run every combiner's products at their limits; the
// sanitizer build turns any signed overflow into a failure.
TEST(CombineLimits, ExtremeWeightsStayDefined) {
  const float weights[] = {std::numeric_limits<float>::max(),
                           -std::numeric_limits<float>::max(),
                           std::numeric_limits<float>::infinity(),
                           std::numeric_limits<float>::quiet_NaN(),
                           33.0f,
                           -33.0f};
  const std::uint32_t values[] = {0x00000000u, 0xFFFFFFFFu, 0x80808080u, 0x01FE7F80u, 0xFF00FF00u};
  for (int mode : kModes) {
    for (int op : {mode, RASTER_OP_HSV, RASTER_OP_HSV | RASTER_OP_SRC_ALPHA}) {
      for (float weight : weights) {
        for (std::uint32_t s : values) {
          for (std::uint32_t d : values) {
            const std::uint32_t copied = CopyOnePixel(s, d, weight, op);
            const std::uint32_t filled = FillOnePixel(s, d, weight, op);
            if (std::isnan(weight)) {
              EXPECT_EQ(copied, (op & 0xFF) >= 0xF0 ? CopyOnePixel(s, d, 1.0f, op) : d);
              EXPECT_EQ(filled, d);
            }
          }
        }
      }
    }
  }
}

TEST(CombineHsv, NeutralSourceLeavesEveryColour) {
  PixelSource pixels(99);
  for (int i = 0; i < 20000; ++i) {
    const std::uint32_t d = pixels.Next();
    ASSERT_EQ(CopyOnePixel(0x00808080u, d, 1.0f, RASTER_OP_HSV), d) << std::hex << d;
  }
}

TEST(CombineHsv, RedTurnsHueSaturationAndBlueValue) {
  // Half a turn of hue: red becomes cyan; alpha stays.
  EXPECT_EQ(CopyOnePixel(0x00C08080u, 0x7FFF0000u, 1.0f, RASTER_OP_HSV), 0x7F00FFFFu);
  EXPECT_EQ(CopyOnePixel(0x00408080u, 0x7FFF0000u, 1.0f, RASTER_OP_HSV), 0x7F00FFFFu);
  // No saturation left: grey at the colour's value.
  EXPECT_EQ(CopyOnePixel(0x00800080u, 0xFFC84020u, 1.0f, RASTER_OP_HSV), 0xFFC8C8C8u);
  // Full value up and down.
  EXPECT_EQ(CopyOnePixel(0x008080FFu, 0xFF646464u, 1.0f, RASTER_OP_HSV), 0xFFFFFFFFu);
  EXPECT_EQ(CopyOnePixel(0x00808000u, 0xFF646464u, 1.0f, RASTER_OP_HSV), 0xFF000000u);
  // A quarter weight moves a quarter as far in value: 100 + 127 * 64 / 128 = 163.
  EXPECT_EQ(CopyOnePixel(0x008080FFu, 0xFF646464u, 0.25f, RASTER_OP_HSV), 0xFFA3A3A3u);
  // With source alpha the shift scales by (alpha + 1) / 256: 100 + 127 * 128 / 128 = 227.
  EXPECT_EQ(CopyOnePixel(0x7F8080FFu, 0xFF646464u, 1.0f, RASTER_OP_HSV | RASTER_OP_SRC_ALPHA),
            0xFFE3E3E3u);
}
