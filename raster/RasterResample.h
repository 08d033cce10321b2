#pragma once

#include "raster/RasterBlit.h"
#include "raster/RasterMemBitmap.h"

#include <memory>

// Resamples srcRect of src to a new bitmap of width x height with an area filter: each new pixel
// is the mean of the source pixels under it, each weighted by how much of it lies there, and
// colours by their alpha, so clear pixels lend no colour to the edges beside them. None when a
// size is not positive or the rectangle leaves the bitmap.
std::unique_ptr<RasterMemBitmap> RasterResampleArea(RasterBitmap* src, const RasterRect& srcRect,
                                                    int width, int height);
