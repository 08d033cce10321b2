#include "editor/x11/X11Window.h"

#include "editor/x11/X11ErrorTrap.h"

#include <X11/Xresource.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace {
// Exposure, the pointer, crossing, keys and the window's own destruction.
constexpr long EditorEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask |
                              PointerMotionMask | EnterWindowMask | LeaveWindowMask | KeyPressMask |
                              KeyReleaseMask | StructureNotifyMask;
constexpr unsigned long RedMask = 0xFF0000;
constexpr unsigned long GreenMask = 0x00FF00;
constexpr unsigned long BlueMask = 0x0000FF;
constexpr int PixelBits = 32;

// Whether the visual takes the draw bitmap's words as they are: 8 bits each of red, green and
// blue in the words' low 24 bits, one 32-bit word per pixel.
bool TakesBitmapPixels(Display* display, const Visual* visual, int depth) {
  if (visual->c_class != TrueColor || (depth != 24 && depth != 32) || visual->red_mask != RedMask ||
      visual->green_mask != GreenMask || visual->blue_mask != BlueMask) {
    return false;
  }
  int count = 0;
  XPixmapFormatValues* formats = XListPixmapFormats(display, &count);
  bool fits = false;
  for (int i = 0; i < count; ++i) {
    if (formats[i].depth == depth) {
      fits = formats[i].bits_per_pixel == PixelBits;
    }
  }
  if (formats) {
    XFree(formats);
  }
  return fits;
}

// A server that is slow to accept can have its queue of waiting connections full for a moment:
// the connection then fails with EAGAIN and succeeds when tried again shortly after.
constexpr int ConnectAttempts = 10;
constexpr int ConnectRetryMs = 10;

Display* OpenConnection(const char* displayName) {
  for (int attempt = 0; attempt < ConnectAttempts; ++attempt) {
    errno = 0;
    if (Display* display = XOpenDisplay(displayName)) {
      return display;
    }
    if (errno != EAGAIN) {
      return nullptr;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(ConnectRetryMs));
  }
  return nullptr;
}

int HostByteOrder() {
  const std::uint32_t probe = 1;
  return *reinterpret_cast<const unsigned char*>(&probe) == 1 ? LSBFirst : MSBFirst;
}
} // namespace

double X11Window::ServerDotsPerInch(const char* displayName) {
  Display* display = OpenConnection(displayName);
  if (!display) {
    return 0.0;
  }
  double dotsPerInch = 0.0;
  if (const char* resources = XResourceManagerString(display)) {
    XrmInitialize();
    if (XrmDatabase database = XrmGetStringDatabase(resources)) {
      char* type = nullptr;
      XrmValue value{};
      if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr && type &&
          std::string(type) == "String") {
        dotsPerInch = std::strtod(value.addr, nullptr);
      }
      XrmDestroyDatabase(database);
    }
  }
  XCloseDisplay(display);
  return dotsPerInch > 0.0 ? dotsPerInch : 0.0;
}

std::unique_ptr<X11Window> X11Window::Open(unsigned long parent, const Placement& placement,
                                           const char* displayName) {
  if (parent == 0) {
    return nullptr;
  }
  Display* display = OpenConnection(displayName);
  if (!display) {
    return nullptr;
  }
  std::unique_ptr<X11Window> made(new X11Window(display));
  if (!made->Create(static_cast<Window>(parent), placement)) {
    return nullptr;
  }
  return made;
}

bool X11Window::Create(Window parent, const Placement& placement) {
  X11ErrorTrap trap(display);
  XWindowAttributes parentAttributes{};
  if (!XGetWindowAttributes(display, parent, &parentAttributes) || trap.Failed()) {
    return false;
  }
  Screen* screen = parentAttributes.screen;
  visual = DefaultVisualOfScreen(screen);
  depth = DefaultDepthOfScreen(screen);
  if (!TakesBitmapPixels(display, visual, depth)) {
    return false;
  }
  // A colormap and border pixel of its own: a child of a 32-bit parent inheriting them fails
  // with BadMatch.
  colormap = XCreateColormap(display, RootWindowOfScreen(screen), visual, AllocNone);
  cursor = XCreateFontCursor(display, XC_left_ptr);
  XSetWindowAttributes attributes{};
  attributes.background_pixmap = None;
  attributes.border_pixel = 0;
  attributes.colormap = colormap;
  attributes.event_mask = EditorEvents;
  attributes.cursor = cursor;
  window = XCreateWindow(
      display, parent, placement.x, placement.y,
      static_cast<unsigned>(std::max(placement.width, 1)),
      static_cast<unsigned>(std::max(placement.height, 1)), 0, depth, InputOutput, visual,
      CWBackPixmap | CWBorderPixel | CWColormap | CWEventMask | CWCursor, &attributes);
  XMapWindow(display, window);
  gc = XCreateGC(display, window, 0, nullptr);
  if (trap.Failed()) {
    // The parent went between the check and the creation.
    destroyed = true;
    return false;
  }
  return true;
}

X11Window::~X11Window() {
  {
    X11ErrorTrap trap(display);
    if (window && !destroyed) {
      XDestroyWindow(display, window);
    }
    if (gc) {
      XFreeGC(display, gc);
    }
    if (cursor) {
      XFreeCursor(display, cursor);
    }
    if (colormap) {
      XFreeColormap(display, colormap);
    }
    trap.Failed();
  }
  XCloseDisplay(display);
}

X11Window::Placement X11Window::CurrentPlacement() {
  X11ErrorTrap trap(display);
  Window root = 0;
  int x = 0;
  int y = 0;
  unsigned width = 0;
  unsigned height = 0;
  unsigned border = 0;
  unsigned windowDepth = 0;
  Placement placement;
  if (XGetGeometry(display, window, &root, &x, &y, &width, &height, &border, &windowDepth) &&
      !trap.Failed()) {
    placement = Placement{x, y, static_cast<int>(width), static_cast<int>(height)};
  }
  return placement;
}

void X11Window::Resize(int width, int height) {
  if (destroyed || width <= 0 || height <= 0) {
    return;
  }
  X11ErrorTrap trap(display);
  XResizeWindow(display, window, static_cast<unsigned>(width), static_cast<unsigned>(height));
  XSync(display, False);
}

bool X11Window::NextEvent(XEvent* event) {
  if (XPending(display) <= 0) {
    return false;
  }
  XNextEvent(display, event);
  return true;
}

void X11Window::Present(const std::uint32_t* pixels, int rowSpan, int width, int height,
                        const IBounds& rect) {
  const int left = std::max(rect.left, 0);
  const int top = std::max(rect.top, 0);
  const int right = std::min(rect.right, width);
  const int bottom = std::min(rect.bottom, height);
  if (!pixels || right <= left || bottom <= top || destroyed) {
    return;
  }
  // The draw bitmap itself, described as an image in the host's byte order; Xlib converts when
  // the server's order differs.
  XImage image{};
  image.width = width;
  image.height = height;
  image.format = ZPixmap;
  image.data = reinterpret_cast<char*>(const_cast<std::uint32_t*>(pixels));
  image.byte_order = HostByteOrder();
  image.bitmap_unit = PixelBits;
  image.bitmap_bit_order = image.byte_order;
  image.bitmap_pad = PixelBits;
  image.depth = depth;
  image.bytes_per_line = rowSpan * static_cast<int>(sizeof(std::uint32_t));
  image.bits_per_pixel = PixelBits;
  image.red_mask = RedMask;
  image.green_mask = GreenMask;
  image.blue_mask = BlueMask;
  if (!XInitImage(&image)) {
    return;
  }
  XPutImage(display, window, gc, &image, left, top, left, top, static_cast<unsigned>(right - left),
            static_cast<unsigned>(bottom - top));
}

bool X11Window::PointerPosition(int* x, int* y) {
  X11ErrorTrap trap(display);
  Window root = 0;
  Window child = 0;
  int rootX = 0;
  int rootY = 0;
  unsigned state = 0;
  const bool sameScreen =
      XQueryPointer(display, window, &root, &child, &rootX, &rootY, x, y, &state) == True;
  return !trap.Failed() && sameScreen;
}
