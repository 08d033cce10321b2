#include "editor/Editor.h"
#include "editor/ImageCache.h"
#include "editor/ScaledImages.h"
#include "raster/RasterBitmap.h"
#include "raster/RasterResample.h"

#include <algorithm>
#include <string>

namespace {

using editor_scale::ToWindow;

// "dir/knob.png" -> "dir/knob@2x.png".
std::string DoubleDensityName(const char* fileName) {
  std::string name = fileName ? fileName : "";
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? name + "@2x" : name.insert(dot, "@2x");
}

// The frame at (0, top) of the source, sourceHeight rows, resampled to width x height.
std::unique_ptr<RasterBitmap> ResampledFrame(RasterBitmap* source, int top, int sourceWidth,
                                             int sourceHeight, int width, int height) {
  return RasterResampleArea(source, RasterRect{0, top, sourceWidth, top + sourceHeight}, width,
                            height);
}

} // namespace

bool IEditor::HasSegments(const IImageStrip& strip) {
  if (!strip.image || strip.bitmap) {
    return false;
  }
  if (strip.image->SegmentsUnknown()) {
    strip.image->OfferSegments(
        OpenImageSegments(strip.image->ResourceId(), strip.image->FileName()));
  }
  return strip.image->Segments() != nullptr;
}

const IImageStrip& IEditor::DoubleDensityStrip(const IImageStrip& strip) {
  for (const DoubleDensityPair& pair : doubleDensityStrips) {
    if (pair.single == strip.image) {
      return pair.doubled;
    }
  }
  IImageStrip doubled = strip;
  const int id = strip.image->ResourceId() + editor_scale::DoubleDensityIdOffset;
  const std::string name = DoubleDensityName(strip.image->FileName());
  int headerWidth = 0;
  int headerHeight = 0;
  // Only a picture of exactly twice the size replaces the strip; a build without the 2x
  // pictures resamples the 1x ones.
  if (IImageCache::Instance().Find(id) ||
      (ImageResourceSize(id, name.c_str(), &headerWidth, &headerHeight) &&
       headerWidth == strip.width * 2 && headerHeight == strip.height * 2)) {
    const IImageStrip loaded = LoadImageStrip(id, name.c_str(), strip.frames);
    if (loaded.image && loaded.width == strip.width * 2 && loaded.height == strip.height * 2) {
      doubled = loaded;
    }
  }
  doubleDensityStrips.push_back({strip.image, doubled});
  return doubleDensityStrips.back().doubled;
}

IEditor::ScaledFrame IEditor::FrameAtScale(const IImageStrip& strip, int frame) {
  if (!strip.image) {
    return {};
  }
  const IImageStrip& source = DoubleDensityStrip(strip);
  const int sourceScale = source.width / std::max(strip.width, 1);
  const int frameHeight = strip.FrameHeight();
  const int sourceFrameHeight = frameHeight * sourceScale;
  const int sourceTop = source.FrameTop(frame);
  ScaledFrame scaled;
  scaled.width = ToWindow(strip.width, scale);
  scaled.height = ToWindow(frameHeight, scale);
  if (scale == sourceScale) {
    const IFrameCache::Rows rows = StripRows(source, sourceTop, sourceTop + sourceFrameHeight);
    scaled.bitmap = rows.bitmap;
    scaled.top = sourceTop - rows.firstRow;
    scaled.image = source.image;
    return scaled;
  }
  ICachedImage* image = IScaledImages::Instance().Find(source.image, scale, scaled.width,
                                                       scaled.height * source.frames);
  scaled.image = image;
  if (HasSegments(source)) {
    // A film strip: each frame resampled when first drawn, kept with the decoded frames.
    scaled.bitmap =
        IFrameCache::Instance()
            .FindOrMake(image, frame,
                        [&]() -> std::unique_ptr<RasterBitmap> {
                          const IFrameCache::Rows rows =
                              StripRows(source, sourceTop, sourceTop + sourceFrameHeight);
                          if (!rows.bitmap) {
                            return nullptr;
                          }
                          return ResampledFrame(rows.bitmap.get(), sourceTop - rows.firstRow,
                                                source.width, sourceFrameHeight, scaled.width,
                                                scaled.height);
                        })
            .bitmap;
    return scaled;
  }
  // A picture: every frame resampled at once into one image, kept for the process.
  if (!image->Bitmap() && !image->Failed()) {
    std::unique_ptr<RasterBitmap> stacked;
    if (RasterBitmap* pixels = StripBitmap(source)) {
      stacked = std::make_unique<RasterMemBitmap>(scaled.width, scaled.height * source.frames);
      for (int f = 0; f < source.frames && stacked; ++f) {
        const std::unique_ptr<RasterBitmap> one =
            ResampledFrame(pixels, source.FrameTop(f), source.width, sourceFrameHeight,
                           scaled.width, scaled.height);
        if (!one) {
          stacked.reset();
          break;
        }
        RasterCopyArea(stacked.get(), one.get(), 0, f * scaled.height, nullptr, 1.0f,
                       RASTER_OP_COPY);
      }
    }
    image->Publish(std::move(stacked));
  }
  // The pixels belong to the scaled images: shared without ownership.
  scaled.bitmap = std::shared_ptr<RasterBitmap>(std::shared_ptr<RasterBitmap>(), image->Bitmap());
  scaled.top = frame * scaled.height;
  return scaled;
}

bool IEditor::ImageCoversArea(const IImageStrip& strip, const IBounds& area, int sourceRow,
                              bool copied) {
  if (scale == editor_scale::Smallest) {
    // The drawing clips to the bitmap: it must hold every row and column the area shows.
    RasterBitmap* pixels = StripBitmap(strip);
    if (!pixels || pixels->Width() < strip.width || pixels->Height() < strip.height ||
        sourceRow + area.Height() > strip.height) {
      return false;
    }
    return copied || (strip.image && strip.image->Opaque());
  }
  const ScaledFrame pixels = FrameAtScale(strip, strip.FrameOfRow(sourceRow));
  const IBounds window = WindowBounds(area);
  if (!pixels.bitmap || sourceRow != strip.FrameTop(strip.FrameOfRow(sourceRow)) ||
      pixels.width < window.Width() || pixels.height < window.Height() ||
      pixels.bitmap->Width() < window.Width() ||
      pixels.bitmap->Height() < pixels.top + window.Height()) {
    return false;
  }
  return copied || (pixels.image && pixels.image->Opaque());
}
