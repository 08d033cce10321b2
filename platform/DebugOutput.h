#pragma once

// The platform's debugger output for one finished line. It may block (Windows waits for a
// listening debug viewer), so only the debug line writer calls it.
void EmitDebugLine(const char* line);
// Whether the platform has a debugger output at all (Linux has none).
bool PlatformHasDebugOutput();
