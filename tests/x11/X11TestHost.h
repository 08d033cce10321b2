#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <functional>
#include <vector>

// The X side of a test host: a connection of its own (as a host has), parent windows for the
// editor, pointer and key input injected through XTest, and the server's pixels read back.
class X11TestHost {
public:
  X11TestHost();
  ~X11TestHost();
  X11TestHost(const X11TestHost&) = delete;
  X11TestHost& operator=(const X11TestHost&) = delete;

  Display* Connection() const { return display; }
  // A mapped top-level window at (x, y) in the root window.
  Window MakeParent(int x, int y, int width, int height);
  void Destroy(Window window);
  // The children of window, bottom first.
  std::vector<Window> Children(Window window);
  XWindowAttributes Attributes(Window window);
  // Where window's top-left corner lies on the root window.
  void RootPosition(Window window, int* x, int* y);

  // The window's pixels as 0x00RRGGBB rows, width x height.
  std::vector<std::uint32_t> Pixels(Window window, int width, int height);

  // Pointer and keys through XTest, at root coordinates; each waits until the server has them.
  void MovePointer(int rootX, int rootY);
  void Button(unsigned button, bool down);
  void Key(unsigned long keySym, bool down);

  // Sets the desktop's Xft.dpi resource on the server, as a desktop does for a screen scale;
  // 0 removes it. Connections opened afterwards see it.
  void SetDotsPerInch(int dotsPerInch);
  // X errors that reached the handler the test installed (the host's), since it was made.
  static int ErrorsSeen();

private:
  Display* display = nullptr;
  XErrorHandler previousHandler = nullptr;
};

// Calls idle every few milliseconds until done() holds or the time runs out; returns done().
bool PumpUntil(const std::function<void()>& idle, const std::function<bool()>& done, int timeoutMs);
// Calls idle every few milliseconds for the given time (enough for the redraw ticks to run).
void PumpFor(const std::function<void()>& idle, int milliseconds);

// Open file descriptors and threads of this process.
int OpenFileCount();
int ThreadCount();

// Pixels of a that differ from b (0x00RRGGBB compared), within width-wide rows of the rectangle.
int Differences(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b, int width,
                int left, int top, int right, int bottom);
