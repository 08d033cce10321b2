#pragma once

#include "raster/RasterSegmentedPng.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

class RasterBitmap;

// One image of the cache: its size, known before its pixels are, and the pixels once decoded.
// An image whose size comes from its file header is decoded when it is first drawn; the first
// bitmap published stays, so two editors decoding it at once cost a second decode, never a race.
class ICachedImage {
public:
  // An image with segments decodes its rows a segment run at a time (IFrameCache), never whole
  // unless a run fails to decode. Without, whether it has any is found when it is first drawn.
  ICachedImage(int resourceId, const char* fileName, int width, int height,
               std::unique_ptr<RasterSegmentedPng> segments = nullptr);
  ~ICachedImage();
  ICachedImage(const ICachedImage&) = delete;
  ICachedImage& operator=(const ICachedImage&) = delete;

  int ResourceId() const { return resourceId; }
  const char* FileName() const { return fileName.c_str(); }
  int Width() const { return width; }
  int Height() const { return height; }
  // None until decoded.
  RasterBitmap* Bitmap() const { return bitmap.load(std::memory_order_acquire); }
  // Decoding was tried and failed: the image draws nothing.
  bool Failed() const { return failed.load(std::memory_order_acquire); }
  // The image's segments while they decode; none for an image decoded whole, or not yet drawn.
  const RasterSegmentedPng* Segments() const {
    return segmentState.load(std::memory_order_acquire) == SegmentState::Usable
               ? segments.load(std::memory_order_acquire)
               : nullptr;
  }
  // Nobody has looked for the image's segments yet. Looking walks every chunk of its file, so
  // it waits for the first draw: a plug-in whose editor never opens never reads the knob strip.
  bool SegmentsUnknown() const {
    return segmentState.load(std::memory_order_acquire) == SegmentState::Unknown;
  }
  // Keeps the segments found for the image (none: it is decoded whole). The first found stay.
  void OfferSegments(std::unique_ptr<RasterSegmentedPng> found);
  // A segment run failed to decode: the image is decoded whole from now on.
  void GiveUpSegments() { segmentState.store(SegmentState::Unused, std::memory_order_release); }
  // Decoded and every pixel's alpha is 255; looked at once, on first asking.
  bool Opaque();
  // Keeps the decoded bitmap unless another thread published one first (this one then goes),
  // or records the failure; returns the bitmap the image holds.
  RasterBitmap* Publish(std::unique_ptr<RasterBitmap> decoded);

private:
  int resourceId;
  std::string fileName;
  int width;
  int height;
  std::atomic<RasterBitmap*> bitmap{nullptr};
  std::atomic<bool> failed{false};
  enum class SegmentState { Unknown, Usable, Unused };
  std::atomic<RasterSegmentedPng*> segments;
  std::atomic<SegmentState> segmentState;
  enum class Opacity { Unknown, Opaque, Translucent };
  std::atomic<Opacity> opacity{Opacity::Unknown};
};

// The process-wide cache of images by resource id, shared by every editor of every plug-in
// instance. Entries are only appended (failed loads too) and live until the library unloads.
// The lock is held while searching or appending, never while decoding.
class IImageCache {
public:
  static IImageCache& Instance();

  // The first image cached for the id that holds pixels or may still decode them, or none.
  ICachedImage* Find(int resourceId);
  // Keeps the decoded bitmap (or records the failed load) and returns its image.
  ICachedImage* Append(int resourceId, const char* fileName, std::unique_ptr<RasterBitmap> bitmap);
  // Records an image of known size whose pixels are decoded on first use, whole or, when it has
  // segments, a segment run at a time.
  ICachedImage* AppendUndecoded(int resourceId, const char* fileName, int width, int height);

private:
  IImageCache() = default;

  ICachedImage* Keep(std::unique_ptr<ICachedImage> image);

  std::vector<std::unique_ptr<ICachedImage>> entries;
};
