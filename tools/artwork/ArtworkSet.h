// The nine editor pictures by resource id and file name, written to or read from a folder; each
// also at twice the resolution, under its own id (the 1x id plus kDoubleDensityIdOffset) and a
// file name ending in @2x.png.
#pragma once

#include "tools/artwork/RgbaImage.h"
#include "tools/artwork/Typefaces.h"

#include <string>

namespace artwork {

struct ArtworkFile {
  int resourceId;
  const char* fileName;
  int width;
  int height;
  int frames;
  int pixelScale;
};

constexpr int kDoubleDensityIdOffset = 100;
constexpr int kPictureCount = 9;

extern const ArtworkFile kArtworkFiles[kPictureCount * 2];

struct Artwork {
  RgbaImage knob, background, about, credits, guide, panel, knobBackground, theme, themeButton;
  RgbaImage& ById(int resourceId);
  const RgbaImage& ById(int resourceId) const;
};

// Paints all eighteen pictures and writes them into `folder`; false (with a message) on failure.
bool WriteArtwork(const Typefaces& fonts, const std::string& folder);

// Reads the nine files of one pixel scale back and checks their sizes; false (with a message)
// on failure.
bool ReadArtwork(const std::string& folder, Artwork* artwork, int pixelScale = 1);

} // namespace artwork
