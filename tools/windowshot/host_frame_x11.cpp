#include "tools/windowshot/HostFrame.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdint>
#include <thread>

namespace {
constexpr int kIdleMs = 10;
// Synthetic clicks this far apart in time never make a double click.
constexpr Time kClickSpacingMs = 10000;

// A top-level window on the tool's own connection; the editor opens as its child, on the
// editor's own connection.
class X11Frame : public HostFrame {
public:
  X11Frame(Display* display, Window frame) : display(display), frame(frame) {}
  ~X11Frame() override {
    XDestroyWindow(display, frame);
    XCloseDisplay(display);
  }

  void* Parent() override { return reinterpret_cast<void*>(static_cast<std::uintptr_t>(frame)); }

  void Run(int milliseconds, const std::function<void()>& editorIdle) override {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
      while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
      }
      editorIdle();
      std::this_thread::sleep_for(std::chrono::milliseconds(kIdleMs));
    }
  }

  void Click(int x, int y) override {
    const Window editor = EditorWindow();
    if (!editor) {
      return;
    }
    XEvent event{};
    XButtonEvent& button = event.xbutton;
    button.display = display;
    button.window = editor;
    button.root = DefaultRootWindow(display);
    button.x = x;
    button.y = y;
    button.same_screen = True;
    button.button = Button1;
    clickTime += kClickSpacingMs;
    button.time = clickTime;
    button.type = ButtonPress;
    XSendEvent(display, editor, False, ButtonPressMask, &event);
    button.type = ButtonRelease;
    button.state = Button1Mask;
    XSendEvent(display, editor, False, ButtonReleaseMask, &event);
    XSync(display, False);
  }

  std::vector<std::uint32_t> EditorPixels(int* width, int* height) override {
    std::vector<std::uint32_t> pixels;
    const Window editor = EditorWindow();
    XWindowAttributes attributes{};
    if (!editor || !XGetWindowAttributes(display, editor, &attributes)) {
      return pixels;
    }
    *width = attributes.width;
    *height = attributes.height;
    XImage* image = XGetImage(display, editor, 0, 0, static_cast<unsigned>(*width),
                              static_cast<unsigned>(*height), AllPlanes, ZPixmap);
    if (!image) {
      return pixels;
    }
    pixels.reserve(static_cast<size_t>(*width) * *height);
    for (int y = 0; y < *height; ++y) {
      for (int x = 0; x < *width; ++x) {
        pixels.push_back(0xFF000000u |
                         (static_cast<std::uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFFu));
      }
    }
    XDestroyImage(image);
    return pixels;
  }

private:
  Window EditorWindow() {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(display, frame, &root, &parent, &children, &count) && count > 0) {
      found = children[0];
    }
    if (children) {
      XFree(children);
    }
    return found;
  }

  Display* display;
  Window frame;
  Time clickTime = 0;
};
} // namespace

std::unique_ptr<HostFrame> HostFrame::Make(int width, int height) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    return nullptr;
  }
  const int screen = DefaultScreen(display);
  const Window frame = XCreateSimpleWindow(
      display, RootWindow(display, screen), 20, 20, static_cast<unsigned>(width),
      static_cast<unsigned>(height), 0, BlackPixel(display, screen), BlackPixel(display, screen));
  XStoreName(display, frame, "Ombrix");
  XSelectInput(display, frame, StructureNotifyMask);
  XMapWindow(display, frame);
  XEvent event;
  do {
    XWindowEvent(display, frame, StructureNotifyMask, &event);
  } while (event.type != MapNotify);
  return std::make_unique<X11Frame>(display, frame);
}
