#include "platform/DebugOutput.h"

#include <windows.h>

void EmitDebugLine(const char* line) {
  OutputDebugStringA(line);
}

bool PlatformHasDebugOutput() {
  return true;
}
