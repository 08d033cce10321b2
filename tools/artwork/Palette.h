// One palette for every picture: deep ink surfaces, warm off-white type, one ember accent.
#pragma once

#include <cstdint>

namespace artwork {

struct Colour {
  double r, g, b;
};

constexpr Colour Hex(std::uint32_t rgb) {
  return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0};
}

namespace palette {
constexpr Colour kInkDeep = Hex(0x0A0C10);
constexpr Colour kInk = Hex(0x11141A);
constexpr Colour kInkRaised = Hex(0x191D25);
constexpr Colour kInkHigh = Hex(0x232833);
constexpr Colour kHairline = Hex(0x2F3542);
constexpr Colour kTextBright = Hex(0xEEEAE3);
constexpr Colour kTextMid = Hex(0xA4AAB6);
constexpr Colour kTextDim = Hex(0x6C7382);
constexpr Colour kAccent = Hex(0xFF6B3D);
constexpr Colour kAccentDeep = Hex(0xC2401C);
constexpr Colour kBlack = Hex(0x000000);
constexpr Colour kWhite = Hex(0xFFFFFF);
} // namespace palette

} // namespace artwork
