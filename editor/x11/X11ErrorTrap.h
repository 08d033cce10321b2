#pragma once

#include <X11/Xlib.h>

// Keeps the X errors of one connection away from the process's error handler while it lives:
// the host owns that handler, and Xlib's default one ends the process. Errors of other
// connections (the host's own) still reach the handler that was installed before. Traps may
// nest; each restores what it found. Install it, make the requests, ask Failed() (which syncs),
// let it go.
class X11ErrorTrap {
public:
  explicit X11ErrorTrap(Display* display);
  ~X11ErrorTrap();
  X11ErrorTrap(const X11ErrorTrap&) = delete;
  X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

  // Waits until the server has answered every request made so far; true when any of them (since
  // the trap was installed) failed.
  bool Failed();
  // The first error caught, valid when Failed() is true.
  const XErrorEvent& FirstError() const { return firstError; }

private:
  static int Handle(Display* display, XErrorEvent* error);

  Display* display;
  XErrorHandler previousHandler;
  X11ErrorTrap* outerTrap;
  bool failed = false;
  XErrorEvent firstError{};
};
