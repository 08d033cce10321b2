#pragma once

#include <cstdint>

// The editor framework's colour record; each member is meant to be 0..255.
struct IArgb {
  std::int32_t alpha = 255;
  std::int32_t red = 0;
  std::int32_t green = 0;
  std::int32_t blue = 0;

  // The pixel word 0xAARRGGBB from the low 8 bits of each member.
  std::uint32_t ToPixel() const {
    return (static_cast<std::uint32_t>(alpha & 0xFF) << 24) |
           (static_cast<std::uint32_t>(red & 0xFF) << 16) |
           (static_cast<std::uint32_t>(green & 0xFF) << 8) |
           static_cast<std::uint32_t>(blue & 0xFF);
  }
};
