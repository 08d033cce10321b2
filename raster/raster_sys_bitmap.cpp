#include "raster/RasterSysBitmap.h"

#include <climits>
#include <cstdint>

RasterSysBitmap::RasterSysBitmap(int width, int height) {
  OpenContext();
  SetSize(width, height);
}

RasterSysBitmap::~RasterSysBitmap() {
  ReleaseSection();
  CloseContext();
}

bool RasterSysBitmap::SetSize(int newWidth, int newHeight) {
  if (!CanHoldPixels()) {
    width = 0;
    height = 0;
    pixels = nullptr;
    return false;
  }
  // A negative size is no size: it must never describe a bottom-up or wrapped section.
  if (newWidth <= 0 || newHeight <= 0) {
    newWidth = 0;
    newHeight = 0;
  }
  if (newWidth == width && newHeight == height) {
    return false;
  }
  width = newWidth;
  height = newHeight;
  if (width != 0 && height != 0 && width <= spanWidth && height <= spanHeight && pixels) {
    return true;
  }
  const std::int64_t span = (static_cast<std::int64_t>(width) + 3) & ~std::int64_t{3};
  ReleaseSection();
  if (span == 0 || height == 0) {
    spanWidth = 0;
    spanHeight = 0;
    return false;
  }
  const bool fits = span * height * 4 <= INT_MAX;
  spanWidth = fits ? static_cast<int>(span) : 0;
  spanHeight = fits ? height : 0;
  if (!fits || !CreateSection()) {
    width = 0;
    height = 0;
    pixels = nullptr;
  }
  return true;
}
