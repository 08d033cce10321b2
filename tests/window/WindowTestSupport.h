#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

// A window standing in for a host's editor frame: a child of one borderless top-level window
// shared by the whole test program (Wine without a window manager takes seconds to destroy a
// visible top-level window, children go at once). The top-level window records the keys sent
// to it.
class HostWindow {
public:
  explicit HostWindow(int width = 800, int height = 600, HWND parent = nullptr);
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  HWND Handle() const { return hwnd; }
  static HWND Root();
  // Virtual-key codes of the WM_KEYDOWN messages the top-level window received since this host
  // was made.
  static const std::vector<WPARAM>& KeysReceived();

private:
  HWND hwnd = nullptr;
};

// Dispatches this thread's messages for about the given time.
void PumpMessages(int milliseconds);
// Dispatches messages until done() answers true or the time runs out; returns done().
template <typename Done> bool PumpUntil(Done done, int milliseconds) {
  const DWORD start = GetTickCount();
  while (!done() && GetTickCount() - start < static_cast<DWORD>(milliseconds)) {
    PumpMessages(5);
  }
  return done();
}

// The first child window of parent with the editor's window class, or none.
HWND EditorChild(HWND parent);
// The position of a window's top-left corner relative to another window's, and its size.
RECT PlacementWithin(HWND window, HWND frame);

LPARAM PointerAt(int x, int y);

// The window's top-left width x height pixels as the screen shows them, 0xRRGGBB row by row.
std::vector<std::uint32_t> ScreenPixels(HWND window, int width, int height);
