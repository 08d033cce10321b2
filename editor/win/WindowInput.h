#pragma once

#include "editor/EditorRecords.h"

#include <windows.h>

// Conversions between Win32 input messages and the editor's records.
namespace window_input {

// Buttons and modifiers from a mouse message's key-state bits, alt from the keyboard state.
IMouseKeys MouseKeys(WPARAM wParam);
// The signed client position a mouse message carries.
int PointerX(LPARAM lParam);
int PointerY(LPARAM lParam);
// Whole notches of a wheel message, truncated toward zero.
int WheelNotches(WPARAM wParam);
// The editor's key code for a virtual-key code, or -1 when the key is the host's.
int KeyCode(WPARAM virtualKey);
// Redraw timer period for a frame rate, truncated to whole milliseconds.
UINT TimerPeriod(double frameRate);

} // namespace window_input
