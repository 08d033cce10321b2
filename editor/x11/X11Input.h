#pragma once

#include "editor/EditorRecords.h"

#include <cstdint>

// Conversions from X11 input events to the editor's records, kept free of Xlib types so the
// rules can be checked without a server.
namespace x11_input {

// X pointer buttons.
enum Button : unsigned {
  ButtonLeft = 1,
  ButtonMiddle = 2,
  ButtonRight = 3,
  ButtonWheelUp = 4,
  ButtonWheelDown = 5,
};

// The state bits of an X pointer or key event (the buttons and modifiers held before it).
enum StateBit : unsigned {
  StateShift = 1u << 0,
  StateControl = 1u << 2,
  StateAlt = 1u << 3,
  StateButtonLeft = 1u << 8,
  StateButtonRight = 1u << 10,
};

enum class Transition { Press, Release, Motion };

// Buttons and modifiers as the editor's controls see them during the event: a press counts its
// own button as held, a release no longer does.
IMouseKeys MouseKeys(unsigned state, Transition transition = Transition::Motion,
                     unsigned button = 0);
// A held left or right button makes motion a drag.
bool DragButtonHeld(unsigned state);
// +1 for a notch up, -1 down, 0 for any other button.
int WheelNotches(unsigned button);
// The virtual key for an X key symbol, or -1 when the editor's key table has no use for it.
int VirtualKeyForKeySym(unsigned long keySym);

// X has no double-click event: a second left press within 500 ms and 2 pixels of the first is
// one. The pair is spent by it, so a third press starts over; any other button breaks a pair.
class DoubleClickDetector {
public:
  static constexpr std::uint32_t IntervalMs = 500;
  static constexpr int Distance = 2;

  // True when this press completes a double click. time is the event's server time (ms, wraps).
  bool LeftPress(int x, int y, std::uint32_t time);
  void OtherPress() { armed = false; }

private:
  bool armed = false;
  int firstX = 0;
  int firstY = 0;
  std::uint32_t firstTime = 0;
};

} // namespace x11_input
