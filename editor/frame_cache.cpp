#include "editor/FrameCache.h"

#include "editor/ImageCache.h"
#include "raster/RasterSegmentedPng.h"

#include <algorithm>

IFrameCache& IFrameCache::Instance() {
  static IFrameCache cache(kProcessBudgetBytes);
  return cache;
}

IFrameCache::Entry* IFrameCache::Lookup(const void* owner, int firstSegment, int lastSegment) {
  for (Entry& entry : entries) {
    if (entry.owner == owner && entry.firstSegment == firstSegment &&
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
  const int firstRow = segments->SegmentFirstRow(firstSegment);
  return Store(&image, firstSegment, lastSegment,
               Rows{std::shared_ptr<RasterBitmap>(std::move(decoded)), firstRow});
}

IFrameCache::Rows
IFrameCache::FindOrMake(const void* owner, int index,
                        const std::function<std::unique_ptr<RasterBitmap>()>& make) {
  {
    IScopedLock guard(lock);
    if (const Entry* found = Lookup(owner, index, index)) {
      return found->rows;
    }
  }
  std::unique_ptr<RasterBitmap> made = make();
  if (!made) {
    return {};
  }
  return Store(owner, index, index, Rows{std::shared_ptr<RasterBitmap>(std::move(made)), 0});
}

IFrameCache::Rows IFrameCache::Store(const void* owner, int firstSegment, int lastSegment,
                                     Rows rows) {
  const std::size_t bytes = static_cast<std::size_t>(rows.bitmap->RowSpan()) *
                            static_cast<std::size_t>(rows.bitmap->Height()) * 4;
  IScopedLock guard(lock);
  // Another editor making the same rows meanwhile: the first one stored stays.
  if (const Entry* found = Lookup(owner, firstSegment, lastSegment)) {
    return found->rows;
  }
  entries.push_back({owner, firstSegment, lastSegment, rows, bytes, ++useClock});
  heldBytes += bytes;
  Trim();
  return rows;
}

std::size_t IFrameCache::HeldBytes() {
  IScopedLock guard(lock);
  return heldBytes;
}
