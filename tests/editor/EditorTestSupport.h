#pragma once

#include "editor/OffscreenEditor.h"
#include "raster/RasterMemBitmap.h"
#include "raster/RasterSysBitmap.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

// A heap bitmap whose pixels the test chooses.
inline std::unique_ptr<RasterMemBitmap> SolidBitmap(int width, int height, std::uint32_t pixel) {
  auto bitmap = std::make_unique<RasterMemBitmap>(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      bitmap->PixelData()[y * bitmap->RowSpan() + x] = pixel;
    }
  }
  return bitmap;
}

// Every pixel holds its own row number (opaque), so a drawing tells which source row it read.
inline std::unique_ptr<RasterMemBitmap> RowNumberBitmap(int width, int height) {
  auto bitmap = std::make_unique<RasterMemBitmap>(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      bitmap->PixelData()[y * bitmap->RowSpan() + x] = 0xFF000000u | static_cast<std::uint32_t>(y);
    }
  }
  return bitmap;
}

inline IImageStrip StripOf(RasterBitmap* bitmap, int frames) {
  IImageStrip strip;
  strip.bitmap = bitmap;
  strip.width = bitmap->Width();
  strip.height = bitmap->Height();
  strip.frames = frames;
  return strip;
}

// The window-less editor with its window-system calls recorded. Image resources come from
// bitmaps the test registers by id.
class TestEditor : public IOffscreenEditor {
public:
  TestEditor(IAudioPlugin* plugin, int width = 560, int height = 400)
      : IOffscreenEditor(plugin, width, height, 25) {}

  bool PresentRect(const IBounds& rect) override {
    presented.push_back(rect);
    return true;
  }
  bool OpenLink(const char* address, const char*, const char*, const char*) override {
    links.emplace_back(address);
    return linkOpens;
  }
  std::unique_ptr<RasterBitmap> LoadImageResource(int id, const char*) override {
    ++loads[id];
    const auto found = images.find(id);
    if (found == images.end()) {
      return nullptr;
    }
    return SolidBitmap(found->second.width, found->second.height, found->second.pixel);
  }

  std::uint32_t Pixel(int x, int y) {
    RasterSysBitmap* bitmap = DrawBitmap();
    return bitmap->PixelData()[y * bitmap->RowSpan() + x];
  }
  void Fill(std::uint32_t pixel) {
    RasterSysBitmap* bitmap = DrawBitmap();
    for (int y = 0; y < bitmap->Height(); ++y) {
      for (int x = 0; x < bitmap->Width(); ++x) {
        bitmap->PixelData()[y * bitmap->RowSpan() + x] = pixel;
      }
    }
  }
  bool RedrawAll() { return RedrawRect(IBounds{0, 0, Width(), Height()}); }

  struct Image {
    int width;
    int height;
    std::uint32_t pixel;
  };
  std::map<int, Image> images;
  std::map<int, int> loads;
  std::vector<IBounds> presented;
  std::vector<std::string> links;
  bool linkOpens = false;
};
