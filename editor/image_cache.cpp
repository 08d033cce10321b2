#include "editor/ImageCache.h"

#include "platform/Lock.h"
#include "raster/RasterBitmap.h"

IImageCache& IImageCache::Instance() {
  static IImageCache cache;
  return cache;
}

// An entry of a failed load is passed over, so an image that loads on a later try is found from
// then on instead of being decoded again on every request.
RasterBitmap* IImageCache::Find(int resourceId) {
  IScopedLock guard(ProcessLock(ProcessLockId::ImageCache));
  for (const Entry& entry : entries) {
    if (entry.resourceId == resourceId && entry.bitmap) {
      return entry.bitmap.get();
    }
  }
  return nullptr;
}

RasterBitmap* IImageCache::Append(int resourceId, std::unique_ptr<RasterBitmap> bitmap) {
  RasterBitmap* kept = bitmap.get();
  IScopedLock guard(ProcessLock(ProcessLockId::ImageCache));
  entries.push_back(Entry{resourceId, std::move(bitmap)});
  return kept;
}
