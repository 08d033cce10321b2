#pragma once

#include <cstdint>

// The virtual key codes VST hosts send with their keys: VST 2's effEditKeyDown/effEditKeyUp and
// VST 3's onKeyDown/onKeyUp share them for the keys the editor reads.
enum VstKeyCode : int {
  VstKeySpace = 7,
  VstKeyLeft = 11,
  VstKeyDown = 14,
  VstKeyNumpad0 = 24,
  VstKeyNumpad9 = 33,
  VstKeyMultiply = 34,
  VstKeyDivide = 39,
  VstKeyF1 = 40,
  VstKeyF12 = 51,
};

// The PC virtual-key number (HostKeys.h) of a VST host's key: named keys by their code, the rest
// by their character; -1 for keys with no such number.
int PcVirtualKeyOfVstKey(int32_t character, int64_t vstKeyCode);
