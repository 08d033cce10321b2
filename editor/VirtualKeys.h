#pragma once

#include "plugin/HostKeys.h"

// The editor's key code (IKeyCode) for a virtual key, or -1 when the key is the host's.
int EditorKeyCode(int virtualKey);

// Milliseconds between redraw ticks at a frame rate, truncated; 0 when the rate is not positive
// (no ticks).
int RedrawTickMilliseconds(double frameRate);
