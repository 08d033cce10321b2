#pragma once

#include "vst2/IVst2Plugin.h"

// Builds the one effect this library holds. Declared here and defined by the effect, so the
// binding never depends on the effect.
IVst2Plugin* CreateEffect(audioMasterCallback hostCallback);

// What both exported entry points do: under the process-wide creation lock, build the effect,
// define every preset slot it left undefined as "Empty" with the current values, and return its
// record; null when no object could be made.
AEffect* CreateVstEffect(audioMasterCallback hostCallback);

extern "C" AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback hostCallback);
