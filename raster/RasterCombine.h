#pragma once

#include <cstdint>

// The per-pixel combine arithmetic shared by RasterCopyArea and RasterFillArea. Each combiner
// takes a source pixel s and a destination pixel d and returns the new destination pixel.
// Channels are bytes 0 (blue) to 3 (alpha). All arithmetic is 32-bit signed; divisions truncate
// toward zero; results that are not clamped keep their low 8 bits.
namespace raster_combine {

// Weights become integers w = trunc(weight * 256), limited to +-8192 (weight +-32) so that no
// combiner's products can overflow; a weight that is not a number draws nothing.
constexpr double kMaxScaledWeight = 8192.0;

inline int ScaledWeight(double weight) {
  const double scaled = weight * 256.0;
  if (!(scaled == scaled)) {
    return 0;
  }
  if (scaled > kMaxScaledWeight) {
    return static_cast<int>(kMaxScaledWeight);
  }
  if (scaled < -kMaxScaledWeight) {
    return -static_cast<int>(kMaxScaledWeight);
  }
  return static_cast<int>(scaled);
}

inline int Byte(std::uint32_t pixel, int shift) {
  return static_cast<int>((pixel >> shift) & 0xFF);
}

inline int Clamp(int value) {
  return value < 0 ? 0 : (value > 255 ? 255 : value);
}

inline std::uint32_t Place(int value, int shift) {
  return static_cast<std::uint32_t>(value & 0xFF) << shift;
}

// Applies channel(s, d) to all four channels.
template <typename Channel>
inline std::uint32_t EachChannel(std::uint32_t s, std::uint32_t d, Channel channel) {
  return Place(channel(Byte(s, 0), Byte(d, 0)), 0) | Place(channel(Byte(s, 8), Byte(d, 8)), 8) |
         Place(channel(Byte(s, 16), Byte(d, 16)), 16) |
         Place(channel(Byte(s, 24), Byte(d, 24)), 24);
}

// The source alpha's share of a weight: e = w * (sa + 1) / 256.
inline int AlphaWeight(int w, std::uint32_t s) {
  return w * (Byte(s, 24) + 1) / 256;
}

// d = s + (d - s) * (256 - w) / 256 on all four channels.
inline std::uint32_t Blend(std::uint32_t s, std::uint32_t d, int w) {
  return EachChannel(s, d, [w](int sc, int dc) { return sc + (dc - sc) * (256 - w) / 256; });
}

// Composites by source alpha at full weight; the alpha channel accumulates.
inline std::uint32_t OverFull(std::uint32_t s, std::uint32_t d) {
  const int sa = Byte(s, 24);
  if (sa == 0) {
    return d;
  }
  if (sa == 255) {
    return s;
  }
  const auto colour = [sa](int sc, int dc) { return sc + (dc - sc) * (255 - sa) / 256; };
  const int alpha = Byte(d, 24) + sa;
  return Place(colour(Byte(s, 0), Byte(d, 0)), 0) | Place(colour(Byte(s, 8), Byte(d, 8)), 8) |
         Place(colour(Byte(s, 16), Byte(d, 16)), 16) | Place(alpha > 255 ? 255 : alpha, 24);
}

inline std::uint32_t Over(std::uint32_t s, std::uint32_t d, int w) {
  if (Byte(s, 24) == 0) {
    return d;
  }
  const int e = AlphaWeight(w, s);
  const auto colour = [e](int sc, int dc) { return (dc - sc) * (256 - e) / 256 + sc; };
  const int alpha = Byte(d, 24) + e;
  return Place(colour(Byte(s, 0), Byte(d, 0)), 0) | Place(colour(Byte(s, 8), Byte(d, 8)), 8) |
         Place(colour(Byte(s, 16), Byte(d, 16)), 16) | Place(alpha > 255 ? 255 : alpha, 24);
}

inline std::uint32_t Add(std::uint32_t s, std::uint32_t d, int w) {
  return EachChannel(s, d, [w](int sc, int dc) { return Clamp(dc + sc * w / 256); });
}

inline std::uint32_t AddSourceAlpha(std::uint32_t s, std::uint32_t d, int w) {
  if (Byte(s, 24) == 0) {
    return d;
  }
  return Add(s, d, AlphaWeight(w, s));
}

inline std::uint32_t Dodge(std::uint32_t s, std::uint32_t d, int w) {
  return EachChannel(s, d, [w](int sc, int dc) {
    const int t = sc * w / 256;
    return t < 255 ? Clamp(dc * 256 / (256 - t)) : Clamp(dc * 256);
  });
}

inline std::uint32_t Multiply(std::uint32_t s, std::uint32_t d, int w) {
  return EachChannel(s, d, [w](int sc, int dc) { return dc * (w * (sc - 256) + 65536) / 65536; });
}

inline std::uint32_t MultiplySourceAlpha(std::uint32_t s, std::uint32_t d, int w) {
  if (Byte(s, 24) == 0) {
    return d;
  }
  const int e = AlphaWeight(w, s);
  const int f = (256 - e) * 256;
  // For the alpha channel s is the source alpha, so one formula serves all four.
  return EachChannel(s, d, [e, f](int sc, int dc) { return dc * (sc * e + f) / 65536; });
}

inline std::uint32_t Overlay(std::uint32_t s, std::uint32_t d, int w) {
  const int m = (256 - w) * 128;
  return EachChannel(s, d, [w, m](int sc, int dc) {
    return Clamp((dc * (32768 - sc * w - m) / 256 + sc * w + m) * dc / 32768);
  });
}

// Shifts d's hue by s's red, its saturation by s's green and its value by s's blue, each centred
// on 128 and scaled by w (256: the full range); alpha stays.
std::uint32_t HsvAdjust(std::uint32_t s, std::uint32_t d, int w);

} // namespace raster_combine
