// Straight-alpha 8-bit RGBA pixels, the form the editor's PNG files are stored in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace artwork {

struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bytes; // red, green, blue, alpha; rows top first

  RgbaImage() = default;
  RgbaImage(int w, int h) : width(w), height(h), bytes(static_cast<std::size_t>(w) * h * 4, 0) {}

  std::uint8_t* Row(int y) { return bytes.data() + static_cast<std::size_t>(y) * width * 4; }
  const std::uint8_t* Row(int y) const {
    return bytes.data() + static_cast<std::size_t>(y) * width * 4;
  }
};

// How the image data of a PNG is filtered and compressed: libpng's filter flags, zlib's level
// and strategy, or libpng's own choice of strategy (Z_FILTERED when rows are filtered).
constexpr int kLibpngStrategy = -1;
struct PngEncoding {
  int filters;
  int level;
  int strategy;
};

// Encodes a non-interlaced 8-bit RGBA PNG without time stamps or text chunks, so the same
// pixels always give the same bytes.
bool EncodePng(const RgbaImage& image, const PngEncoding& encoding, std::vector<std::uint8_t>* out);

// Encodes an 8-bit RGBA PNG of unfiltered rows whose deflate stream is fully flushed before each
// of the given rows (ascending, the first 0), each restart in an IDAT chunk of its own and all
// listed in the private segment chunk, so a reader can inflate any segment alone. Any PNG reader
// still reads the whole image.
bool EncodeSegmentedPng(const RgbaImage& image, const std::vector<int>& segmentRows, int level,
                        std::vector<std::uint8_t>* out);

// Writes the image with the smallest of the usual encodings, or with the one given.
bool WritePng(const std::string& path, const RgbaImage& image);
bool WritePng(const std::string& path, const RgbaImage& image, const PngEncoding& encoding);
// Writes encoded bytes as they are.
bool WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

// Reads any PNG as straight RGBA; false when the file cannot be read or decoded.
bool ReadPng(const std::string& path, RgbaImage* image);

} // namespace artwork
