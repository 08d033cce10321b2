#include "TestBitmaps.h"

#include "raster/GlyphMask.h"
#include "raster/RasterBlit.h"
#include "raster/RasterFont.h"
#include "raster/RasterMemBitmap.h"
#include "raster/TextStyle.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {
using Mask = std::vector<std::uint8_t>;

Mask Finish(Mask mask, int* width, int* height, std::uint32_t flags) {
  FinishGlyphMask(mask, width, height, flags);
  return mask;
}

void Fill(RasterBitmap& bitmap, std::uint32_t value) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      bitmap.PixelData()[y * bitmap.RowSpan() + x] = value;
    }
  }
}

std::uint32_t Pixel(RasterBitmap& bitmap, int x, int y) {
  return bitmap.PixelData()[y * bitmap.RowSpan() + x];
}

RasterRect Whole(RasterBitmap& bitmap) {
  return RasterRect{0, 0, bitmap.Width(), bitmap.Height()};
}
} // namespace

TEST(GlyphMask, TakesTheRedChannelOptionallyInverted) {
  const std::uint32_t pixels[] = {0xFF102030u, 0x00FF0000u, 0, 0, 0x0000FF00u, 0xFFFFFFFFu, 0, 0};
  Mask mask;
  TakeGlyphMask(pixels, 4, 2, 2, false, mask);
  EXPECT_EQ(mask, (Mask{0x10, 0xFF, 0x00, 0xFF}));
  TakeGlyphMask(pixels, 4, 2, 2, true, mask);
  EXPECT_EQ(mask, (Mask{0xEF, 0x00, 0xFF, 0x00}));
}

TEST(GlyphMask, MonoThresholdIsAbove130) {
  int width = 4;
  int height = 1;
  EXPECT_EQ(Finish({0, 130, 131, 255}, &width, &height, FontMono), (Mask{0, 0, 255, 255}));
}

TEST(GlyphMask, RotationTurnsAQuarterEitherWay) {
  // 3 wide, 2 high:  1 2 3
  //                  4 5 6
  const Mask mask{1, 2, 3, 4, 5, 6};
  int width = 3;
  int height = 2;
  // Row r is column r read bottom to top.
  EXPECT_EQ(Finish(mask, &width, &height, FontRotate), (Mask{4, 1, 5, 2, 6, 3}));
  EXPECT_EQ(width, 2);
  EXPECT_EQ(height, 3);
  width = 3;
  height = 2;
  // Row r is column (width - 1 - r) read top to bottom.
  EXPECT_EQ(Finish(mask, &width, &height, FontRotate | FontRotateUp), (Mask{3, 6, 2, 5, 1, 4}));
  width = 3;
  height = 2;
  EXPECT_EQ(Finish(mask, &width, &height, FontRotateUp), mask) << "FontRotateUp alone is no turn";
}

TEST(GlyphMask, ShadowFallsRightAndDown) {
  int width = 3;
  int height = 3;
  const Mask shadow = Finish({0, 0, 0, 0, 200, 0, 0, 0, 0}, &width, &height, FontShadow);
  EXPECT_EQ(shadow, (Mask{0, 0, 0, 0, 255, 128, 0, 128, 128}));
}

TEST(GlyphMask, OutlineSurroundsOnFourSides) {
  int width = 3;
  int height = 3;
  const Mask outline = Finish({0, 0, 0, 0, 131, 0, 0, 0, 0}, &width, &height, FontOutline);
  EXPECT_EQ(outline, (Mask{0, 128, 0, 128, 255, 128, 0, 128, 0}));
  // Weak coverage is thresholded away before the halo is marked.
  width = 3;
  height = 1;
  EXPECT_EQ(Finish({0, 130, 0}, &width, &height, FontOutline), (Mask{0, 0, 0}));
}

TEST(GlyphMask, CopyBlendMakesCoveredPixelsOpaqueInk) {
  RasterMemBitmap bitmap(3, 1);
  Fill(bitmap, 0x00204060u);
  GlyphPaint paint;
  paint.inkColour = 0xFF000000u;
  const Mask mask{255, 127, 0};
  ASSERT_TRUE(DrawGlyphMask(&bitmap, mask.data(), 3, 1, 0, 0, Whole(bitmap), paint));
  EXPECT_EQ(Pixel(bitmap, 0, 0), 0xFF000000u) << "weight 256: the ink itself";
  // Weight 128: each channel halves toward the ink; alpha (0 - 255) * 128 / 256 - 1 = -128.
  EXPECT_EQ(Pixel(bitmap, 1, 0), 0x80102030u);
  EXPECT_EQ(Pixel(bitmap, 2, 0), 0x00204060u) << "no coverage leaves the pixel";
}

TEST(GlyphMask, PartialAlphaScalesTheCoverage) {
  RasterMemBitmap bitmap(1, 1);
  Fill(bitmap, 0xFF000000u);
  GlyphPaint paint;
  paint.inkColour = 0xFFFFFFFFu;
  paint.alpha = 0.5f;
  const Mask mask{255};
  DrawGlyphMask(&bitmap, mask.data(), 1, 1, 0, 0, Whole(bitmap), paint);
  // a = 128, weight = 128 * 255 / 256 = 127: 255 + (0 - 255) * 129 / 256 = 127.
  EXPECT_EQ(Pixel(bitmap, 0, 0), 0xFF7F7F7Fu);
}

TEST(GlyphMask, MultiplyDarkensAndKeepsAlmostAllAlpha) {
  RasterMemBitmap bitmap(1, 1);
  Fill(bitmap, 0x80C8C8C8u);
  GlyphPaint paint;
  paint.inkColour = 0xFF000000u;
  paint.blendMode = RASTER_OP_MULTIPLY;
  const Mask mask{255};
  DrawGlyphMask(&bitmap, mask.data(), 1, 1, 0, 0, Whole(bitmap), paint);
  // weight 256: channels 200 * (0 + 0) / 65536 = 0; alpha 128 * (65536 - 256) / 65536 = 127.
  EXPECT_EQ(Pixel(bitmap, 0, 0), 0x7F000000u);
}

TEST(GlyphMask, TwoLevelMasksUseInkAndHalo) {
  RasterMemBitmap bitmap(3, 1);
  Fill(bitmap, 0x11111111u);
  GlyphPaint paint;
  paint.inkColour = 0x12345678u;
  paint.haloColour = 0xFFFFFFFFu;
  paint.fontFlags = FontShadow;
  const Mask mask{255, 128, 0};
  DrawGlyphMask(&bitmap, mask.data(), 3, 1, 0, 0, Whole(bitmap), paint);
  EXPECT_EQ(Pixel(bitmap, 0, 0), 0x12345678u) << "exact ink word, alpha included";
  EXPECT_EQ(Pixel(bitmap, 1, 0), 0xFFFFFFFFu);
  EXPECT_EQ(Pixel(bitmap, 2, 0), 0x11111111u);

  // At half weight the copy combiner blends all four channels.
  Fill(bitmap, 0x00000000u);
  paint.fontFlags = FontMono;
  paint.inkColour = 0xFFC86400u;
  paint.alpha = 0.5f;
  DrawGlyphMask(&bitmap, mask.data(), 3, 1, 0, 0, Whole(bitmap), paint);
  EXPECT_EQ(Pixel(bitmap, 0, 0), 0x80643200u);
}

TEST(GlyphMask, OpaquePaperFillsTheCutCell) {
  RasterMemBitmap bitmap(4, 2);
  Fill(bitmap, 0xFF000000u);
  GlyphPaint paint;
  paint.inkColour = 0xFFFFFFFFu;
  paint.paperColour = 0xFF0000FFu;
  paint.paperMode = PaperOpaque;
  paint.blendMode = RASTER_OP_SRC_ALPHA;
  const Mask mask{0, 255, 0, 0};
  const RasterRect clip{0, 0, 3, 2};
  ASSERT_TRUE(DrawGlyphMask(&bitmap, mask.data(), 2, 2, 1, 0, clip, paint));
  EXPECT_EQ(Pixel(bitmap, 0, 0), 0xFF000000u);
  EXPECT_EQ(Pixel(bitmap, 1, 0), 0xFF0000FFu);
  EXPECT_EQ(Pixel(bitmap, 2, 0), 0xFFFFFFFFu);
  EXPECT_EQ(Pixel(bitmap, 2, 1), 0xFF0000FFu);
  EXPECT_EQ(Pixel(bitmap, 3, 0), 0xFF000000u) << "outside the clip";
}

TEST(GlyphMask, ClippingNeverWritesOutsideTheBitmap) {
  GuardedBitmap bitmap(4, 4);
  Fill(bitmap, 0);
  GlyphPaint paint;
  paint.inkColour = 0xFFFFFFFFu;
  const Mask mask(36, 255);
  const RasterRect clip = Whole(bitmap);
  for (int y = -7; y <= 5; ++y) {
    for (int x = -7; x <= 5; ++x) {
      const bool inside = x > -6 && y > -6 && x < 4 && y < 4;
      EXPECT_EQ(DrawGlyphMask(&bitmap, mask.data(), 6, 6, x, y, clip, paint), inside);
    }
  }
  EXPECT_TRUE(bitmap.GuardsIntact());
  // Clipped on the left and top, the mask is read from the matching offset.
  Fill(bitmap, 0);
  Mask ramp(36, 0);
  ramp[2 * 6 + 3] = 255;
  DrawGlyphMask(&bitmap, ramp.data(), 6, 6, -3, -2, clip, paint);
  EXPECT_EQ(Pixel(bitmap, 0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(Pixel(bitmap, 1, 0), 0u);
}

TEST(GlyphMask, ZeroAlphaDrawsNothing) {
  RasterMemBitmap bitmap(1, 1);
  Fill(bitmap, 0x01020304u);
  GlyphPaint paint;
  paint.alpha = 0.0f;
  const Mask mask{255};
  DrawGlyphMask(&bitmap, mask.data(), 1, 1, 0, 0, Whole(bitmap), paint);
  EXPECT_EQ(Pixel(bitmap, 0, 0), 0x01020304u);
}

// Without platform fonts no style resolves to a font and text measures and draws as nothing.
TEST(CachedFontWithoutPlatformFont, MeasuresAndDrawsNothing) {
#ifndef _WIN32
  ITextStyle style;
  EXPECT_EQ(FontForStyle(&style), nullptr);
  EXPECT_EQ(style.cachedFont, nullptr);
#endif
  RasterCachedFont font;
  RasterMemBitmap bitmap(8, 8);
  RasterRect rect{2, 3, 2, 3};
  EXPECT_EQ(font.RenderText(nullptr, "AB", -1, &rect, TextCalcRect), 0);
  EXPECT_EQ(rect.right, 2);
  EXPECT_EQ(rect.bottom, 3);
  rect = RasterRect{0, 0, 8, 8};
  EXPECT_EQ(font.RenderText(&bitmap, "AB", -1, &rect, 0), 0);
  EXPECT_EQ(font.RenderText(nullptr, "AB", -1, &rect, 0), 0) << "drawing needs a bitmap";
  EXPECT_EQ(font.Glyph('A'), nullptr);
}
