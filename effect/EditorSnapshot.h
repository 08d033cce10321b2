#pragma once

#include <cstdint>

struct AEffect;

// Exported by the plug-in module for hosts that want to look at the editor without a window:
// runs a full redraw of the editor of the plug-in behind effect and copies its draw bitmap into
// pixels, width x height words 0xAARRGGBB, rows top first and width words apart. Returns 1 on
// success; 0 (pixels untouched) when there is no editor or its size is not width x height
// (effEditGetRect gives the size). Call it from one thread at a time, like the dispatcher.
extern "C" int OmbrixEditorSnapshot(AEffect* effect, std::uint32_t* pixels, int width, int height);

// The function's type, for a host that looks the export up by name.
using OmbrixEditorSnapshotProc = int (*)(AEffect*, std::uint32_t*, int, int);
