#include "editor/FrameCache.h"

#include "editor/ImageCache.h"
#include "raster/RasterSegmentedPng.h"

#include <algorithm>

IFrameCache& IFrameCache::Instance() {
  static IFrameCache cache(kProcessBudgetBytes);
  return cache;
}

IFrameCache::Entry* IFrameCache::Lookup(const ICachedImage* image, int firstSegment,
                                        int lastSegment) {
  for (Entry& entry : entries) {
    if (entry.image == image && entry.firstSegment == firstSegment &&
        entry.lastSegment == lastSegment) {
      entry.lastUse = ++useClock;
      return &entry;
    }
  }
  return nullptr;
}

// The run just stored is the most recently used, so it is never the one to go.
void IFrameCache::Trim() {
  while (heldBytes > budgetBytes && entries.size() > 1) {
    auto oldest = entries.begin();
    for (auto entry = entries.begin(); entry != entries.end(); ++entry) {
      if (entry->lastUse < oldest->lastUse) {
        oldest = entry;
      }
    }
    heldBytes -= oldest->bytes;
    entries.erase(oldest);
  }
}

IFrameCache::Rows IFrameCache::Find(ICachedImage& image, int top, int bottom) {
  const RasterSegmentedPng* segments = image.Segments();
  if (!segments) {
    return {};
  }
  const int firstSegment = segments->SegmentOfRow(top);
  const int lastSegment = std::max(segments->SegmentOfRow(bottom - 1), firstSegment);
  {
    IScopedLock guard(lock);
    if (const Entry* found = Lookup(&image, firstSegment, lastSegment)) {
      return found->rows;
    }
  }
  std::unique_ptr<RasterBitmap> decoded = segments->DecodeSegments(firstSegment, lastSegment);
  if (!decoded) {
    image.GiveUpSegments();
    return {};
  }
  const std::size_t bytes = static_cast<std::size_t>(decoded->RowSpan()) *
                            static_cast<std::size_t>(decoded->Height()) * 4;
  Rows rows{std::shared_ptr<RasterBitmap>(std::move(decoded)),
            segments->SegmentFirstRow(firstSegment)};
  IScopedLock guard(lock);
  // Another editor decoding the same run meanwhile: the first one stored stays.
  if (const Entry* found = Lookup(&image, firstSegment, lastSegment)) {
    return found->rows;
  }
  entries.push_back({&image, firstSegment, lastSegment, rows, bytes, ++useClock});
  heldBytes += bytes;
  Trim();
  return rows;
}

std::size_t IFrameCache::HeldBytes() {
  IScopedLock guard(lock);
  return heldBytes;
}
