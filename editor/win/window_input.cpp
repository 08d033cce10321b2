#include "editor/win/WindowInput.h"

#include "editor/VirtualKeys.h"

namespace window_input {

IMouseKeys MouseKeys(WPARAM wParam) {
  IMouseKeys keys;
  keys.left = (wParam & MK_LBUTTON) != 0;
  keys.right = (wParam & MK_RBUTTON) != 0;
  keys.shift = (wParam & MK_SHIFT) != 0;
  keys.control = (wParam & MK_CONTROL) != 0;
  keys.alt = (GetKeyState(VK_MENU) & 0x8000) != 0;
  return keys;
}

int PointerX(LPARAM lParam) {
  return static_cast<short>(LOWORD(lParam));
}

int PointerY(LPARAM lParam) {
  return static_cast<short>(HIWORD(lParam));
}

int WheelNotches(WPARAM wParam) {
  return static_cast<short>(HIWORD(wParam)) / WHEEL_DELTA;
}

int KeyCode(WPARAM virtualKey) {
  return EditorKeyCode(static_cast<int>(virtualKey));
}

UINT TimerPeriod(double frameRate) {
  const int period = RedrawTickMilliseconds(frameRate);
  return period > 0 ? static_cast<UINT>(period) : USER_TIMER_MAXIMUM;
}

} // namespace window_input
