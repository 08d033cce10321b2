#include "raster/TextStyle.h"

#include "platform/Lock.h"
#include "raster/FontSystem.h"

#include <cstring>
#include <memory>
#include <vector>

namespace {
struct FontCacheEntry {
  std::int32_t size = 0;
  std::int32_t angle = 0;
  std::int32_t emphasis = 0;
  char face[32] = {};
  std::unique_ptr<RasterCachedFont> font;

  bool Matches(const ITextStyle& style) const {
    return size == style.size && angle == style.angle && emphasis == style.emphasis &&
           std::strncmp(face, style.face, sizeof(face)) == 0;
  }
};

// Fonts live until the library unloads.
std::vector<FontCacheEntry>& FontCache() {
  static std::vector<FontCacheEntry> cache;
  return cache;
}

RasterCachedFont* FindFont(const ITextStyle& style) {
  for (const FontCacheEntry& entry : FontCache()) {
    if (entry.Matches(style)) {
      return entry.font.get();
    }
  }
  return nullptr;
}
} // namespace

RasterCachedFont* FontForStyle(ITextStyle* style) {
  if (!style) {
    return nullptr;
  }
  IRecursiveLock& lock = ProcessLock(ProcessLockId::FontCache);
  {
    IScopedLock held(lock);
    if (RasterCachedFont* found = FindFont(*style)) {
      style->cachedFont = found;
      return found;
    }
  }
  RasterFontHandle handle = font_system::CreateStyleFont(*style);
  if (!handle) {
    return nullptr;
  }
  auto font = std::make_unique<RasterCachedFont>();
  font->UseGdiFont(handle, FontOwnsHandle | FontNativeOk);
  IScopedLock held(lock);
  FontCacheEntry entry;
  entry.size = style->size;
  entry.angle = style->angle;
  entry.emphasis = style->emphasis;
  std::memcpy(entry.face, style->face, sizeof(entry.face) - 1);
  entry.font = std::move(font);
  FontCache().push_back(std::move(entry));
  style->cachedFont = FontCache().back().font.get();
  return style->cachedFont;
}
