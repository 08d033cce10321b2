#include "raster/RasterCombine.h"

namespace raster_combine {
namespace {
// The hue circle has 384 steps (64 per sixth), each with 8 fractional bits, so that a colour
// converted to hue and back comes out unchanged.
constexpr int kSixth = 64 * 256;
constexpr int kCircle = 6 * kSixth;
// Saturation is the spread between the largest and smallest channel relative to the largest,
// in 16-bit fixed point (65536 = fully saturated).
constexpr int kFullSaturation = 65536;

int Max3(int a, int b, int c) {
  return a > b ? (a > c ? a : c) : (b > c ? b : c);
}
int Min3(int a, int b, int c) {
  return a < b ? (a < c ? a : c) : (b < c ? b : c);
}

// The sixth of the circle and the middle channel's position in it. Even sixths rise from the
// smallest channel, odd sixths fall from the largest.
int Hue(int r, int g, int b, int top, int spread) {
  int sixth;
  int fromEdge;
  if (top == r && g >= b) {
    sixth = 0;
    fromEdge = g - (top - spread);
  } else if (top == g && r >= b) {
    sixth = 1;
    fromEdge = top - r;
  } else if (top == g) {
    sixth = 2;
    fromEdge = b - (top - spread);
  } else if (top == b && g >= r) {
    sixth = 3;
    fromEdge = top - g;
  } else if (top == b) {
    sixth = 4;
    fromEdge = r - (top - spread);
  } else {
    sixth = 5;
    fromEdge = top - b;
  }
  return sixth * kSixth + fromEdge * kSixth / spread;
}
} // namespace

std::uint32_t HsvAdjust(std::uint32_t s, std::uint32_t d, int w) {
  const int r = Byte(d, 16);
  const int g = Byte(d, 8);
  const int b = Byte(d, 0);
  const int top = Max3(r, g, b);
  const int spread = top - Min3(r, g, b);
  int hue = spread > 0 ? Hue(r, g, b, top, spread) : 0;
  int saturation = top > 0 ? (spread << 16) / top : 0;

  hue = (hue + (Byte(s, 16) - 128) * w * 3) % kCircle;
  if (hue < 0) {
    hue += kCircle;
  }
  saturation += (Byte(s, 8) - 128) * w * 2;
  saturation = saturation < 0 ? 0 : (saturation > kFullSaturation ? kFullSaturation : saturation);
  const int value = Clamp(top + (Byte(s, 0) - 128) * w / 128);

  const int newSpread = (saturation * value + 32768) >> 16;
  const int bottom = value - newSpread;
  const int sixth = hue / kSixth;
  const int offset = ((hue % kSixth) * newSpread + kSixth / 2) / kSixth;
  const int rising = bottom + offset;
  const int falling = value - offset;
  int nr;
  int ng;
  int nb;
  switch (sixth) {
  case 0:
    nr = value, ng = rising, nb = bottom;
    break;
  case 1:
    nr = falling, ng = value, nb = bottom;
    break;
  case 2:
    nr = bottom, ng = value, nb = rising;
    break;
  case 3:
    nr = bottom, ng = falling, nb = value;
    break;
  case 4:
    nr = rising, ng = bottom, nb = value;
    break;
  default:
    nr = value, ng = bottom, nb = falling;
    break;
  }
  return (d & 0xFF000000u) | Place(nr, 16) | Place(ng, 8) | Place(nb, 0);
}

} // namespace raster_combine
