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

// Writes a non-interlaced 8-bit RGBA PNG without time stamps or text chunks, so the same
// pixels always give the same bytes.
bool WritePng(const std::string& path, const RgbaImage& image);

// Reads any PNG as straight RGBA; false when the file cannot be read or decoded.
bool ReadPng(const std::string& path, RgbaImage* image);

} // namespace artwork
