#include "editor/x11/X11ErrorTrap.h"

#include <mutex>

namespace {
// Xlib keeps one error handler per process: traps on different threads take turns, and a trap
// nested on the same thread passes.
std::recursive_mutex& TrapMutex() {
  static std::recursive_mutex mutex;
  return mutex;
}

X11ErrorTrap* innermostTrap = nullptr;
} // namespace

X11ErrorTrap::X11ErrorTrap(Display* display) : display(display) {
  TrapMutex().lock();
  outerTrap = innermostTrap;
  innermostTrap = this;
  previousHandler = XSetErrorHandler(&X11ErrorTrap::Handle);
}

X11ErrorTrap::~X11ErrorTrap() {
  // Errors still on their way belong to this trap's requests.
  XSync(display, False);
  XSetErrorHandler(previousHandler);
  innermostTrap = outerTrap;
  TrapMutex().unlock();
}

bool X11ErrorTrap::Failed() {
  XSync(display, False);
  return failed;
}

int X11ErrorTrap::Handle(Display* display, XErrorEvent* error) {
  for (X11ErrorTrap* trap = innermostTrap; trap; trap = trap->outerTrap) {
    if (trap->display == display) {
      if (!trap->failed) {
        trap->failed = true;
        trap->firstError = *error;
      }
      return 0;
    }
  }
  // Not one of ours: what the host installed decides.
  XErrorHandler outer = nullptr;
  for (X11ErrorTrap* trap = innermostTrap; trap; trap = trap->outerTrap) {
    outer = trap->previousHandler;
  }
  return outer ? outer(display, error) : 0;
}
