#pragma once

// The PC keyboard's virtual-key numbering, in which every window system's keys reach the
// editor's one key table: Win32 messages carry it already, the other platforms convert to it.
enum IVirtualKey : int {
  VirtualKeySpace = 0x20,
  VirtualKeyLeft = 0x25,
  VirtualKeyUp = 0x26,
  VirtualKeyRight = 0x27,
  VirtualKeyDown = 0x28,
  VirtualKeyDigit0 = 0x30,
  VirtualKeyLetterA = 0x41,
  VirtualKeyNumpad0 = 0x60,
  VirtualKeyMultiply = 0x6A,
  VirtualKeyDivide = 0x6F,
  VirtualKeyF1 = 0x70,
  VirtualKeyF24 = 0x87,
};

// The editor's key code (IKeyCode) for a virtual key, or -1 when the key is the host's.
int EditorKeyCode(int virtualKey);

// Milliseconds between redraw ticks at a frame rate, truncated; 0 when the rate is not positive
// (no ticks).
int RedrawTickMilliseconds(double frameRate);
