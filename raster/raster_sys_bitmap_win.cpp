#include "raster/RasterSysBitmap.h"

#include <windows.h>

namespace {
HDC Context(RasterDeviceContext context) {
  return static_cast<HDC>(context);
}
} // namespace

// Without a memory device context there is nothing to select a section into.
bool RasterSysBitmap::CanHoldPixels() const {
  return deviceContext != nullptr;
}

void RasterSysBitmap::OpenContext() {
  deviceContext = CreateCompatibleDC(nullptr);
}

void RasterSysBitmap::CloseContext() {
  if (deviceContext) {
    DeleteDC(Context(deviceContext));
    deviceContext = nullptr;
  }
}

bool RasterSysBitmap::CreateSection() {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = spanWidth;
  // A negative height makes the rows top-down, the order every bitmap here is stored in.
  info.bmiHeader.biHeight = -spanHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP created = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!created || !bits) {
    if (created) {
      DeleteObject(created);
    }
    return false;
  }
  section = created;
  pixels = static_cast<std::uint32_t*>(bits);
  previousObject = SelectObject(Context(deviceContext), created);
  return true;
}

void RasterSysBitmap::ReleaseSection() {
  if (previousObject && deviceContext) {
    SelectObject(Context(deviceContext), static_cast<HGDIOBJ>(previousObject));
  }
  previousObject = nullptr;
  if (section) {
    DeleteObject(static_cast<HGDIOBJ>(section));
  }
  section = nullptr;
  pixels = nullptr;
}
