#pragma once

#include "raster/RasterBitmap.h"

// A bitmap in ordinary heap memory: rows start on a 64-byte boundary and are padded to a
// multiple of 4 pixels. Every decoded image is one.
class RasterMemBitmap : public RasterBitmap {
public:
  // A size that cannot be held (negative, too large, allocation failed) leaves 0 x 0.
  RasterMemBitmap(int width, int height);
  ~RasterMemBitmap() override;

  std::uint32_t* PixelData() override;
  int Width() override { return width; }
  int Height() override { return height; }
  int RowSpan() override { return (width + rowAlignMask) & ~rowAlignMask; }
  bool SetSize(int width, int height) override;

  // Bytes the block holds beyond the alignment slack.
  int BlockBytes() const { return blockBytes; }

private:
  void* block = nullptr;
  int width = 0;
  int height = 0;
  int blockBytes = 0;
  int rowAlignMask = 3;
};
