#pragma once

#include "raster/RasterBitmap.h"
#include "raster/RasterSysBitmap.h"

// The process-wide scratch surface the text renderer draws single characters into; made empty on
// first use and destroyed when the library unloads.
RasterSysBitmap& RasterGlyphScratch();

// Softens the top-left width x height pixels of the glyph scratch bitmap in place.
void RasterSoften(int width, int height);

// Softens the top-left width x height pixels of any bitmap: each pixel becomes half itself plus
// an eighth of each of its four neighbours (a missing neighbour's eighth goes to the opposite
// one). Nothing happens unless the clipped area is at least 2 x 2.
void RasterSoftenBitmap(RasterBitmap& bitmap, int width, int height);
