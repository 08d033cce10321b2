#include "tools/render/Interrupt.h"

#include <atomic>
#include <csignal>

namespace {
std::atomic<bool> interruptRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free,
              "a signal handler may only touch lock-free atomics");

extern "C" void OnInterrupt(int) {
  interruptRequested.store(true);
  std::signal(SIGINT, SIG_DFL);
}
} // namespace

InterruptGuard::InterruptGuard() {
  interruptRequested.store(false);
  previous = std::signal(SIGINT, OnInterrupt);
}

InterruptGuard::~InterruptGuard() {
  std::signal(SIGINT, previous == SIG_ERR ? SIG_DFL : previous);
}

bool InterruptRequested() {
  return interruptRequested.load();
}
