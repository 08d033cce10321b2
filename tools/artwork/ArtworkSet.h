// The nine editor pictures by resource id and file name, written to or read from a folder.
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
};

extern const ArtworkFile kArtworkFiles[9];

struct Artwork {
  RgbaImage knob, background, about, credits, guide, panel, knobBackground, theme, themeButton;
  RgbaImage& ById(int resourceId);
  const RgbaImage& ById(int resourceId) const;
};

// Paints all nine pictures and writes them into `folder`; false (with a message) on failure.
bool WriteArtwork(const Typefaces& fonts, const std::string& folder);

// Reads the nine files back and checks their sizes; false (with a message) on failure.
bool ReadArtwork(const std::string& folder, Artwork* artwork);

} // namespace artwork
