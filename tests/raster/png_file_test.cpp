#include "PngTestImages.h"

#include "raster/RasterImageReader.h"
#include "raster/RasterMemBitmap.h"
#include "raster/RasterPng.h"
#include "raster/RasterSysBitmap.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {
// A 3 x 2 opaque RGB picture whose rows differ, so their order shows.
PngPicture SmallPicture() {
  PngPicture picture;
  picture.width = 3;
  picture.height = 2;
  picture.colourType = PNG_COLOR_TYPE_RGB;
  picture.rows = {{1, 2, 3, 4, 5, 6, 7, 8, 9}, {10, 11, 12, 13, 14, 15, 16, 17, 18}};
  return picture;
}

class PngFiles : public ::testing::Test {
protected:
  void SetUp() override {
    folder = fs::temp_directory_path() /
             ("ombrix-png-" +
              std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }

  // Writes bytes under a UTF-8 file name and returns the full name in UTF-8.
  std::string Write(const std::string& utf8Name, const std::vector<std::uint8_t>& bytes) {
    const fs::path path = folder / fs::u8path(utf8Name);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return path.u8string();
  }

  fs::path folder;
};

// Answers a fixed size or refuses every size, and may store its rows bottom first.
class FixedBitmap : public RasterBitmap {
public:
  FixedBitmap(bool acceptsSizes, bool bottomUp) : acceptsSizes(acceptsSizes), bottomUp(bottomUp) {}
  std::uint32_t* PixelData() override { return pixels.empty() ? nullptr : pixels.data(); }
  int Width() override { return width; }
  int Height() override { return height; }
  int RowSpan() override { return width; }
  bool IsBottomUp() override { return bottomUp; }
  bool SetSize(int w, int h) override {
    if (!acceptsSizes) {
      return false;
    }
    width = w;
    height = h;
    pixels.assign(static_cast<std::size_t>(w) * h, 0);
    return true;
  }

private:
  bool acceptsSizes;
  bool bottomUp;
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};
} // namespace

TEST_F(PngFiles, ReadsIntoANewBitmapAndChecksTheExtension) {
  const std::vector<std::uint8_t> png = EncodePng(SmallPicture());
  const std::string upper = Write("picture.PNG", png);
  std::unique_ptr<RasterBitmap> bitmap(RasterReadPngFile(upper.c_str(), true, nullptr));
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->Width(), 3);
  EXPECT_EQ(bitmap->PixelData()[0], 0xFF010203u);
  EXPECT_EQ(bitmap->PixelData()[bitmap->RowSpan() + 2], 0xFF101112u);

  const std::string backup = Write("picture.png.bak", png);
  EXPECT_EQ(RasterReadPngFile(backup.c_str(), true, nullptr), nullptr);
  std::unique_ptr<RasterBitmap> unchecked(RasterReadPngFile(backup.c_str(), false, nullptr));
  EXPECT_NE(unchecked, nullptr);
  fs::create_directories(folder / "dir.png");
  const std::string inFolder = Write("dir.png/picture", png);
  EXPECT_EQ(RasterReadPngFile(inFolder.c_str(), true, nullptr), nullptr);
  EXPECT_EQ(RasterReadPngFile(nullptr, false, nullptr), nullptr);
}

TEST_F(PngFiles, MissingOrBrokenFilesGiveNone) {
  EXPECT_EQ(RasterReadPngFile((folder / "absent.png").u8string().c_str(), true, nullptr), nullptr);
  const std::string text = Write("text.png", {'n', 'o', 't', ' ', 'p', 'n', 'g'});
  EXPECT_EQ(RasterReadPngFile(text.c_str(), true, nullptr), nullptr);
  std::vector<std::uint8_t> png = EncodePng(SmallPicture());
  png.resize(png.size() / 2);
  const std::string cut = Write("cut.png", png);
  EXPECT_EQ(RasterReadPngFile(cut.c_str(), true, nullptr), nullptr);
}

TEST_F(PngFiles, NonAsciiNamesAreUtf8) {
  const std::string name = Write("\xC3\xA4rger \xE2\x82\xAC.png", EncodePng(SmallPicture()));
  std::unique_ptr<RasterBitmap> bitmap(RasterReadPngFile(name.c_str(), true, nullptr));
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->Height(), 2);
}

TEST_F(PngFiles, FillsAGivenBitmapInItsRowOrder) {
  const std::string name = Write("fill.png", EncodePng(SmallPicture()));
  RasterSysBitmap system(1, 1);
  EXPECT_EQ(RasterReadPngFile(name.c_str(), true, &system), &system);
  EXPECT_EQ(system.Width(), 3);
  EXPECT_EQ(system.PixelData()[0], 0xFF010203u);

  FixedBitmap bottomUp(true, true);
  EXPECT_EQ(RasterReadPngFile(name.c_str(), true, &bottomUp), &bottomUp);
  EXPECT_EQ(bottomUp.PixelData()[0], 0xFF0A0B0Cu);
  EXPECT_EQ(bottomUp.PixelData()[3], 0xFF010203u);

  FixedBitmap refusing(false, false);
  EXPECT_EQ(RasterReadPngFile(name.c_str(), true, &refusing), nullptr);
}

TEST(PngReaderChain, StartsWithThePngReader) {
  RasterImageReader* reader = RasterFirstImageReader();
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(reader->read, &RasterReadPngFile);
  EXPECT_STREQ(reader->typeLabel(), "PNG files (*.PNG)");
  EXPECT_STREQ(RasterPngTypeLabel(), "PNG files (*.PNG)");
}
