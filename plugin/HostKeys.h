#pragma once

// The PC keyboard's virtual-key numbering, in which every host's and every window system's keys
// reach the editor's one key table: Win32 messages carry it already, the bindings and the other
// window systems convert to it.
enum IVirtualKey : int {
  VirtualKeySpace = 0x20,
  VirtualKeyLeft = 0x25,
  VirtualKeyUp = 0x26,
  VirtualKeyRight = 0x27,
  VirtualKeyDown = 0x28,
  VirtualKeyDigit0 = 0x30,
  VirtualKeyDigit9 = 0x39,
  VirtualKeyLetterA = 0x41,
  VirtualKeyLetterZ = 0x5A,
  VirtualKeyNumpad0 = 0x60,
  VirtualKeyMultiply = 0x6A,
  VirtualKeyDivide = 0x6F,
  VirtualKeyF1 = 0x70,
  VirtualKeyF24 = 0x87,
};
