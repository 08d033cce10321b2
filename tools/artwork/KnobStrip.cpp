#include "tools/artwork/KnobStrip.h"

#include "tools/artwork/Geometry.h"
#include "tools/artwork/Painters.h"
#include "tools/artwork/Palette.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace artwork {

namespace {

// cairo's premultiplied edge pixels come back with slightly scattered colours; putting the
// colours the strip is drawn with back in keeps the 480 frames compact once compressed.
void SnapEdgeColours(RgbaImage& image) {
  const Colour drawn[] = {palette::kAccent, palette::kTextBright, palette::kBlack};
  for (std::size_t i = 0; i < image.bytes.size(); i += 4) {
    std::uint8_t* p = &image.bytes[i];
    if (p[3] == 0 || p[3] == 255) {
      continue;
    }
    for (const Colour& colour : drawn) {
      const int rgb[3] = {static_cast<int>(colour.r * 255 + 0.5),
                          static_cast<int>(colour.g * 255 + 0.5),
                          static_cast<int>(colour.b * 255 + 0.5)};
      if (std::abs(p[0] - rgb[0]) + std::abs(p[1] - rgb[1]) + std::abs(p[2] - rgb[2]) <= 24) {
        for (int c = 0; c < 3; ++c) {
          p[c] = static_cast<std::uint8_t>(rgb[c]);
        }
        break;
      }
    }
  }
}

} // namespace

int FrameStartRow(int frame, int frames, int height) {
  if (frames <= 1 || frame <= 1) {
    return 0;
  }
  return static_cast<int>(static_cast<double>(height) * (frame - 1) / frames + 0.5);
}

std::vector<int> KnobSegmentRows(int framesPerSegment, int pixelScale) {
  std::vector<int> rows;
  for (int frame = 1; frame <= kKnobFrames; frame += std::max(framesPerSegment, 1)) {
    rows.push_back(FrameStartRow(frame, kKnobFrames, kKnobStripHeight * pixelScale));
  }
  return rows;
}

RgbaImage PaintKnobStrip(const Typefaces& fonts, int pixelScale) {
  const int width = kKnobSize * pixelScale;
  const int height = kKnobStripHeight * pixelScale;
  RgbaImage strip(width, height);
  for (int frame = 1; frame <= kKnobFrames; ++frame) {
    RgbaImage picture =
        PaintKnobFrame(fonts, static_cast<double>(frame - 1) / (kKnobFrames - 1), pixelScale);
    SnapEdgeColours(picture);
    const int top = FrameStartRow(frame, kKnobFrames, height);
    for (int y = 0; y < picture.height; ++y) {
      std::memcpy(strip.Row(top + y), picture.Row(y), static_cast<std::size_t>(width) * 4);
    }
  }
  return strip;
}

} // namespace artwork
