// Decoding a PNG a segment at a time gives exactly the whole-image decode, and anything that
// does not hold together is refused instead of drawn wrong.

#include "PngTestImages.h"
#include "tests/support/KnobResource.h"

#include "raster/RasterPng.h"
#include "raster/RasterSegmentedPng.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstring>
#include <vector>

namespace {
constexpr std::size_t kSignatureAndHeader = 8 + 25;

bool RowsEqual(RasterBitmap& whole, int wholeRow, RasterBitmap& part, int partRow) {
  return std::memcmp(whole.PixelData() + wholeRow * whole.RowSpan(),
                     part.PixelData() + partRow * part.RowSpan(),
                     static_cast<std::size_t>(whole.Width()) * 4) == 0;
}

// Every row of segments first..last as the whole decode has it.
::testing::AssertionResult MatchesWhole(const RasterSegmentedPng& image, RasterBitmap& whole,
                                        int first, int last) {
  auto part = image.DecodeSegments(first, last);
  if (!part) {
    return ::testing::AssertionFailure() << "segments " << first << ".." << last << " failed";
  }
  const int top = image.SegmentFirstRow(first);
  if (part->Height() != image.SegmentEndRow(last) - top || part->Width() != whole.Width()) {
    return ::testing::AssertionFailure() << "segments " << first << " has the wrong size";
  }
  for (int row = 0; row < part->Height(); ++row) {
    if (!RowsEqual(whole, top + row, *part, row)) {
      return ::testing::AssertionFailure() << "image row " << top + row << " differs";
    }
  }
  return ::testing::AssertionSuccess();
}

void PutIndex(std::vector<std::uint8_t>& png, const std::vector<RasterPngSegmentStart>& starts) {
  const std::vector<std::uint8_t> body = RasterPngSegmentChunkData(starts);
  std::vector<std::uint8_t> chunk(8 + body.size() + 4);
  const std::uint32_t length = static_cast<std::uint32_t>(body.size());
  for (int i = 0; i < 4; ++i) {
    chunk[i] = static_cast<std::uint8_t>(length >> (24 - 8 * i));
  }
  std::memcpy(chunk.data() + 4, kPngSegmentChunk, 4);
  std::memcpy(chunk.data() + 8, body.data(), body.size());
  png.insert(png.begin() + kSignatureAndHeader, chunk.begin(), chunk.end());
  FixChunkCrc(png, kSignatureAndHeader);
}

// Rows of every kind of content, so libpng's adaptive filtering uses all five filters.
std::vector<std::uint8_t> FilteredRgbaPng(int width, int height) {
  PngPicture picture;
  picture.width = width;
  picture.height = height;
  picture.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
  std::uint32_t seed = 7;
  for (int y = 0; y < height; ++y) {
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 4);
    for (std::size_t i = 0; i < row.size(); ++i) {
      seed = seed * 1664525u + 1013904223u;
      row[i] = static_cast<std::uint8_t>(y % 3 == 0 ? seed >> 24 : (i * (y + 1)) / 5 + y);
    }
    picture.rows.push_back(row);
  }
  return EncodePng(picture);
}
} // namespace

// Runs on every build: whichever zlib and compiler, the frames the editor draws are the pixels
// libpng gives for the whole strip.
TEST(SegmentedPng, EveryKnobFrameMatchesTheWholeStripDecode) {
  const std::vector<std::uint8_t> bytes = KnobResourceBytes();
  ASSERT_FALSE(bytes.empty());
  auto whole = RasterDecodePngBytes(bytes.data(), bytes.size());
  ASSERT_NE(whole, nullptr);
  auto image = RasterSegmentedPng::Open(bytes.data(), bytes.size());
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->Width(), whole->Width());
  EXPECT_EQ(image->Height(), whole->Height());
  ASSERT_EQ(image->SegmentCount(), KnobFrameCount);
  for (int segment = 0; segment < image->SegmentCount(); ++segment) {
    ASSERT_TRUE(MatchesWhole(*image, *whole, segment, segment));
  }
  // Neighbouring segments decode together too, and rows find their segment.
  EXPECT_TRUE(MatchesWhole(*image, *whole, 239, 241));
  EXPECT_EQ(image->SegmentOfRow(46079), 240);
  EXPECT_EQ(image->SegmentOfRow(46078), 239);
  EXPECT_EQ(image->SegmentOfRow(-5), 0);
  EXPECT_EQ(image->SegmentOfRow(1 << 30), KnobFrameCount - 1);
}

TEST(SegmentedPng, EveryFilterIsUndoneAsLibpngUndoesIt) {
  std::vector<std::uint8_t> png = FilteredRgbaPng(23, 17);
  ASSERT_FALSE(png.empty());
  auto whole = RasterDecodePngBytes(png.data(), png.size());
  ASSERT_NE(whole, nullptr);
  PutIndex(png, {{0, 2}});
  auto image = RasterSegmentedPng::Open(png.data(), png.size());
  ASSERT_NE(image, nullptr);
  EXPECT_TRUE(MatchesWhole(*image, *whole, 0, 0));
  // The index is private: libpng still reads the same pixels with it in place.
  auto again = RasterDecodePngBytes(png.data(), png.size());
  ASSERT_NE(again, nullptr);
  for (int row = 0; row < whole->Height(); ++row) {
    EXPECT_TRUE(RowsEqual(*whole, row, *again, row));
  }
}

TEST(SegmentedPng, AnImageWithoutAFittingIndexIsLeftToTheWholeDecode) {
  const std::vector<std::uint8_t> plain = FilteredRgbaPng(8, 8);
  EXPECT_EQ(RasterSegmentedPng::Open(plain.data(), plain.size()), nullptr);
  EXPECT_EQ(RasterSegmentedPng::Open(nullptr, 0), nullptr);

  const std::vector<std::vector<RasterPngSegmentStart>> unfitting = {
      {{1, 2}},                // the first segment must start at the top
      {{0, 2}, {0, 9}},        // rows must rise
      {{0, 2}, {4, 2}},        // offsets must rise
      {{0, 1}},                // inside the zlib header
      {{0, 2}, {9, 3}},        // beyond the image
      {{0, 2}, {4, 1u << 20}}, // beyond the stream
  };
  for (const auto& starts : unfitting) {
    std::vector<std::uint8_t> png = plain;
    PutIndex(png, starts);
    EXPECT_EQ(RasterSegmentedPng::Open(png.data(), png.size()), nullptr);
  }

  std::vector<std::uint8_t> knob = KnobResourceBytes();
  ASSERT_FALSE(knob.empty());
  // Cut short: the chunks no longer add up.
  EXPECT_EQ(RasterSegmentedPng::Open(knob.data(), knob.size() / 2), nullptr);
  // Another pixel format (grey) in the header.
  std::vector<std::uint8_t> grey = knob;
  grey[8 + 8 + 9] = PNG_COLOR_TYPE_GRAY;
  FixChunkCrc(grey, 8);
  EXPECT_EQ(RasterSegmentedPng::Open(grey.data(), grey.size()), nullptr);
}

TEST(SegmentedPng, DamagedSegmentsDecodeToNothing) {
  std::vector<std::uint8_t> knob = KnobResourceBytes();
  ASSERT_FALSE(knob.empty());
  const std::vector<std::size_t> data = FindChunks(knob, "IDAT");
  ASSERT_GT(data.size(), 10u);
  // A flipped bit in segment 5's data breaks its checksum; its neighbours still decode.
  std::vector<std::uint8_t> flipped = knob;
  flipped[data[5] + 8 + 40] ^= 0x10;
  auto image = RasterSegmentedPng::Open(flipped.data(), flipped.size());
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->DecodeSegments(5, 5), nullptr);
  EXPECT_EQ(image->DecodeSegments(4, 6), nullptr);
  EXPECT_NE(image->DecodeSegments(4, 4), nullptr);

  // An index whose rows do not match its stream: segment 2 claims a row more than its data
  // holds, segment 3 a row less than its data.
  const std::size_t index = FindChunks(knob, kPngSegmentChunk).at(0);
  std::vector<std::uint8_t> shifted = knob;
  const std::size_t thirdRow = index + 8 + 4 + 3 * 8 + 3;
  shifted[thirdRow] = static_cast<std::uint8_t>(shifted[thirdRow] + 1);
  FixChunkCrc(shifted, index);
  image = RasterSegmentedPng::Open(shifted.data(), shifted.size());
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->DecodeSegments(2, 2), nullptr);
  EXPECT_EQ(image->DecodeSegments(3, 3), nullptr);
  EXPECT_NE(image->DecodeSegments(4, 4), nullptr);
}
