#pragma once

#include "raster/IArgb.h"
#include "raster/RasterFont.h"

#include <cstdint>

enum TextEmphasis { EmphasisPlain = 0, EmphasisBold = 1, EmphasisItalic = 2 };
enum TextAlignment { AlignLeft = 0, AlignCentre = 1, AlignRight = 2 };

// The text style every control carries; it also colours the text-entry box.
struct ITextStyle {
  char face[32] = "Verdana";
  std::int32_t size = 12; // cell height in pixels
  IArgb colour{255, 0, 0, 0};
  IArgb entryBackColour{255, 255, 255, 255};
  IArgb entryTextColour{255, 0, 0, 0};
  std::int32_t emphasis = EmphasisPlain;
  std::int32_t alignment = AlignCentre;
  std::int32_t angle = 0;     // degrees
  std::int32_t smoothing = 0; // 0 system default, 1 none, 2 antialiased, 3 ClearType
  RasterCachedFont* cachedFont = nullptr;
};

// The process-wide font for the style's face, size, angle and emphasis, made on first use and
// shared by every style with the same key until the library unloads. Stores it in the style's
// cachedFont; none when no font can be made (always so where the platform has no fonts).
RasterCachedFont* FontForStyle(ITextStyle* style);
