#pragma once

#include "editor/EditorRecords.h"

#include <X11/Xlib.h>

#include <cstdint>
#include <memory>

// One child window of a host's X11 window on a connection of its own (the host's connection is
// drained by the host's own thread, and requests on it would interleave with the host's). Every
// request that can fail on a window someone else owns runs inside an error trap.
class X11Window {
public:
  struct Placement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
  };

  // A mapped child of parent at placement, with the screen's default visual; none when there is
  // no display, the parent does not exist, or the visual cannot show 32-bit 0xAARRGGBB pixels
  // unchanged (TrueColor, depth 24 or 32).
  // displayName: the server the parent lives on; null for the one DISPLAY names.
  static std::unique_ptr<X11Window> Open(unsigned long parent, const Placement& placement,
                                         const char* displayName = nullptr);
  // The Xft.dpi resource the desktop keeps on the server (what it sets when the user picks a
  // screen scale); 0 when there is none or no server.
  static double ServerDotsPerInch(const char* displayName = nullptr);

  // Destroys the window (unless the host already did) and closes the connection.
  ~X11Window();
  X11Window(const X11Window&) = delete;
  X11Window& operator=(const X11Window&) = delete;

  Display* Connection() const { return display; }
  Window Id() const { return window; }
  // Where the window stands within its parent now.
  Placement CurrentPlacement();
  // Gives the window a new size, keeping its place.
  void Resize(int width, int height);
  // Takes the next queued event without waiting; false when none is queued.
  bool NextEvent(XEvent* event);
  // Copies rect of the pixels (rows rowSpan words apart, width x height) to the window.
  void Present(const std::uint32_t* pixels, int rowSpan, int width, int height,
               const IBounds& rect);
  // The pointer's position within the window; false when it is on another screen.
  bool PointerPosition(int* x, int* y);
  // The server destroyed the window (its parent went): nothing is left to destroy.
  void Forget() { destroyed = true; }

private:
  explicit X11Window(Display* display) : display(display) {}
  bool Create(Window parent, const Placement& placement);

  Display* display;
  Window window = 0;
  Visual* visual = nullptr;
  int depth = 0;
  Colormap colormap = 0;
  Cursor cursor = 0;
  GC gc = nullptr;
  bool destroyed = false;
};
