#pragma once

// The platform's debugger output for one finished line.
void EmitDebugLine(const char* line);
