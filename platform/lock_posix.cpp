#include "platform/Lock.h"

#include <mutex>
#include <new>

static_assert(sizeof(std::recursive_mutex) <= IRecursiveLock::StorageSize &&
                  alignof(std::recursive_mutex) <= IRecursiveLock::StorageAlignment,
              "mutex must fit the lock's storage");

namespace {
std::recursive_mutex* Mutex(unsigned char* storage) {
  return std::launder(reinterpret_cast<std::recursive_mutex*>(storage));
}
} // namespace

IRecursiveLock::IRecursiveLock() {
  new (storage) std::recursive_mutex;
}

IRecursiveLock::~IRecursiveLock() {
  Mutex(storage)->~recursive_mutex();
}

void IRecursiveLock::Enter() {
  Mutex(storage)->lock();
}

void IRecursiveLock::Leave() {
  Mutex(storage)->unlock();
}
