#pragma once

#include "raster/RasterBitmap.h"

#include <cstdint>

// Combine modes. The low byte selects the operation; RASTER_OP_SRC_ALPHA weights each source
// pixel by its own alpha. Low bytes 6-0xEF do nothing.
constexpr int RASTER_OP_COPY = 0;
constexpr int RASTER_OP_ADD = 1;
constexpr int RASTER_OP_DODGE = 2;
constexpr int RASTER_OP_MULTIPLY = 3;
constexpr int RASTER_OP_OVERLAY = 4;
// Shifts the destination's hue, saturation and value by the source's red, green and blue
// (each centred on 128).
constexpr int RASTER_OP_HSV = 5;
// 0xF0-0xFF: copies source byte (mode & 3) into destination byte ((mode >> 2) & 3), where byte 0
// is blue and 3 is alpha.
constexpr int RASTER_OP_CHANNEL = 0xF0;
constexpr int RASTER_OP_SRC_ALPHA = 0x10000;

// A rectangle of pixels; right and bottom are exclusive.
struct RasterRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// Combines srcRect of src (all of src when none) into dest with its top-left corner at
// (dstX, dstY), clipped to both bitmaps. A weight of 1.0 is full strength.
void RasterCopyArea(RasterBitmap* dest, RasterBitmap* src, int dstX, int dstY,
                    const RasterRect* srcRect, float weight, int mode);

// Combines the colour pixel into the rectangle (x, y, x + w, y + h) of dest, clipped to it.
void RasterFillArea(RasterBitmap* dest, int x, int y, int w, int h, std::uint32_t colour,
                    float weight, int mode);
