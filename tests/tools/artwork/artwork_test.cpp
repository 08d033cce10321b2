#include "tools/artwork/ArtworkSet.h"
#include "tools/artwork/Geometry.h"
#include "tools/artwork/KnobStrip.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace artwork;

namespace {

const std::string kPictureFolder = std::string(OMBRIX_SOURCE_DIR) + "/resources/img";

const Artwork& Committed() {
  static Artwork pictures;
  static const bool loaded = ReadArtwork(kPictureFolder, &pictures);
  EXPECT_TRUE(loaded);
  return pictures;
}

const std::uint8_t* Pixel(const RgbaImage& image, int x, int y) {
  return image.Row(y) + 4 * x;
}

std::vector<char> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool RowIsClear(const RgbaImage& image, int y) {
  for (int x = 0; x < image.width; ++x) {
    if (Pixel(image, x, y)[3] != 0) {
      return false;
    }
  }
  return true;
}

} // namespace

TEST(KnobStrip, FramesStartAtTheNearestRowAsTheKnobControlRoundsIt) {
  EXPECT_EQ(FrameStartRow(1, 480, 92158), 0);
  EXPECT_EQ(FrameStartRow(2, 480, 92158), 192);     // 191.996 rounds up
  EXPECT_EQ(FrameStartRow(241, 480, 92158), 46079); // value 0.5
  EXPECT_EQ(FrameStartRow(480, 480, 92158), 91966); // 91966.004
  EXPECT_EQ(FrameStartRow(1, 1, 400), 0);
  EXPECT_EQ(FrameStartRow(2, 2, 74), 37);
}

TEST(KnobStrip, EveryFrameShowsItsOwnValueInsideItsRows) {
  const RgbaImage& strip = Committed().knob;
  ASSERT_EQ(strip.width, kKnobSize);
  ASSERT_EQ(strip.height, kKnobStripHeight);
  int previousEnd = 0;
  for (int frame = 1; frame <= kKnobFrames; ++frame) {
    SCOPED_TRACE(frame);
    const int top = FrameStartRow(frame, kKnobFrames, kKnobStripHeight);
    // Rows that belong to no frame stay clear, and so do each frame's first and last row, so
    // a reader that rounds one row differently still shows a whole knob.
    for (int y = previousEnd; y < top; ++y) {
      ASSERT_TRUE(RowIsClear(strip, y));
    }
    ASSERT_TRUE(RowIsClear(strip, top));
    ASSERT_TRUE(RowIsClear(strip, top + kKnobFrameHeight - 1));
    previousEnd = top + kKnobFrameHeight;

    // The bead at the end of the value arc sits where the value puts it on the 300 degree dial.
    const double value = static_cast<double>(frame - 1) / (kKnobFrames - 1);
    const double angle = (-kKnobSweepDegrees / 2 + kKnobSweepDegrees * value) * M_PI / 180.0;
    const int beadX = static_cast<int>(std::lround(kKnobCentre + 80.0 * std::sin(angle)));
    const int beadY = static_cast<int>(std::lround(kKnobCentre - 80.0 * std::cos(angle)));
    const std::uint8_t* bead = Pixel(strip, beadX, top + beadY);
    ASSERT_EQ(bead[3], 255);
    ASSERT_GT(bead[0], 200);

    // The top of the dial is lit once the value passes the middle, and not before.
    if (std::fabs(value - 0.5) > 0.01) {
      ASSERT_EQ(Pixel(strip, 96, top + 16)[3] == 255, value > 0.5);
    }
  }
  for (int y = previousEnd; y < kKnobStripHeight; ++y) {
    ASSERT_TRUE(RowIsClear(strip, y));
  }
}

TEST(Artwork, ThemeFramesDifferAndTheButtonNeverHidesTheBadge) {
  const RgbaImage& theme = Committed().theme;
  const RgbaImage& button = Committed().themeButton;
  int differing = 0;
  for (int y = 0; y < kThemeFrameHeight; ++y) {
    for (int x = 0; x < kThemeWidth; ++x) {
      const std::uint8_t* rest = Pixel(theme, x, y);
      const std::uint8_t* beat = Pixel(theme, x, y + kThemeFrameHeight);
      differing += (std::abs(rest[0] - beat[0]) + std::abs(rest[1] - beat[1]) +
                    std::abs(rest[2] - beat[2])) > 24;
      // Over the badge's name and bars, off may dim and on leaves alone; neither covers.
      if (x < 110) {
        EXPECT_LE(Pixel(button, x, y)[3], 160) << x << "," << y;
        EXPECT_EQ(Pixel(button, x, y + kThemeFrameHeight)[3], 0) << x << "," << y;
      }
    }
  }
  EXPECT_GT(differing, kThemeWidth * kThemeFrameHeight / 10);
}

TEST(Artwork, PagesAndBackgroundAreOpaqueWhileThePanelLetsTheStripesThrough) {
  for (int id : {102, 103, 104, 105}) {
    const RgbaImage& image = Committed().ById(id);
    for (std::size_t i = 3; i < image.bytes.size(); i += 4) {
      ASSERT_EQ(image.bytes[i], 255) << "picture " << id;
    }
  }
  const RgbaImage& panel = Committed().panel;
  // Most of the panel lets at least two thirds of a stripe's colour through.
  std::size_t seeThrough = 0;
  for (std::size_t i = 3; i < panel.bytes.size(); i += 4) {
    seeThrough += panel.bytes[i] < 85;
  }
  EXPECT_GT(seeThrough, panel.bytes.size() / 4 * 6 / 10);
}

TEST(Artwork, GeneratorRepaintsTheCommittedPicturesByteForByte) {
  char folder[] = "/tmp/ombrix-artwork-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  {
    const Typefaces fonts;
    ASSERT_TRUE(WriteArtwork(fonts, folder));
  }
  for (const ArtworkFile& file : kArtworkFiles) {
    SCOPED_TRACE(file.fileName);
    const std::string fresh = std::string(folder) + "/" + file.fileName;
    EXPECT_TRUE(FileBytes(fresh) == FileBytes(kPictureFolder + "/" + file.fileName))
        << "run ombrix_artwork resources/img and commit the pictures";
    std::remove(fresh.c_str());
  }
  std::remove(folder);
}
