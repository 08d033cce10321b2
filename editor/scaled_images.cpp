#include "editor/ScaledImages.h"

#include "editor/ImageCache.h"
#include "platform/Lock.h"

IScaledImages& IScaledImages::Instance() {
  static IScaledImages images;
  return images;
}

ICachedImage* IScaledImages::Find(const ICachedImage* source, double scale, int width, int height) {
  IScopedLock guard(ProcessLock(ProcessLockId::ImageCache));
  for (const Entry& entry : entries) {
    if (entry.source == source && entry.scale == scale) {
      return entry.image.get();
    }
  }
  auto image =
      std::make_unique<ICachedImage>(source->ResourceId(), source->FileName(), width, height);
  ICachedImage* kept = image.get();
  entries.push_back({source, scale, std::move(image)});
  return kept;
}
