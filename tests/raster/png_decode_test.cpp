#include "PngTestImages.h"
#include "TestBitmaps.h"

#include "raster/RasterPng.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <vector>

namespace {
std::uint32_t PixelAt(RasterBitmap& bitmap, int x, int y) {
  return bitmap.PixelData()[y * bitmap.RowSpan() + x];
}

std::unique_ptr<RasterMemBitmap> Decode(const std::vector<std::uint8_t>& png) {
  return RasterDecodePngBytes(png.data(), png.size());
}

// 13 x 11 RGBA: odd sizes leave padding in every row and make uneven interlace passes.
PngPicture RgbaPicture(bool interlaced) {
  PngPicture picture;
  picture.width = 13;
  picture.height = 11;
  picture.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
  picture.interlaced = interlaced;
  PixelSource pixels(42);
  for (int y = 0; y < picture.height; ++y) {
    std::vector<std::uint8_t> row;
    for (int x = 0; x < picture.width; ++x) {
      const std::uint32_t p = pixels.Next();
      row.insert(row.end(), {std::uint8_t(p >> 16), std::uint8_t(p >> 8), std::uint8_t(p),
                             std::uint8_t(p >> 24)});
    }
    picture.rows.push_back(row);
  }
  return picture;
}

void ExpectRgbaPixels(RasterBitmap& bitmap, const PngPicture& picture) {
  ASSERT_EQ(bitmap.Width(), picture.width);
  ASSERT_EQ(bitmap.Height(), picture.height);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const std::uint8_t* p = &picture.rows[y][x * 4];
      const std::uint32_t expected = (std::uint32_t(p[3]) << 24) | (std::uint32_t(p[0]) << 16) |
                                     (std::uint32_t(p[1]) << 8) | p[2];
      ASSERT_EQ(PixelAt(bitmap, x, y), expected) << x << "," << y;
    }
  }
}
} // namespace

TEST(PngDecode, RgbaRowsBecomeArgbWordsPlainAndInterlaced) {
  for (bool interlaced : {false, true}) {
    const PngPicture picture = RgbaPicture(interlaced);
    auto bitmap = Decode(EncodePng(picture));
    ASSERT_NE(bitmap, nullptr);
    ExpectRgbaPixels(*bitmap, picture);
  }
}

TEST(PngDecode, PaletteWithTransparencyGivesThePaletteAlpha) {
  PngPicture picture;
  picture.width = 3;
  picture.height = 2;
  picture.bitDepth = 4;
  picture.colourType = PNG_COLOR_TYPE_PALETTE;
  picture.palette = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
  picture.paletteAlpha = {0, 128, 255}; // entry 3 has no alpha: opaque
  picture.rows = {{0x01, 0x20}, {0x33, 0x00}};
  auto bitmap = Decode(EncodePng(picture));
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(PixelAt(*bitmap, 0, 0), 0x00FF0000u);
  EXPECT_EQ(PixelAt(*bitmap, 1, 0), 0x8000FF00u);
  EXPECT_EQ(PixelAt(*bitmap, 2, 0), 0xFF0000FFu);
  EXPECT_EQ(PixelAt(*bitmap, 0, 1), 0xFFFFFFFFu);
  EXPECT_EQ(PixelAt(*bitmap, 1, 1), 0xFFFFFFFFu);
  EXPECT_EQ(PixelAt(*bitmap, 2, 1), 0x00FF0000u);
}

TEST(PngDecode, SixteenBitRgbKeepsTheHighBytesAndIsOpaque) {
  PngPicture picture;
  picture.width = 2;
  picture.height = 1;
  picture.bitDepth = 16;
  picture.colourType = PNG_COLOR_TYPE_RGB;
  picture.rows = {{0xAB, 0xCD, 0x12, 0x34, 0x00, 0xFF, 0xFF, 0xFF, 0x80, 0x00, 0x01, 0x02}};
  auto bitmap = Decode(EncodePng(picture));
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(PixelAt(*bitmap, 0, 0), 0xFFAB1200u);
  EXPECT_EQ(PixelAt(*bitmap, 1, 0), 0xFFFF8001u);
}

TEST(PngDecode, OneBitGreyIsBlackAndWhite) {
  PngPicture picture;
  picture.width = 10;
  picture.height = 2;
  picture.bitDepth = 1;
  picture.colourType = PNG_COLOR_TYPE_GRAY;
  picture.rows = {{0xA5, 0x80}, {0x0F, 0x40}};
  auto bitmap = Decode(EncodePng(picture));
  ASSERT_NE(bitmap, nullptr);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 10; ++x) {
      const bool set = (picture.rows[y][x / 8] >> (7 - x % 8)) & 1;
      EXPECT_EQ(PixelAt(*bitmap, x, y), set ? 0xFFFFFFFFu : 0xFF000000u) << x << "," << y;
    }
  }
}

TEST(PngDecode, GreyWithAlphaAndGreyWithTransparentValue) {
  PngPicture greyAlpha;
  greyAlpha.width = 2;
  greyAlpha.height = 1;
  greyAlpha.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
  greyAlpha.rows = {{0x40, 0x80, 0xF0, 0x00}};
  auto bitmap = Decode(EncodePng(greyAlpha));
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(PixelAt(*bitmap, 0, 0), 0x80404040u);
  EXPECT_EQ(PixelAt(*bitmap, 1, 0), 0x00F0F0F0u);

  PngPicture keyed;
  keyed.width = 2;
  keyed.height = 1;
  keyed.colourType = PNG_COLOR_TYPE_RGB;
  keyed.transparentColour = {0x10, 0x20, 0x30};
  keyed.rows = {{0x10, 0x20, 0x30, 0x10, 0x20, 0x31}};
  bitmap = Decode(EncodePng(keyed));
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(PixelAt(*bitmap, 0, 0), 0x00102030u);
  EXPECT_EQ(PixelAt(*bitmap, 1, 0), 0xFF102031u);
}

TEST(PngDecode, DataWithoutASignatureOrBodyGivesNone) {
  const std::vector<std::uint8_t> png = EncodePng(RgbaPicture(false));
  EXPECT_EQ(RasterDecodePngBytes(nullptr, 100), nullptr);
  EXPECT_EQ(RasterDecodePngBytes(png.data(), 7), nullptr);
  // Exactly the signature passes the first check and then fails inside libpng.
  EXPECT_EQ(RasterDecodePngBytes(png.data(), 8), nullptr);
  std::vector<std::uint8_t> wrong = png;
  wrong[1] = 'Q';
  EXPECT_EQ(Decode(wrong), nullptr);
}

// Every cut before the end of the image data fails through the error return; cuts that lose
// only the closing chunk still give the whole image.
TEST(PngDecode, TruncatedDataGivesNone) {
  for (bool interlaced : {false, true}) {
    const PngPicture picture = RgbaPicture(interlaced);
    const std::vector<std::uint8_t> png = EncodePng(picture);
    const std::size_t imageEnd = FindChunks(png, "IEND").at(0);
    for (std::size_t length = 0; length < png.size(); ++length) {
      auto bitmap = RasterDecodePngBytes(png.data(), length);
      if (length < imageEnd) {
        ASSERT_EQ(bitmap, nullptr) << length;
      } else {
        ASSERT_NE(bitmap, nullptr) << length;
        ExpectRgbaPixels(*bitmap, picture);
      }
    }
  }
}

// Corruptions that keep the chunk checksums valid reach the inflater, the row filters and the
// header checks. None may crash or read outside the data (the sanitizer build watches).
TEST(PngDecode, CorruptDataNeverCrashes) {
  const std::vector<std::uint8_t> png = EncodePng(RgbaPicture(true));
  const std::size_t idat = FindChunks(png, "IDAT").at(0);
  const std::size_t idatLength = (std::size_t(png[idat + 2]) << 8) | png[idat + 3];
  PixelSource noise(7);
  int decoded = 0;
  for (int round = 0; round < 400; ++round) {
    std::vector<std::uint8_t> damaged = png;
    for (int flips = 0; flips < 1 + round % 4; ++flips) {
      const std::uint32_t r = noise.Next();
      damaged[idat + 8 + r % idatLength] ^= static_cast<std::uint8_t>(1u << ((r >> 8) % 8));
    }
    FixChunkCrc(damaged, idat);
    auto bitmap = Decode(damaged);
    if (bitmap) {
      ++decoded;
      EXPECT_EQ(bitmap->Width(), 13);
    }
  }
  // Most damage is caught; some only changes pixel values.
  EXPECT_LT(decoded, 400);

  const std::size_t ihdr = FindChunks(png, "IHDR").at(0);
  const std::vector<std::pair<std::size_t, std::uint8_t>> badHeaders = {
      {8 + 3, 0}, {8 + 7, 0}, {16, 3}, {17, 5}, {17, 7}, {18, 1}, {19, 9}, {20, 2}};
  for (const auto& change : badHeaders) {
    std::vector<std::uint8_t> damaged = png;
    damaged[ihdr + change.first] = change.second;
    FixChunkCrc(damaged, ihdr);
    EXPECT_EQ(Decode(damaged), nullptr) << change.first;
  }
}

// A header can claim any size: one that no bitmap can hold is refused before any row is read.
TEST(PngDecode, HugeClaimedSizeIsRefusedCleanly) {
  std::vector<std::uint8_t> png = EncodePng(RgbaPicture(false));
  const std::size_t ihdr = FindChunks(png, "IHDR").at(0);
  for (std::uint32_t side : {100000u, 65536u, 0x7FFFFFFFu}) {
    for (int field = 0; field < 2; ++field) {
      std::vector<std::uint8_t> claimed = png;
      for (int i = 0; i < 4; ++i) {
        claimed[ihdr + 8 + field * 4 + i] = static_cast<std::uint8_t>(side >> (24 - 8 * i));
        claimed[ihdr + 8 + (1 - field) * 4 + i] = static_cast<std::uint8_t>(side >> (24 - 8 * i));
      }
      FixChunkCrc(claimed, ihdr);
      EXPECT_EQ(Decode(claimed), nullptr) << side;
    }
  }
}

// A chunk whose length, read from broken data, reaches far past the end fails as soon as the
// data runs out, rather than being read on as zeros (gigabytes of them here) and then refused.
TEST(PngDecode, ChunkClaimingGigabytesPastTheEndGivesNone) {
  const std::vector<std::uint8_t> png = EncodePng(RgbaPicture(false));
  for (std::size_t at : {std::size_t{8}, FindChunks(png, "IDAT").at(0)}) {
    std::vector<std::uint8_t> claimed(png.begin(), png.begin() + at);
    const std::uint8_t privateChunk[] = {0x7F, 0xFF, 0xFF, 0xF0, 'n', 'n', 'n', 'n', 1, 2, 3};
    claimed.insert(claimed.end(), std::begin(privateChunk), std::end(privateChunk));
    EXPECT_EQ(Decode(claimed), nullptr) << at;
  }
}
