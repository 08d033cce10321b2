#pragma once

#include <cstdint>

// The platform's drawing context of a bitmap (an HDC on Windows), or none.
using RasterDeviceContext = void*;

// A 32-bit bitmap. A pixel is the word 0xAARRGGBB with straight alpha; in memory its bytes are
// blue, green, red, alpha. Rows are RowSpan pixels apart.
class RasterBitmap {
public:
  RasterBitmap() = default;
  RasterBitmap(const RasterBitmap&) = delete;
  RasterBitmap& operator=(const RasterBitmap&) = delete;
  virtual ~RasterBitmap() = default;

  // Address of the first stored row's first pixel, or none when the bitmap holds no pixels.
  virtual std::uint32_t* PixelData() = 0;
  virtual int Width() = 0;
  virtual int Height() = 0;
  virtual int RowSpan() = 0;
  virtual bool IsBottomUp() { return false; }
  // True when the size changed; the contents afterwards are undefined.
  virtual bool SetSize(int width, int height) = 0;
  virtual RasterDeviceContext DeviceContext() { return nullptr; }
  virtual int Extension(int, void*) { return 0; }
};
