#include "plugin/VstKeys.h"

#include "plugin/HostKeys.h"

int PcVirtualKeyOfVstKey(int32_t character, int64_t virtualKey) {
  if (virtualKey == VstKeySpace) {
    return VirtualKeySpace;
  }
  // VST orders the arrows left, up, right, down, as the PC numbering does.
  if (virtualKey >= VstKeyLeft && virtualKey <= VstKeyDown) {
    return VirtualKeyLeft + static_cast<int>(virtualKey - VstKeyLeft);
  }
  if (virtualKey >= VstKeyNumpad0 && virtualKey <= VstKeyNumpad9) {
    return VirtualKeyNumpad0 + static_cast<int>(virtualKey - VstKeyNumpad0);
  }
  if (virtualKey >= VstKeyMultiply && virtualKey <= VstKeyDivide) {
    return VirtualKeyMultiply + static_cast<int>(virtualKey - VstKeyMultiply);
  }
  if (virtualKey >= VstKeyF1 && virtualKey <= VstKeyF12) {
    return VirtualKeyF1 + static_cast<int>(virtualKey - VstKeyF1);
  }
  if (character == ' ' || (character >= '0' && character <= '9') ||
      (character >= 'A' && character <= 'Z')) {
    return character;
  }
  if (character >= 'a' && character <= 'z') {
    return character - 'a' + 'A';
  }
  return -1;
}
