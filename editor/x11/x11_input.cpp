#include "editor/x11/X11Input.h"

#include "editor/VirtualKeys.h"

#include <X11/keysym.h>

#include <cstdlib>

namespace x11_input {

IMouseKeys MouseKeys(unsigned state, Transition transition, unsigned button) {
  IMouseKeys keys;
  keys.left = (state & StateButtonLeft) != 0;
  keys.right = (state & StateButtonRight) != 0;
  if (transition != Transition::Motion && (button == ButtonLeft || button == ButtonRight)) {
    (button == ButtonLeft ? keys.left : keys.right) = transition == Transition::Press;
  }
  keys.shift = (state & StateShift) != 0;
  keys.control = (state & StateControl) != 0;
  keys.alt = (state & StateAlt) != 0;
  return keys;
}

bool DragButtonHeld(unsigned state) {
  return (state & (StateButtonLeft | StateButtonRight)) != 0;
}

int WheelNotches(unsigned button) {
  if (button == ButtonWheelUp) {
    return 1;
  }
  return button == ButtonWheelDown ? -1 : 0;
}

int VirtualKeyForKeySym(unsigned long keySym) {
  switch (keySym) {
  case XK_space:
    return VirtualKeySpace;
  case XK_Left:
    return VirtualKeyLeft;
  case XK_Up:
    return VirtualKeyUp;
  case XK_Right:
    return VirtualKeyRight;
  case XK_Down:
    return VirtualKeyDown;
  case XK_KP_Multiply:
    return VirtualKeyMultiply;
  case XK_KP_Add:
    return VirtualKeyMultiply + 1;
  case XK_KP_Separator:
    return VirtualKeyMultiply + 2;
  case XK_KP_Subtract:
    return VirtualKeyMultiply + 3;
  case XK_KP_Decimal:
    return VirtualKeyMultiply + 4;
  case XK_KP_Divide:
    return VirtualKeyDivide;
  default:
    break;
  }
  if (keySym >= XK_0 && keySym <= XK_9) {
    return static_cast<int>(keySym - XK_0) + VirtualKeyDigit0;
  }
  if (keySym >= XK_a && keySym <= XK_z) {
    return static_cast<int>(keySym - XK_a) + VirtualKeyLetterA;
  }
  if (keySym >= XK_A && keySym <= XK_Z) {
    return static_cast<int>(keySym - XK_A) + VirtualKeyLetterA;
  }
  if (keySym >= XK_KP_0 && keySym <= XK_KP_9) {
    return static_cast<int>(keySym - XK_KP_0) + VirtualKeyNumpad0;
  }
  if (keySym >= XK_F1 && keySym <= XK_F24) {
    return static_cast<int>(keySym - XK_F1) + VirtualKeyF1;
  }
  return -1;
}

bool DoubleClickDetector::LeftPress(int x, int y, std::uint32_t time) {
  // Unsigned difference: server time wraps after 49 days.
  const bool isDouble = armed && time - firstTime <= IntervalMs &&
                        std::abs(x - firstX) <= Distance && std::abs(y - firstY) <= Distance;
  if (isDouble) {
    armed = false;
    return true;
  }
  armed = true;
  firstX = x;
  firstY = y;
  firstTime = time;
  return false;
}

} // namespace x11_input
