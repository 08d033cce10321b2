#pragma once

#include "clap/ClapAbi.h"
#include "plugin/NativeParent.h"

// The window system the editor embeds into on this platform (clap_gui_x11.cpp on Linux,
// clap_gui_win.cpp on Windows).
const char* ClapWindowApi();
INativeParent ClapParentOf(const clap_window& window);
