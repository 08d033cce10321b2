#include "editor/ImageCache.h"

#include "platform/Lock.h"
#include "raster/RasterBitmap.h"
#include "raster/RasterSegmentedPng.h"

#include <cstddef>
#include <cstdint>

ICachedImage::ICachedImage(int resourceId, const char* fileName, int width, int height,
                           std::unique_ptr<RasterSegmentedPng> segments)
    : resourceId(resourceId), fileName(fileName ? fileName : ""), width(width), height(height),
      segments(segments.release()),
      segmentState(this->segments.load() ? SegmentState::Usable : SegmentState::Unknown) {}

ICachedImage::~ICachedImage() {
  delete bitmap.load(std::memory_order_acquire);
  delete segments.load(std::memory_order_acquire);
}

void ICachedImage::OfferSegments(std::unique_ptr<RasterSegmentedPng> found) {
  RasterSegmentedPng* expected = nullptr;
  if (found && segments.compare_exchange_strong(expected, found.get(), std::memory_order_acq_rel)) {
    found.release();
  }
  // A give-up that came first stays.
  SegmentState unknown = SegmentState::Unknown;
  segmentState.compare_exchange_strong(
      unknown,
      segments.load(std::memory_order_acquire) ? SegmentState::Usable : SegmentState::Unused,
      std::memory_order_acq_rel);
}

RasterBitmap* ICachedImage::Publish(std::unique_ptr<RasterBitmap> decoded) {
  if (!decoded) {
    // Another thread's decode may have succeeded meanwhile; its pixels stay.
    RasterBitmap* kept = Bitmap();
    failed.store(!kept, std::memory_order_release);
    return kept;
  }
  RasterBitmap* expected = nullptr;
  if (bitmap.compare_exchange_strong(expected, decoded.get(), std::memory_order_acq_rel)) {
    return decoded.release();
  }
  return expected;
}

bool ICachedImage::Opaque() {
  const Opacity known = opacity.load(std::memory_order_relaxed);
  if (known != Opacity::Unknown) {
    return known == Opacity::Opaque;
  }
  RasterBitmap* pixels = Bitmap();
  if (!pixels) {
    return false;
  }
  // Decoded pixels are only read, so threads asking at once find the same answer.
  bool opaque = true;
  for (int y = 0; y < pixels->Height() && opaque; ++y) {
    const std::uint32_t* row =
        pixels->PixelData() + static_cast<std::ptrdiff_t>(y) * pixels->RowSpan();
    for (int x = 0; x < pixels->Width(); ++x) {
      if ((row[x] >> 24) != 0xFF) {
        opaque = false;
        break;
      }
    }
  }
  opacity.store(opaque ? Opacity::Opaque : Opacity::Translucent, std::memory_order_relaxed);
  return opaque;
}

IImageCache& IImageCache::Instance() {
  static IImageCache cache;
  return cache;
}

// An entry of a failed load is passed over, so an image that loads on a later try is found from
// then on instead of being decoded again on every request.
ICachedImage* IImageCache::Find(int resourceId) {
  IScopedLock guard(ProcessLock(ProcessLockId::ImageCache));
  for (const auto& entry : entries) {
    if (entry->ResourceId() == resourceId && (entry->Bitmap() || !entry->Failed())) {
      return entry.get();
    }
  }
  return nullptr;
}

ICachedImage* IImageCache::Append(int resourceId, const char* fileName,
                                  std::unique_ptr<RasterBitmap> bitmap) {
  const int width = bitmap ? bitmap->Width() : 0;
  const int height = bitmap ? bitmap->Height() : 0;
  auto image = std::make_unique<ICachedImage>(resourceId, fileName, width, height);
  image->Publish(std::move(bitmap));
  return Keep(std::move(image));
}

ICachedImage* IImageCache::AppendUndecoded(int resourceId, const char* fileName, int width,
                                           int height) {
  return Keep(std::make_unique<ICachedImage>(resourceId, fileName, width, height));
}

ICachedImage* IImageCache::Keep(std::unique_ptr<ICachedImage> image) {
  ICachedImage* kept = image.get();
  IScopedLock guard(ProcessLock(ProcessLockId::ImageCache));
  entries.push_back(std::move(image));
  return kept;
}
