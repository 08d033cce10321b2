#pragma once

#include <memory>
#include <vector>

class RasterBitmap;

// The process-wide cache of decoded images by resource id, shared by every editor of every
// plug-in instance. Entries are only appended (failed loads too, without a bitmap) and live
// until the library unloads. The lock is held while searching or appending, never while
// decoding, so two editors may decode the same id at once; lookups then take the first.
class IImageCache {
public:
  static IImageCache& Instance();

  // The first bitmap cached for the id, or none.
  RasterBitmap* Find(int resourceId);
  // Keeps the bitmap (or records the failed load) and returns it.
  RasterBitmap* Append(int resourceId, std::unique_ptr<RasterBitmap> bitmap);

private:
  IImageCache() = default;

  struct Entry {
    int resourceId;
    std::unique_ptr<RasterBitmap> bitmap;
  };
  std::vector<Entry> entries;
};
