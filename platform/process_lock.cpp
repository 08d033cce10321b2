#include "platform/Lock.h"

IRecursiveLock& ProcessLock(ProcessLockId id) {
  // Function-local statics are made exactly once even under concurrent first calls and are
  // destroyed when the library unloads.
  static IRecursiveLock creation;
  static IRecursiveLock imageCache;
  static IRecursiveLock fontCache;
  switch (id) {
  case ProcessLockId::Creation:
    return creation;
  case ProcessLockId::ImageCache:
    return imageCache;
  case ProcessLockId::FontCache:
    break;
  }
  return fontCache;
}
