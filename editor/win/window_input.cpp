#include "editor/win/WindowInput.h"

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
  switch (virtualKey) {
  case VK_SPACE:
    return KeySpace;
  case VK_UP:
    return KeyUp;
  case VK_DOWN:
    return KeyDown;
  case VK_LEFT:
    return KeyLeft;
  case VK_RIGHT:
    return KeyRight;
  default:
    break;
  }
  const int code = static_cast<int>(virtualKey);
  if (code >= '0' && code <= '9') {
    return code - '0' + Key0;
  }
  if (code >= 'A' && code <= 'Z') {
    return code - 'A' + KeyA;
  }
  // Keypad and function keys arrive here; they map onto the letters, as they always have.
  if (code >= 0x61 && code <= 0x7A) {
    return code - 0x61 + KeyA;
  }
  return -1;
}

UINT TimerPeriod(double frameRate) {
  if (!(frameRate > 0.0)) {
    return USER_TIMER_MAXIMUM;
  }
  const double period = 1000.0 / frameRate;
  return period < 1.0 ? 1u : static_cast<UINT>(period);
}

} // namespace window_input
