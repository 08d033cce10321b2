#pragma once

#include <cstdint>
#include <string>
#include <vector>

// PNG images written in memory with libpng, so the tests need no binary fixtures.
struct PngPicture {
  int width = 0;
  int height = 0;
  int bitDepth = 8;
  int colourType = 0; // a PNG_COLOR_TYPE_* value
  bool interlaced = false;
  // Packed rows exactly as the PNG stores them (16-bit samples big-endian).
  std::vector<std::vector<std::uint8_t>> rows;
  std::vector<std::uint8_t> palette; // red, green, blue triples
  std::vector<std::uint8_t> paletteAlpha;
  // Transparent colour of grey or RGB images (16-bit values), or none when empty.
  std::vector<std::uint16_t> transparentColour;
};

// The encoded file, or empty when libpng refused the description.
std::vector<std::uint8_t> EncodePng(const PngPicture& picture);

// Rewrites the CRC of the chunk starting at chunkOffset (its length field),
// so a deliberate corruption passes the checksum and reaches the decoder proper.
void FixChunkCrc(std::vector<std::uint8_t>& png, std::size_t chunkOffset);

// Offsets of every chunk of the given type (the offset of its length field).
std::vector<std::size_t> FindChunks(const std::vector<std::uint8_t>& png, const char* type);
