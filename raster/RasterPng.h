#pragma once

#include "raster/RasterBitmap.h"
#include "raster/RasterMemBitmap.h"

#include <cstddef>
#include <memory>

// Decodes a PNG image held in memory into a new bitmap of pixels 0xAARRGGBB (alpha 255 for
// images without alpha), or none for data that is not a complete, valid PNG.
std::unique_ptr<RasterMemBitmap> RasterDecodePngBytes(const unsigned char* data, std::size_t size);

// Reads a PNG file (a UTF-8 name on Windows). With checkExtension the name must end in ".png"
// (any case). The image goes into fill, resized to it, when one is given, and otherwise into a
// new RasterMemBitmap that the caller owns. Returns the filled bitmap, or none.
RasterBitmap* RasterReadPngFile(const char* fileName, bool checkExtension, RasterBitmap* fill);

// The file-dialog label of the PNG reader.
const char* RasterPngTypeLabel();
