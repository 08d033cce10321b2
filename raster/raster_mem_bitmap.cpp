#include "raster/RasterMemBitmap.h"

#include <climits>
#include <cstdint>
#include <cstdlib>

namespace {
// Room for moving the pixels up to the next 64-byte boundary.
constexpr int kAlignSlack = 63;
// The block's byte count is a 32-bit signed value that must leave room for the slack.
constexpr std::int64_t kMaxBlockBytes = INT_MAX - kAlignSlack;

// Bytes the pixels of a width x height bitmap need, or 0 for a size that cannot be held. Computed
// in 64 bits: an image header may claim any size, and a wrapped product would give a block that
// rows are written past.
int BytesNeeded(int width, int height, int rowAlignMask) {
  if (width <= 0 || height <= 0) {
    return 0;
  }
  const std::int64_t span = (static_cast<std::int64_t>(width) + rowAlignMask) & ~rowAlignMask;
  const std::int64_t bytes = span * height * 4;
  return bytes > kMaxBlockBytes ? 0 : static_cast<int>(bytes);
}
} // namespace

RasterMemBitmap::RasterMemBitmap(int width, int height) {
  SetSize(width, height);
}

RasterMemBitmap::~RasterMemBitmap() {
  std::free(block);
}

std::uint32_t* RasterMemBitmap::PixelData() {
  if (!block) {
    return nullptr;
  }
  const std::uintptr_t address = reinterpret_cast<std::uintptr_t>(block);
  const std::uintptr_t aligned =
      (address + kAlignSlack) & ~static_cast<std::uintptr_t>(kAlignSlack);
  return reinterpret_cast<std::uint32_t*>(aligned);
}

bool RasterMemBitmap::SetSize(int newWidth, int newHeight) {
  if (newWidth <= 0 || newHeight <= 0) {
    newWidth = 0;
    newHeight = 0;
  }
  if (newWidth == width && newHeight == height) {
    return false;
  }
  width = newWidth;
  height = newHeight;
  const int needed = BytesNeeded(width, height, rowAlignMask);
  if (needed <= 0) {
    std::free(block);
    block = nullptr;
    blockBytes = 0;
  } else if (!block) {
    blockBytes = needed;
    block = std::malloc(static_cast<std::size_t>(needed) + kAlignSlack);
  } else if (needed > blockBytes) {
    // A quarter more than needed, so that repeated growth does not reallocate every time.
    const std::int64_t roomy = static_cast<std::int64_t>(needed) + needed / 4;
    blockBytes = static_cast<int>(roomy > kMaxBlockBytes ? kMaxBlockBytes : roomy);
    void* grown = std::realloc(block, static_cast<std::size_t>(blockBytes) + kAlignSlack);
    if (grown) {
      block = grown;
    } else {
      std::free(block);
      blockBytes = needed;
      block = std::malloc(static_cast<std::size_t>(needed) + kAlignSlack);
    }
  }
  if (!block) {
    width = 0;
    height = 0;
    blockBytes = 0;
  }
  return true;
}
