#include "tools/artwork/ArtworkSet.h"

#include "tools/artwork/KnobStrip.h"
#include "tools/artwork/Painters.h"

#include <cstdio>

namespace artwork {

const ArtworkFile kArtworkFiles[kPictureCount * 2] = {
    {101, "knob.png", 192, 92158, 480, 1},
    {102, "background.png", 560, 400, 1, 1},
    {103, "background2.png", 560, 400, 1, 1},
    {104, "background3.png", 560, 400, 1, 1},
    {105, "background4.png", 560, 400, 1, 1},
    {106, "background_panel.png", 560, 400, 1, 1},
    {107, "knob_bg.png", 192, 192, 1, 1},
    {108, "kelba.png", 165, 74, 2, 1},
    {109, "kelbabtn.png", 165, 74, 2, 1},
    {201, "knob@2x.png", 384, 184316, 480, 2},
    {202, "background@2x.png", 1120, 800, 1, 2},
    {203, "background2@2x.png", 1120, 800, 1, 2},
    {204, "background3@2x.png", 1120, 800, 1, 2},
    {205, "background4@2x.png", 1120, 800, 1, 2},
    {206, "background_panel@2x.png", 1120, 800, 1, 2},
    {207, "knob_bg@2x.png", 384, 384, 1, 2},
    {208, "kelba@2x.png", 330, 148, 2, 2},
    {209, "kelbabtn@2x.png", 330, 148, 2, 2},
};

// By the 1x id or the 2x one: both name the same picture.
RgbaImage& Artwork::ById(int resourceId) {
  RgbaImage* images[] = {&knob,  &background,     &about, &credits,    &guide,
                         &panel, &knobBackground, &theme, &themeButton};
  return *images[(resourceId - 101) % kDoubleDensityIdOffset];
}

const RgbaImage& Artwork::ById(int resourceId) const {
  return const_cast<Artwork*>(this)->ById(resourceId);
}

namespace {

constexpr int kKnobStripId = 101;

int SamePictureAt1x(int resourceId) {
  return resourceId > kKnobStripId + kPictureCount ? resourceId - kDoubleDensityIdOffset
                                                   : resourceId;
}
// The knob strip is 70 MB of pixels, of which the editor decodes only the frames it shows: the
// stream restarts at every frame, so each frame inflates alone. Frames lie too far apart for
// deflate's window to match across them, so restarting at each costs 3% of the file; a frame
// then decodes in about 0.2 ms at level 9 (0.1 ms at level 3, for a third more file), and a
// cached frame holds 147 kB. Segments of 2 or 4 frames save under 3% of the file for twice or
// four times the time and memory a new frame costs (ombrix_png_encoding_bench,
// bench/png_encoding_bench.cpp, measures the candidates).
constexpr int kKnobStripLevel = 9;
constexpr int kKnobFramesPerSegment = 1;

bool WriteKnobStrip(const std::string& path, const RgbaImage& image, int pixelScale) {
  std::vector<std::uint8_t> encoded;
  return EncodeSegmentedPng(image, KnobSegmentRows(kKnobFramesPerSegment, pixelScale),
                            kKnobStripLevel, &encoded) &&
         WriteFileBytes(path, encoded);
}

RgbaImage Paint(const Typefaces& fonts, const ArtworkFile& file) {
  const int scale = file.pixelScale;
  switch (SamePictureAt1x(file.resourceId)) {
  case kKnobStripId:
    return PaintKnobStrip(fonts, scale);
  case 102:
    return PaintBackground(fonts, scale);
  case 103:
    return PaintAboutPage(fonts, scale);
  case 104:
    return PaintCreditsPage(fonts, scale);
  case 105:
    return PaintGuidePage(fonts, scale);
  case 106:
    return PaintPanel(fonts, scale);
  case 107:
    return PaintKnobBackground(fonts, scale);
  case 108:
    return PaintThemeImage(fonts, scale);
  default:
    return PaintThemeButton(fonts, scale);
  }
}

} // namespace

bool WriteArtwork(const Typefaces& fonts, const std::string& folder) {
  for (const ArtworkFile& file : kArtworkFiles) {
    const RgbaImage image = Paint(fonts, file);
    if (image.width != file.width || image.height != file.height) {
      std::fprintf(stderr, "ombrix_artwork: %s came out %d x %d instead of %d x %d\n",
                   file.fileName, image.width, image.height, file.width, file.height);
      return false;
    }
    const std::string path = folder + "/" + file.fileName;
    const bool written = SamePictureAt1x(file.resourceId) == kKnobStripId
                             ? WriteKnobStrip(path, image, file.pixelScale)
                             : WritePng(path, image);
    if (!written) {
      std::fprintf(stderr, "ombrix_artwork: cannot write %s\n", path.c_str());
      return false;
    }
  }
  return true;
}

bool ReadArtwork(const std::string& folder, Artwork* artwork, int pixelScale) {
  for (const ArtworkFile& file : kArtworkFiles) {
    if (file.pixelScale != pixelScale) {
      continue;
    }
    const std::string path = folder + "/" + file.fileName;
    RgbaImage& image = artwork->ById(file.resourceId);
    if (!ReadPng(path, &image)) {
      std::fprintf(stderr, "ombrix_artwork: cannot read %s\n", path.c_str());
      return false;
    }
    if (image.width != file.width || image.height != file.height) {
      std::fprintf(stderr, "ombrix_artwork: %s is %d x %d, expected %d x %d\n", path.c_str(),
                   image.width, image.height, file.width, file.height);
      return false;
    }
  }
  return true;
}

} // namespace artwork
