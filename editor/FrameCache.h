#pragma once

#include "platform/Lock.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class ICachedImage;
class RasterBitmap;

// Rows of images that decode a segment at a time (the knob's film strip: one segment a frame),
// and frames resampled for an editor scale, kept in a process-wide cache shared by every editor of
// every plug-in instance. The cache holds at most its budget of pixels (or the one run last asked
// for, if that alone is more), letting the least recently drawn go first. The lock is held while
// searching or storing, never while decoding.
class IFrameCache {
public:
  // About forty knob frames: a turn back and forth stays decoded, a whole sweep does not pile up.
  static constexpr std::size_t kProcessBudgetBytes = 6u << 20;

  explicit IFrameCache(std::size_t budgetBytes) : budgetBytes(budgetBytes) {}
  static IFrameCache& Instance();

  // Decoded rows of an image: the bitmap holds image row firstRow as its row 0, and stays valid
  // while this is kept, whatever the cache lets go meanwhile.
  struct Rows {
    std::shared_ptr<RasterBitmap> bitmap;
    int firstRow = 0;
  };
  // The segments of image holding rows top to bottom (exclusive), decoded now if needed. Empty
  // when the image has no usable segments; a run that does not decode makes the image give up
  // its segments, so it takes the whole-image decode from then on.
  Rows Find(ICachedImage& image, int top, int bottom);
  // Pixels that an owner makes itself (one frame of a strip resampled for a scale), kept by the
  // owner and an index under the same budget: made by make when not held. Empty when make gives
  // none.
  Rows FindOrMake(const void* owner, int index,
                  const std::function<std::unique_ptr<RasterBitmap>()>& make);

  std::size_t HeldBytes();

private:
  struct Entry {
    const void* owner;
    int firstSegment;
    int lastSegment;
    Rows rows;
    std::size_t bytes;
    std::uint64_t lastUse;
  };

  Entry* Lookup(const void* owner, int firstSegment, int lastSegment);
  // Keeps rows made from segments first to last of owner, unless another thread stored them
  // meanwhile; returns the rows kept.
  Rows Store(const void* owner, int firstSegment, int lastSegment, Rows rows);
  void Trim();

  IRecursiveLock lock;
  std::size_t budgetBytes;
  std::size_t heldBytes = 0;
  std::uint64_t useClock = 0;
  std::vector<Entry> entries;
};
