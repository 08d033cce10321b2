#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The byte-level pieces of the PNG layout that the readers and the artwork generator share.

// The eight bytes every PNG file starts with.
inline constexpr unsigned char PngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

// PNG stores every number most significant byte first.
inline std::uint32_t PngNumber(const unsigned char* p) {
  return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
         std::uint32_t(p[3]);
}

inline void PutPngNumber(std::uint32_t value, std::vector<std::uint8_t>* out) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    out->push_back(static_cast<std::uint8_t>(value >> shift));
  }
}
