#pragma once

#include "raster/RasterBitmap.h"

// The off-screen bitmap the editor draws into. On Windows its pixels are a top-down DIB section
// selected into a memory device context, so the window can copy it to the screen; elsewhere they
// are heap pixels without a device context. A shrink keeps the section and its row span.
class RasterSysBitmap : public RasterBitmap {
public:
  RasterSysBitmap(int width, int height);
  ~RasterSysBitmap() override;

  std::uint32_t* PixelData() override { return pixels; }
  int Width() override { return width; }
  int Height() override { return height; }
  int RowSpan() override { return spanWidth; }
  bool SetSize(int width, int height) override;
  RasterDeviceContext DeviceContext() override { return deviceContext; }

private:
  // The platform part: the drawing context and the pixel section.
  bool CanHoldPixels() const;
  void OpenContext();
  void CloseContext();
  // Makes a section of spanWidth x spanHeight pixels; false leaves pixels none.
  bool CreateSection();
  void ReleaseSection();

  int width = 0;
  int height = 0;
  RasterDeviceContext deviceContext = nullptr;
  std::uint32_t* pixels = nullptr;
  int spanWidth = 0;
  int spanHeight = 0;
  void* section = nullptr;
  void* previousObject = nullptr;
};
