#include "editor/x11/EditorX11.h"

#include "editor/VirtualKeys.h"
#include "editor/x11/X11ErrorTrap.h"
#include "editor/x11/X11Window.h"
#include "raster/RasterSysBitmap.h"

#include <X11/Xutil.h>

#include <cstdint>

using namespace x11_input;

namespace {
// Key text XLookupString may write; only the key symbol is used.
constexpr int KeyTextBytes = 16;

} // namespace

IEditorX11::IEditorX11(IAudioPlugin* plugin, int width, int height, int frameRate)
    : IOffscreenEditor(plugin, width, height, frameRate) {}

IEditorX11::~IEditorX11() {
  DetachWindow();
}

void* IEditorX11::AttachWindow(void* parent) {
  return OpenWindow(NativeParentFromPointer(parent));
}

int IEditorX11::EventDescriptor() const {
  return window ? ConnectionNumber(window->Connection()) : -1;
}

void* IEditorX11::OpenWindow(const INativeParent& parent) {
  if (parent.api != WindowApi::X11) {
    return nullptr;
  }
  // A host reopening from inside a call the idle pump made cannot have the window swapped under
  // the pump.
  if (idling) {
    return nullptr;
  }
  X11Window::Placement placement{0, 0, Width(), Height()};
  if (window) {
    placement = window->CurrentPlacement();
    DetachWindow();
  }
  window = X11Window::Open(parent.x11Window, placement, parent.x11Display);
  if (!window) {
    return nullptr;
  }
  exposed = IBounds();
  pointerCaptured = false;
  doubleClicks.OtherPress();
  keysTaken.reset();
  // The first idle paints everything.
  MarkAllDirty();
  nextTick = std::chrono::steady_clock::now();
  attached.store(true, std::memory_order_release);
  return NativeWindow();
}

void IEditorX11::DetachWindow() {
  attached.store(false, std::memory_order_release);
  // A host closing from inside a call the idle pump made: the pump lets the window go when it
  // has finished with it.
  if (idling) {
    detachRequested = true;
    return;
  }
  window.reset();
}

void* IEditorX11::NativeWindow() {
  return window ? reinterpret_cast<void*>(static_cast<std::uintptr_t>(window->Id())) : nullptr;
}

void IEditorX11::FollowSystemScale(const INativeParent* parent) {
  const double dotsPerInch = X11Window::ServerDotsPerInch(
      parent && parent->api == WindowApi::X11 ? parent->x11Display : nullptr);
  SetScale(dotsPerInch > 0.0 ? editor_scale::FromDotsPerInch(dotsPerInch) : editor_scale::Smallest);
}

void IEditorX11::ResizeWindow(int newWidth, int newHeight) {
  if (window) {
    window->Resize(newWidth, newHeight);
  }
}

bool IEditorX11::PresentRect(const IBounds& rect) {
  RasterSysBitmap* bitmap = DrawBitmap();
  // A redraw without a window (an off-screen snapshot) has nowhere to go.
  if (window && bitmap) {
    window->Present(bitmap->PixelData(), bitmap->RowSpan(), bitmap->Width(), bitmap->Height(),
                    rect);
  }
  return true;
}

bool IEditorX11::TickDue() {
  const int period = RedrawTickMilliseconds(FrameRate());
  if (period <= 0) {
    return false;
  }
  // Ticks keep to a fixed grid so the rate holds on average whatever the host's idle rhythm; a
  // quarter period of slack lets an idle that comes slightly early take its tick.
  const auto now = std::chrono::steady_clock::now();
  const std::chrono::milliseconds step(period);
  if (now + step / 4 < nextTick) {
    return false;
  }
  nextTick += step;
  if (nextTick < now) {
    // The host stopped calling for a while: start a new grid rather than catching up.
    nextTick = now + step;
  }
  return true;
}

void IEditorX11::Idle() {
  if (!window) {
    return;
  }
  bool alive = true;
  idling = true;
  {
    X11ErrorTrap trap(window->Connection());
    XEvent event;
    while (alive && !detachRequested && window->NextEvent(&event)) {
      alive = HandleEvent(event);
    }
    if (alive && !detachRequested) {
      IBounds area = exposed;
      exposed = IBounds();
      if (TickDue()) {
        area = Union(area, DirtyArea());
      }
      if (!area.IsEmpty()) {
        RedrawRect(area);
      }
    }
    // Syncing puts what was drawn on the server before the host goes on; an error naming our
    // window means the host destroyed it with its parent.
    if (trap.Failed() && trap.FirstError().resourceid == window->Id()) {
      alive = false;
    }
  }
  idling = false;
  if (!alive) {
    window->Forget();
  }
  if (!alive || detachRequested) {
    detachRequested = false;
    DetachWindow();
  }
}

bool IEditorX11::HandleEvent(const XEvent& event) {
  switch (event.type) {
  case Expose: {
    const XExposeEvent& e = event.xexpose;
    exposed = Union(exposed, IBounds{e.x, e.y, e.x + e.width, e.y + e.height});
    return true;
  }
  case ButtonPress: {
    const XButtonEvent& e = event.xbutton;
    Press(e.x, e.y, e.state, e.button, e.time);
    return true;
  }
  case ButtonRelease: {
    const XButtonEvent& e = event.xbutton;
    Release(e.x, e.y, e.state, e.button);
    return true;
  }
  case MotionNotify: {
    const XMotionEvent& e = event.xmotion;
    Motion(e.x, e.y, e.state);
    return true;
  }
  case LeaveNotify:
    // Controls hear of the pointer leaving only while hover tracking is on.
    if (HoverTracking()) {
      DispatchLeave();
    }
    return true;
  case KeyPress: {
    XKeyEvent key = event.xkey;
    char text[KeyTextBytes];
    KeySym symbol = NoSymbol;
    XLookupString(&key, text, sizeof(text), &symbol, nullptr);
    const int code = EditorKeyCode(VirtualKeyForKeySym(symbol));
    if (code >= 0) {
      DispatchKey(key.x, key.y, code);
    }
    return true;
  }
  case DestroyNotify:
    return event.xdestroywindow.window != window->Id();
  default:
    return true;
  }
}

void IEditorX11::Press(int x, int y, unsigned state, unsigned button, unsigned long time) {
  if (const int notches = WheelNotches(button)) {
    DispatchWheel(x, y, MouseKeys(state), notches);
    return;
  }
  if (button != ButtonLeft && button != ButtonRight && button != ButtonMiddle) {
    return;
  }
  const IMouseKeys keys = MouseKeys(state, Transition::Press, button);
  if (button == ButtonLeft &&
      doubleClicks.LeftPress(x, y, static_cast<std::uint32_t>(time & 0xFFFFFFFFu))) {
    // The second press of a pair arrives as the double click, as on Windows.
    if (DispatchDoubleClick(x, y, keys)) {
      pointerCaptured = true;
    }
    return;
  }
  if (button != ButtonLeft) {
    doubleClicks.OtherPress();
  }
  pointerCaptured = true;
  DispatchPress(x, y, keys);
}

void IEditorX11::Release(int x, int y, unsigned state, unsigned button) {
  // The middle button has only a press, as on Windows; wheel releases mean nothing.
  if (button != ButtonLeft && button != ButtonRight) {
    return;
  }
  pointerCaptured = false;
  DispatchRelease(x, y, MouseKeys(state, Transition::Release, button));
}

void IEditorX11::Motion(int x, int y, unsigned state) {
  const IMouseKeys keys = MouseKeys(state);
  if (DragButtonHeld(state)) {
    // The server keeps sending motion to the window while a button pressed in it is held, also
    // outside it.
    if (pointerCaptured) {
      DispatchDrag(x, y, keys);
    }
    return;
  }
  DispatchHover(x, y, keys);
}

bool IEditorX11::HostKey(int virtualKey, bool down) {
  const int code = EditorKeyCode(virtualKey);
  if (code < 0 || !window) {
    return false;
  }
  const size_t slot = static_cast<size_t>(code);
  if (!down) {
    const bool taken = keysTaken.test(slot);
    keysTaken.reset(slot);
    return taken;
  }
  int x = -1;
  int y = -1;
  window->PointerPosition(&x, &y);
  const bool taken = DispatchKey(x, y, code);
  keysTaken.set(slot, taken);
  return taken;
}
