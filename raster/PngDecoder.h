#pragma once

#include "raster/RasterBitmap.h"
#include "raster/RasterMemBitmap.h"

#include <cstddef>
#include <cstdio>
#include <memory>

// Where libpng takes the bytes from: an open file when file is set, otherwise memory (reading
// past its end is a decoding error).
struct PngInput {
  const unsigned char* data = nullptr;
  std::size_t size = 0;
  std::FILE* file = nullptr;
};

// Decodes into fill, resized to the image, when one is given; otherwise into a new bitmap handed
// over in made. Returns the decoded bitmap, or none; no libpng state is left behind either way.
RasterBitmap* DecodePng(const PngInput& input, RasterBitmap* fill,
                        std::unique_ptr<RasterMemBitmap>& made);
