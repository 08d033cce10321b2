#pragma once

#include "vst3/Vst3Entry.h"

// The binding an effect built into the VST 3 module derives from.
using EffectBinding = IVst3Plugin;
