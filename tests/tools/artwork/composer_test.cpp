#include "tools/artwork/Canvas.h"
#include "tools/artwork/Composer.h"
#include "tools/artwork/Geometry.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace artwork;

namespace {

RgbaImage Solid(int w, int h, std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) {
  RgbaImage image(w, h);
  for (std::size_t i = 0; i < image.bytes.size(); i += 4) {
    image.bytes[i] = r;
    image.bytes[i + 1] = g;
    image.bytes[i + 2] = b;
    image.bytes[i + 3] = a;
  }
  return image;
}

// Clear pictures of the right sizes over a plain background, so only what a test sets shows.
Artwork PlainArtwork() {
  Artwork artwork;
  for (const ArtworkFile& file : kArtworkFiles) {
    if (file.pixelScale == 1) {
      artwork.ById(file.resourceId) = RgbaImage(file.width, file.height);
    }
  }
  artwork.background = Solid(kEditorWidth, kEditorHeight, 10, 20, 30, 255);
  return artwork;
}

std::string Rgb(const RgbaImage& image, int x, int y) {
  const std::uint8_t* p = image.Row(y) + 4 * x;
  return std::to_string(p[0]) + "," + std::to_string(p[1]) + "," + std::to_string(p[2]);
}

} // namespace

TEST(Composer, MetersFillFromTheBottomAndMixHalfAndHalfInTheEditorsArithmetic) {
  EditorState state;
  state.levels[3][0] = 0.5;
  state.levels[3][1] = 0.25;
  const RgbaImage editor = ComposeEditor(PlainArtwork(), state);
  // Stripe 4 is (0, 128, 38) at alpha 128 over (10, 20, 30): d = s + (d - s) * 127 / 256.
  EXPECT_EQ(Rgb(editor, 300, 199), "10,20,30");
  EXPECT_EQ(Rgb(editor, 279, 200), "4,75,35");
  EXPECT_EQ(Rgb(editor, 371, 299), "4,75,35");
  EXPECT_EQ(Rgb(editor, 300, 300), "1,102,37");
  EXPECT_EQ(Rgb(editor, 372, 399), "10,20,30");
  EXPECT_EQ(Rgb(editor, 278, 399), "10,20,30");
}

TEST(Composer, KnobAndThemeShowTheFrameTheirValueSelects) {
  Artwork artwork = PlainArtwork();
  // Mark the first row of knob frames 1, 241 and 480 and of the theme's second frame.
  for (int row : {0, 46079, 91966}) {
    artwork.knob.Row(row)[3] = 255;
    artwork.knob.Row(row)[0] = static_cast<std::uint8_t>(row % 251);
  }
  artwork.theme.Row(37)[3] = 255;
  artwork.theme.Row(37)[1] = 200;
  EditorState state;
  for (double value : {0.0, 0.5, 1.0}) {
    state.knobValue = value;
    state.themeValue = value;
    const RgbaImage editor = ComposeEditor(artwork, state);
    const int row = value == 0.0 ? 0 : value == 0.5 ? 46079 : 91966;
    EXPECT_EQ(editor.Row(kKnobArea.top)[4 * kKnobArea.left], row % 251) << value;
    EXPECT_EQ(editor.Row(kThemeArea.top)[4 * kThemeArea.left + 1], value >= 0.5 ? 200 : 20)
        << value;
  }
}

TEST(Composer, MagnifyRepeatsPixelsAndKeepsTheCutInsideTheImage) {
  RgbaImage image = Solid(4, 4, 0, 0, 0, 255);
  image.Row(1)[4 * 2] = 99;
  const RgbaImage big = Magnify(image, 2, 1, 1, 1, 3);
  ASSERT_EQ(big.width, 3);
  ASSERT_EQ(big.height, 3);
  EXPECT_EQ(big.Row(2)[8], 99);
  const RgbaImage clipped = Magnify(image, 3, 3, 10, 10, 2);
  EXPECT_EQ(clipped.width, 2);
  EXPECT_EQ(clipped.height, 2);
}

TEST(Pictures, PngFilesKeepStraightAlphaExactly) {
  const Typefaces fonts;
  Canvas canvas(fonts, 8, 2, 1);
  cairo_set_source_rgba(canvas.cr(), 1.0, 0.5, 0.25, 0.5);
  cairo_rectangle(canvas.cr(), 0, 0, 4, 2);
  cairo_fill(canvas.cr());
  const RgbaImage painted = canvas.ToImage();
  // Half-covered orange comes back as orange, not as premultiplied darker orange.
  const std::uint8_t* p = painted.Row(0);
  EXPECT_NEAR(p[0], 255, 1);
  EXPECT_NEAR(p[1], 128, 1);
  EXPECT_NEAR(p[2], 64, 1);
  EXPECT_NEAR(p[3], 128, 1);
  // Untouched pixels are all zero, which keeps clear areas compact.
  EXPECT_EQ(painted.Row(1)[4 * 7 + 0], 0);
  EXPECT_EQ(painted.Row(1)[4 * 7 + 3], 0);

  char path[] = "/tmp/ombrix-png-XXXXXX";
  const int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  ASSERT_TRUE(WritePng(path, painted));
  RgbaImage read;
  ASSERT_TRUE(ReadPng(path, &read));
  std::remove(path);
  EXPECT_EQ(read.width, 8);
  EXPECT_EQ(read.height, 2);
  EXPECT_EQ(read.bytes, painted.bytes);
  EXPECT_FALSE(ReadPng(std::string(path) + ".missing", &read));
}
