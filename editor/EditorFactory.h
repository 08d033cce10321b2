#pragma once

#include "editor/Editor.h"

#include <memory>

class IAudioPlugin;

// The editor this platform shows: a windowed one where the platform has a window system for it,
// otherwise one that only draws off-screen.
std::unique_ptr<IEditor> MakePlatformEditor(IAudioPlugin* plugin, int width, int height,
                                            int frameRate);
