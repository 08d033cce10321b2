#pragma once

#include <cstdint>

struct AEffect;

// Exported by the Ombrix module beside its VST 2 entry points, for hosts that want to look at
// the editor without a window: runs a full redraw of the editor of the plug-in behind effect
// and copies its draw bitmap into pixels, width x height words 0xAARRGGBB, rows top first and
// width words apart. Returns 1 on success; 0 (pixels untouched) when there is no editor, its
// size is not width x height (effEditGetRect gives the size), or its window is open: the window
// shows that bitmap and redraws it on the host's user-interface thread, so a picture then comes
// from the screen instead. Call it from one thread at a time, like the dispatcher.
extern "C" int OmbrixEditorSnapshot(AEffect* effect, std::uint32_t* pixels, int width, int height);

// The function's type and exported name, for a host that looks it up.
using OmbrixEditorSnapshotProc = int (*)(AEffect*, std::uint32_t*, int, int);
constexpr char OmbrixEditorSnapshotName[] = "OmbrixEditorSnapshot";
