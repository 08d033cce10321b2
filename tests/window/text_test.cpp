#include "raster/RasterFont.h"
#include "raster/RasterMemBitmap.h"
#include "raster/RasterSysBitmap.h"
#include "raster/TextStyle.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
RasterCachedFont* StyleFont(int size = 12, int emphasis = EmphasisPlain) {
  ITextStyle style;
  style.size = size;
  style.emphasis = emphasis;
  return FontForStyle(&style);
}

RasterRect Measure(RasterFont& font, const char* text, std::uint32_t format = 0) {
  RasterRect rect{0, 0, 0, 0};
  font.RenderText(nullptr, text, -1, &rect, format | TextCalcRect);
  return rect;
}

void Clear(RasterBitmap& bitmap, std::uint32_t value) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      bitmap.PixelData()[y * bitmap.RowSpan() + x] = value;
    }
  }
}

int CountNot(RasterBitmap& bitmap, std::uint32_t value) {
  int count = 0;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      count += bitmap.PixelData()[y * bitmap.RowSpan() + x] != value;
    }
  }
  return count;
}
} // namespace

TEST(TextStyles, StylesWithTheSameKeyShareOneFont) {
  ITextStyle first;
  first.emphasis = EmphasisBold;
  ITextStyle second = first;
  second.colour = IArgb{255, 200, 0, 0};
  second.alignment = AlignLeft;
  RasterCachedFont* font = FontForStyle(&first);
  ASSERT_NE(font, nullptr) << "GDI makes a font for any face name";
  EXPECT_EQ(first.cachedFont, font);
  EXPECT_EQ(FontForStyle(&second), font) << "colour and alignment are not part of the key";
  EXPECT_EQ(second.cachedFont, font);
  ITextStyle plain;
  EXPECT_NE(FontForStyle(&plain), font);
  ITextStyle otherFace = first;
  std::strcpy(otherFace.face, "verdana");
  EXPECT_NE(FontForStyle(&otherFace), font) << "faces compare case-sensitively";
  EXPECT_GT(font->LineHeight(), 0);
  EXPECT_TRUE(font->Flags() & FontOwnsHandle);
  EXPECT_TRUE(font->Flags() & FontNativeOk);
}

TEST(TextMeasuring, WidthIsTheSumOfAdvancesWhileCapitalsPaintWider) {
  RasterCachedFont* font = StyleFont();
  ASSERT_NE(font, nullptr);
  const RasterGlyph* a = font->Glyph('A');
  const RasterGlyph* b = font->Glyph('B');
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_GT(a->advance, 0);
  EXPECT_EQ(a->width, a->advance + 2);
  EXPECT_EQ(b->width, b->advance + 2);
  EXPECT_EQ(font->Glyph('a')->width, font->Glyph('a')->advance);
  const RasterRect ab = Measure(*font, "AB");
  EXPECT_EQ(ab.right, a->advance + b->advance);
  EXPECT_EQ(ab.bottom, font->LineHeight());
}

TEST(TextMeasuring, LineFeedsStartLinesUnlessSingleLine) {
  RasterCachedFont font;
  font.UseGdiFont(StyleFont()->GdiFont(), 0);
  font.SetLineSpacing(3);
  const int line = font.LineHeight();
  const RasterRect twoLines = Measure(font, "a\nb");
  EXPECT_EQ(twoLines.bottom, 2 * line + 3);
  EXPECT_EQ(twoLines.right, std::max(font.Glyph('a')->advance, font.Glyph('b')->advance));
  const RasterRect oneLine = Measure(font, "a\nb", TextSingleLine);
  EXPECT_EQ(oneLine.bottom, line);
  EXPECT_EQ(oneLine.right,
            font.Glyph('a')->advance + font.Glyph(' ')->advance + font.Glyph('b')->advance);
  EXPECT_EQ(Measure(font, "a\r\nb").bottom, 2 * line + 3) << "carriage returns are skipped";
}

TEST(TextMeasuring, ByteSequencesMeasureAsTheirCharacters) {
  RasterCachedFont* font = StyleFont();
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(Measure(*font, "\xF0\x9F\x98\x80").right, Measure(*font, " ").right);
  const RasterGlyph* lone = font->Glyph(0x80);
  ASSERT_NE(lone, nullptr);
  EXPECT_EQ(Measure(*font, "\x80").right, lone->advance);
  EXPECT_EQ(Measure(*font, "\xC3\xA9").right, font->Glyph(0xE9)->advance);
}

TEST(TextDrawing, DrawsGlyphsInTheInkColourUnderWine) {
  RasterCachedFont* font = StyleFont(16);
  ASSERT_NE(font, nullptr);
  RasterMemBitmap bitmap(80, 30);
  Clear(bitmap, 0xFFFFFFFFu);
  font->SetInkColour(0xFF000000u);
  RasterRect rect{0, 0, 80, 30};
  // Wine's own text drawing differs, so the renderer blends its cached masks here.
  const int height = font->RenderText(&bitmap, "Ombrix", -1, &rect, 0);
  EXPECT_GT(height, 0);
  EXPECT_LE(height, font->LineHeight());
  EXPECT_GT(CountNot(bitmap, 0xFFFFFFFFu), 20);
  // A system bitmap (with a device context) is drawn the same way.
  RasterSysBitmap system(80, 30);
  Clear(system, 0xFFFFFFFFu);
  EXPECT_EQ(font->RenderText(&system, "Ombrix", -1, &rect, 0), height);
  EXPECT_EQ(CountNot(system, 0xFFFFFFFFu), CountNot(bitmap, 0xFFFFFFFFu));
}

TEST(TextDrawing, ZeroOpacityDrawsNothing) {
  RasterCachedFont font;
  font.UseGdiFont(StyleFont()->GdiFont(), 0);
  RasterMemBitmap bitmap(40, 20);
  Clear(bitmap, 0xFF808080u);
  RasterRect rect{0, 0, 40, 20};
  font.SetBlend(0, 0.0f);
  EXPECT_EQ(font.RenderText(&bitmap, "Hi", -1, &rect, 0), 0);
  font.SetBlend(0, 1.0f);
  font.SetInkColour(0x00000000u);
  EXPECT_EQ(font.RenderText(&bitmap, "Hi", -1, &rect, TextUseInkAlpha), 0);
  EXPECT_EQ(CountNot(bitmap, 0xFF808080u), 0);
  EXPECT_EQ(font.RenderText(nullptr, "Hi", -1, &rect, 0), 0) << "drawing needs a bitmap";
}

TEST(TextDrawing, MonoFontsDrawOnlyInkOrNothing) {
  RasterCachedFont font;
  font.UseGdiFont(StyleFont(20)->GdiFont(), FontMono);
  font.SetInkColour(0xFF123456u);
  RasterMemBitmap bitmap(60, 30);
  Clear(bitmap, 0xFFFFFFFFu);
  RasterRect rect{0, 0, 60, 30};
  font.RenderText(&bitmap, "Wg", -1, &rect, 0);
  int ink = 0;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      const std::uint32_t pixel = bitmap.PixelData()[y * bitmap.RowSpan() + x];
      ASSERT_TRUE(pixel == 0xFFFFFFFFu || pixel == 0xFF123456u) << std::hex << pixel;
      ink += pixel == 0xFF123456u;
    }
  }
  EXPECT_GT(ink, 10);
}

TEST(TextDrawing, AlignmentPlacesTheMeasuredBlock) {
  RasterCachedFont font;
  font.UseGdiFont(StyleFont()->GdiFont(), 0);
  font.SetInkColour(0xFF000000u);
  RasterMemBitmap bitmap(100, 40);
  const RasterRect size = Measure(font, "l");
  RasterRect rect{0, 0, 100, 40};
  Clear(bitmap, 0xFFFFFFFFu);
  font.RenderText(&bitmap, "l", -1, &rect, TextRight | TextBottom);
  int leftmost = 100;
  int topmost = 40;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 100; ++x) {
      if (bitmap.PixelData()[y * bitmap.RowSpan() + x] != 0xFFFFFFFFu) {
        leftmost = std::min(leftmost, x);
        topmost = std::min(topmost, y);
      }
    }
  }
  EXPECT_GE(leftmost, 100 - size.right);
  EXPECT_GE(topmost, 40 - size.bottom);
}
