#pragma once

#include "lv2/Lv2Entry.h"

// The binding an effect built into the LV2 module derives from.
using EffectBinding = ILv2Plugin;
