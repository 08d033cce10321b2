#include "failing_allocation.h"

#include <atomic>
#include <new>

namespace {
std::atomic<bool> failing{false};
} // namespace

FailingAllocations::FailingAllocations() {
  failing = true;
}
FailingAllocations::~FailingAllocations() {
  failing = false;
}

// The byte block allocates with the non-throwing array form; tests make it answer nothing.
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  if (failing) {
    return nullptr;
  }
  try {
    return ::operator new[](size);
  } catch (...) {
    return nullptr;
  }
}
