#pragma once

#include "raster/RasterBitmap.h"
#include "raster/RasterBlit.h"

#include <cstdint>
#include <vector>

// Coverage masks of cached characters: one byte per pixel, row by row. These steps are the
// platform-independent half of the text renderer; the platform only paints single characters.

// The mask of a character painted white on black: the red channel of each pixel, inverted
// (255 - coverage) when invert is set.
void TakeGlyphMask(const std::uint32_t* pixels, int rowSpan, int width, int height, bool invert,
                   std::vector<std::uint8_t>& mask);

// Applies the font flags that reshape a mask taken by TakeGlyphMask, in this order: rotation by
// 90 degrees (width and height swap), the FontMono threshold, the FontShadow or FontOutline
// halo (value 128).
void FinishGlyphMask(std::vector<std::uint8_t>& mask, int* width, int* height,
                     std::uint32_t fontFlags);

// How a mask becomes pixels.
struct GlyphPaint {
  std::uint32_t inkColour = 0;
  std::uint32_t paperColour = 0xFFFFFFFFu;
  std::uint32_t haloColour = 0xFFFFFFFFu;
  int paperMode = 1; // 1 transparent, 2 opaque: the cell is filled with paperColour first
  int blendMode = 0; // low byte: a combine mode 0-5 of RasterBlit.h
  float alpha = 1.0f;
  std::uint32_t fontFlags = 0; // FontMono, FontShadow and FontOutline select the mask kind
};

// Blends a width x height mask with its top-left corner at (x, y) into bitmap, cut to clip
// (already limited to the bitmap). False when nothing of the mask lies within the clip.
bool DrawGlyphMask(RasterBitmap* bitmap, const std::uint8_t* mask, int width, int height, int x,
                   int y, const RasterRect& clip, const GlyphPaint& paint);
