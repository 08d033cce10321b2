#pragma once

#include <memory>
#include <vector>

class ICachedImage;

// Pictures resampled for the editor's scales between the smallest and the largest, one entry per
// picture and scale, shared by every editor of the process: the first editor to draw at a scale
// resamples, the others find its pixels. An entry is an image of the image cache's kind, so it
// publishes its pixels the same way; an entry for a film strip publishes none and only names
// its frames in the frame cache. Entries are only appended and live until the library unloads;
// the lock is held while searching or appending, never while resampling.
class IScaledImages {
public:
  static IScaledImages& Instance();

  // The entry for the picture source at scale, width x height once resampled; made (without
  // pixels) on first asking.
  ICachedImage* Find(const ICachedImage* source, double scale, int width, int height);

private:
  IScaledImages() = default;

  struct Entry {
    const ICachedImage* source;
    double scale;
    std::unique_ptr<ICachedImage> image;
  };
  std::vector<Entry> entries;
};
