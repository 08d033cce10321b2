#pragma once

#include "vst2/PluginEntry.h"

// The binding an effect built into the VST 2 module derives from, and what its constructor
// takes from the host.
using IEffectBinding = IVst2Plugin;
using IEffectHost = audioMasterCallback;
