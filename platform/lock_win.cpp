#include "platform/Lock.h"

#include <new>
#include <windows.h>

static_assert(sizeof(CRITICAL_SECTION) <= IRecursiveLock::StorageSize &&
                  alignof(CRITICAL_SECTION) <= IRecursiveLock::StorageAlignment,
              "critical section must fit the lock's storage");

namespace {
CRITICAL_SECTION* Section(unsigned char* storage) {
  return std::launder(reinterpret_cast<CRITICAL_SECTION*>(storage));
}
} // namespace

IRecursiveLock::IRecursiveLock() {
  InitializeCriticalSection(new (storage) CRITICAL_SECTION);
}

IRecursiveLock::~IRecursiveLock() {
  DeleteCriticalSection(Section(storage));
}

void IRecursiveLock::Enter() {
  EnterCriticalSection(Section(storage));
}

void IRecursiveLock::Leave() {
  LeaveCriticalSection(Section(storage));
}
