#include "platform/DebugOutput.h"

// Linux has no debugger output: lines reach only the sink, if one is set.
void EmitDebugLine(const char*) {}

bool PlatformHasDebugOutput() {
  return false;
}
