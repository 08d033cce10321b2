#include "editor/VirtualKeys.h"

#include "editor/EditorRecords.h"

namespace {
// Keypad and function keys sit here in the numbering; they map onto the letters, as they always
// have.
constexpr int LetterAliasFirst = 0x61;
constexpr int LetterAliasLast = 0x7A;
} // namespace

int EditorKeyCode(int virtualKey) {
  switch (virtualKey) {
  case VirtualKeySpace:
    return KeySpace;
  case VirtualKeyUp:
    return KeyUp;
  case VirtualKeyDown:
    return KeyDown;
  case VirtualKeyLeft:
    return KeyLeft;
  case VirtualKeyRight:
    return KeyRight;
  default:
    break;
  }
  if (virtualKey >= VirtualKeyDigit0 && virtualKey <= VirtualKeyDigit0 + 9) {
    return virtualKey - VirtualKeyDigit0 + Key0;
  }
  if (virtualKey >= VirtualKeyLetterA && virtualKey <= VirtualKeyLetterA + 25) {
    return virtualKey - VirtualKeyLetterA + KeyA;
  }
  if (virtualKey >= LetterAliasFirst && virtualKey <= LetterAliasLast) {
    return virtualKey - LetterAliasFirst + KeyA;
  }
  return -1;
}

int RedrawTickMilliseconds(double frameRate) {
  if (!(frameRate > 0.0)) {
    return 0;
  }
  const double period = 1000.0 / frameRate;
  return period < 1.0 ? 1 : static_cast<int>(period);
}
