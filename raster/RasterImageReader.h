#pragma once

#include "raster/RasterBitmap.h"

// One entry of the process-wide chain of image file readers. read takes a file name, whether to
// check its extension, and a bitmap to fill or none; it returns the filled bitmap or a new one
// the caller owns, or none.
struct RasterImageReader {
  RasterBitmap* (*read)(const char* fileName, bool checkExtension, RasterBitmap* fill);
  const char* (*typeLabel)();
  RasterImageReader* next;
};

// The head of the chain; the PNG reader is in it before any code of the library runs.
RasterImageReader* RasterFirstImageReader();
