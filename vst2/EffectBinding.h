#pragma once

#include "vst2/PluginEntry.h"

// The binding an effect built into the VST 2 module derives from.
using EffectBinding = IVst2Plugin;
