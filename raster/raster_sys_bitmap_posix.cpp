#include "raster/RasterSysBitmap.h"

#include <cstddef>
#include <new>

// Without a window system the pixels live on the heap and there is no drawing context.
bool RasterSysBitmap::CanHoldPixels() const {
  return true;
}

void RasterSysBitmap::OpenContext() {}

void RasterSysBitmap::CloseContext() {}

bool RasterSysBitmap::CreateSection() {
  const std::size_t count =
      static_cast<std::size_t>(spanWidth) * static_cast<std::size_t>(spanHeight);
  pixels = new (std::nothrow) std::uint32_t[count];
  section = pixels;
  return pixels != nullptr;
}

void RasterSysBitmap::ReleaseSection() {
  delete[] static_cast<std::uint32_t*>(section);
  section = nullptr;
  pixels = nullptr;
}
