#pragma once

#include "lv2/Lv2Entry.h"

// The binding an effect built into the LV2 module derives from, and what its constructor takes
// from the host.
using IEffectBinding = ILv2Plugin;
using IEffectHost = const ILv2Host*;
