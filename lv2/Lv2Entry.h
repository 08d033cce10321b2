#pragma once

#include "lv2/ILv2Plugin.h"

// Builds the one effect this library holds. Declared here and defined by the effect, so the
// binding never depends on the effect.
ILv2Plugin* CreateEffect(const ILv2Host* host);

// What the descriptor's instantiate does: under the process-wide creation lock, build the effect
// and open it; null when no object could be made.
ILv2Plugin* CreateLv2Instance(const ILv2Host& host);
