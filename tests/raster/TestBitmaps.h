#pragma once

#include "raster/RasterBitmap.h"

#include <cstdint>
#include <vector>

// Deterministic pixels with every alpha class represented (0, 255 and values between).
class PixelSource {
public:
  explicit PixelSource(std::uint32_t seed) : state(seed) {}
  std::uint32_t Next() {
    state = state * 1664525u + 1013904223u;
    std::uint32_t pixel = state ^ (state >> 15);
    switch ((state >> 28) & 3) {
    case 0:
      return pixel & 0x00FFFFFFu;
    case 1:
      return pixel | 0xFF000000u;
    default:
      return pixel;
    }
  }

private:
  std::uint32_t state;
};

// A bitmap whose pixels sit inside a larger block: guard rows above and below and guard columns
// on both sides, all holding a known value, so a write outside the bitmap is seen.
class GuardedBitmap : public RasterBitmap {
public:
  static constexpr int kGuard = 5;
  static constexpr std::uint32_t kGuardValue = 0xDEADBEEFu;

  GuardedBitmap(int width, int height)
      : width(width), height(height), span(width + 2 * kGuard),
        block(static_cast<std::size_t>(span) * (height + 2 * kGuard), kGuardValue) {}

  std::uint32_t* PixelData() override { return block.data() + kGuard * span + kGuard; }
  int Width() override { return width; }
  int Height() override { return height; }
  int RowSpan() override { return span; }
  bool SetSize(int, int) override { return false; }

  bool GuardsIntact() const {
    for (int y = 0; y < height + 2 * kGuard; ++y) {
      for (int x = 0; x < span; ++x) {
        const bool inside = y >= kGuard && y < kGuard + height && x >= kGuard && x < kGuard + width;
        if (!inside && block[static_cast<std::size_t>(y) * span + x] != kGuardValue) {
          return false;
        }
      }
    }
    return true;
  }

private:
  int width;
  int height;
  int span;
  std::vector<std::uint32_t> block;
};

// Fills the visible pixels from the source and leaves everything else alone.
inline void FillPixels(RasterBitmap& bitmap, PixelSource& source) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      bitmap.PixelData()[y * bitmap.RowSpan() + x] = source.Next();
    }
  }
}

// Fills the visible pixels from the source; padding columns get padValue.
inline void FillBitmap(RasterBitmap& bitmap, PixelSource& source, std::uint32_t padValue) {
  std::uint32_t* pixels = bitmap.PixelData();
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.RowSpan(); ++x) {
      pixels[y * bitmap.RowSpan() + x] = x < bitmap.Width() ? source.Next() : padValue;
    }
  }
}

// A plain picture: the model the reference arithmetic works on.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  std::uint32_t& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

inline Picture Snapshot(RasterBitmap& bitmap) {
  Picture picture{bitmap.Width(), bitmap.Height(), {}};
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      picture.pixels.push_back(bitmap.PixelData()[y * bitmap.RowSpan() + x]);
    }
  }
  return picture;
}

// True when every padding pixel between Width and RowSpan still holds padValue.
inline bool PaddingIntact(RasterBitmap& bitmap, std::uint32_t padValue) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = bitmap.Width(); x < bitmap.RowSpan(); ++x) {
      if (bitmap.PixelData()[y * bitmap.RowSpan() + x] != padValue) {
        return false;
      }
    }
  }
  return true;
}
