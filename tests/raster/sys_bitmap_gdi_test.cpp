#include "raster/RasterSysBitmap.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {
HDC Context(RasterSysBitmap& bitmap) {
  return static_cast<HDC>(bitmap.DeviceContext());
}

// Reads the bitmap selected into the device context back through GDI, top row first.
std::vector<std::uint32_t> ReadBack(RasterSysBitmap& bitmap, int width, int height) {
  HBITMAP selected = static_cast<HBITMAP>(GetCurrentObject(Context(bitmap), OBJ_BITMAP));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  const int lines = GetDIBits(Context(bitmap), selected, 0, static_cast<UINT>(height),
                              pixels.data(), &info, DIB_RGB_COLORS);
  EXPECT_EQ(lines, height);
  return pixels;
}
} // namespace

TEST(SysBitmapGdi, TheSectionsPixelsAreTheBitmapsPixels) {
  RasterSysBitmap bitmap(7, 5);
  ASSERT_NE(bitmap.DeviceContext(), nullptr);
  ASSERT_NE(bitmap.PixelData(), nullptr);
  EXPECT_EQ(bitmap.RowSpan(), 8);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 8; ++x) {
      bitmap.PixelData()[y * 8 + x] =
          0xFF000000u | static_cast<std::uint32_t>(y << 16 | x << 8 | 0x40);
    }
  }
  GdiFlush();
  // GetPixel answers 0x00BBGGRR: the top row is row 0, so the section is top-down.
  EXPECT_EQ(GetPixel(Context(bitmap), 0, 0), RGB(0, 0, 0x40));
  EXPECT_EQ(GetPixel(Context(bitmap), 6, 4), RGB(4, 6, 0x40));
  const std::vector<std::uint32_t> section = ReadBack(bitmap, 8, 5);
  for (int i = 0; i < 8 * 5; ++i) {
    ASSERT_EQ(section[i], bitmap.PixelData()[i]) << i;
  }
}

TEST(SysBitmapGdi, GdiDrawingLandsInThePixels) {
  RasterSysBitmap bitmap(9, 4);
  std::fill(bitmap.PixelData(), bitmap.PixelData() + bitmap.RowSpan() * 4, 0u);
  SetPixelV(Context(bitmap), 3, 2, RGB(0x11, 0x22, 0x33));
  GdiFlush();
  EXPECT_EQ(bitmap.PixelData()[2 * bitmap.RowSpan() + 3] & 0x00FFFFFFu, 0x112233u);
  EXPECT_EQ(bitmap.PixelData()[2 * bitmap.RowSpan() + 4], 0u);
}

TEST(SysBitmapGdi, ResizingSelectsTheNewSectionAndRestoresTheOldObject) {
  RasterSysBitmap bitmap(0, 0);
  HDC context = Context(bitmap);
  ASSERT_NE(context, nullptr);
  HGDIOBJ original = GetCurrentObject(context, OBJ_BITMAP);
  EXPECT_TRUE(bitmap.SetSize(560, 400));
  HGDIOBJ first = GetCurrentObject(context, OBJ_BITMAP);
  EXPECT_NE(first, original);
  EXPECT_TRUE(bitmap.SetSize(100, 100));
  EXPECT_EQ(GetCurrentObject(context, OBJ_BITMAP), first);
  EXPECT_TRUE(bitmap.SetSize(561, 400));
  EXPECT_EQ(bitmap.RowSpan(), 564);
  BITMAP described{};
  ASSERT_NE(GetObject(GetCurrentObject(context, OBJ_BITMAP), sizeof(described), &described), 0);
  EXPECT_EQ(described.bmWidth, 564);
  EXPECT_EQ(described.bmHeight, 400);
  EXPECT_EQ(described.bmBits, bitmap.PixelData());
  bitmap.SetSize(0, 0);
  EXPECT_EQ(GetCurrentObject(context, OBJ_BITMAP), original);
}
