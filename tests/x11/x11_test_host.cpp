#include "tests/x11/X11TestHost.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <dirent.h>

#include <cstdio>
#include <string>

#include <atomic>
#include <chrono>
#include <thread>

namespace {
std::atomic<int> errorsSeen{0};

int CountError(Display*, XErrorEvent*) {
  ++errorsSeen;
  return 0;
}

int EntriesIn(const char* folder) {
  DIR* dir = opendir(folder);
  if (!dir) {
    return -1;
  }
  int count = 0;
  while (const dirent* entry = readdir(dir)) {
    count += entry->d_name[0] != '.';
  }
  closedir(dir);
  return count;
}
} // namespace

X11TestHost::X11TestHost() {
  // A busy server may refuse a connection for a moment (EAGAIN).
  for (int attempt = 0; attempt < 20 && !display; ++attempt) {
    display = XOpenDisplay(nullptr);
    if (!display) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  if (!display) {
    std::fprintf(stderr, "cannot open the X display %s\n", XDisplayName(nullptr));
  }
  errorsSeen = 0;
  previousHandler = XSetErrorHandler(CountError);
}

X11TestHost::~X11TestHost() {
  XSetErrorHandler(previousHandler);
  if (display) {
    XCloseDisplay(display);
  }
}

Window X11TestHost::MakeParent(int x, int y, int width, int height) {
  const int screen = DefaultScreen(display);
  Window window = XCreateSimpleWindow(display, RootWindow(display, screen), x, y,
                                      static_cast<unsigned>(width), static_cast<unsigned>(height),
                                      0, BlackPixel(display, screen), BlackPixel(display, screen));
  XSelectInput(display, window, StructureNotifyMask);
  XMapWindow(display, window);
  XEvent event;
  do {
    XWindowEvent(display, window, StructureNotifyMask, &event);
  } while (event.type != MapNotify);
  return window;
}

void X11TestHost::Destroy(Window window) {
  XDestroyWindow(display, window);
  XSync(display, False);
}

std::vector<Window> X11TestHost::Children(Window window) {
  Window root = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  std::vector<Window> found;
  if (XQueryTree(display, window, &root, &parent, &children, &count)) {
    found.assign(children, children + count);
  }
  if (children) {
    XFree(children);
  }
  return found;
}

XWindowAttributes X11TestHost::Attributes(Window window) {
  XWindowAttributes attributes{};
  XGetWindowAttributes(display, window, &attributes);
  return attributes;
}

void X11TestHost::RootPosition(Window window, int* x, int* y) {
  Window child = 0;
  XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, x, y, &child);
}

void X11TestHost::SetDotsPerInch(int dotsPerInch) {
  const Window root = DefaultRootWindow(display);
  if (dotsPerInch <= 0) {
    XDeleteProperty(display, root, XA_RESOURCE_MANAGER);
  } else {
    const std::string resources = "Xft.dpi:\t" + std::to_string(dotsPerInch) + "\n";
    XChangeProperty(display, root, XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(resources.data()),
                    static_cast<int>(resources.size()));
  }
  XSync(display, False);
}

std::vector<std::uint32_t> X11TestHost::Pixels(Window window, int width, int height) {
  std::vector<std::uint32_t> pixels;
  XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), AllPlanes, ZPixmap);
  if (!image) {
    return pixels;
  }
  pixels.reserve(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      pixels.push_back(static_cast<std::uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFFu);
    }
  }
  XDestroyImage(image);
  return pixels;
}

void X11TestHost::MovePointer(int rootX, int rootY) {
  XTestFakeMotionEvent(display, DefaultScreen(display), rootX, rootY, CurrentTime);
  XSync(display, False);
}

void X11TestHost::Button(unsigned button, bool down) {
  XTestFakeButtonEvent(display, button, down ? True : False, CurrentTime);
  XSync(display, False);
}

void X11TestHost::Key(unsigned long keySym, bool down) {
  XTestFakeKeyEvent(display, XKeysymToKeycode(display, keySym), down ? True : False, CurrentTime);
  XSync(display, False);
}

int X11TestHost::ErrorsSeen() {
  return errorsSeen;
}

bool PumpUntil(const std::function<void()>& idle, const std::function<bool()>& done,
               int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (true) {
    idle();
    if (done()) {
      return true;
    }
    if (std::chrono::steady_clock::now() > end) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
  }
}

void PumpFor(const std::function<void()>& idle, int milliseconds) {
  PumpUntil(
      idle, [] { return false; }, milliseconds);
}

int OpenFileCount() {
  // Less the listing's own descriptor.
  return EntriesIn("/proc/self/fd") - 1;
}

int ThreadCount() {
  return EntriesIn("/proc/self/task");
}

int Differences(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b, int width,
                int left, int top, int right, int bottom) {
  if (a.size() != b.size()) {
    return -1;
  }
  int count = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      const size_t i = static_cast<size_t>(y) * width + x;
      count += (a[i] & 0xFFFFFFu) != (b[i] & 0xFFFFFFu);
    }
  }
  return count;
}
