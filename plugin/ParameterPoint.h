#pragma once

#include <cstdint>

// A host's new value for a parameter at a frame of the current process call (VST 3 and CLAP
// carry automation this way).
struct IParameterPoint {
  // From the call's first frame; frames outside the call are taken as its first or last.
  int32_t frame = 0;
  int32_t index = 0;
  double normalized = 0.0;
  // Set where the format sends values in the parameter's own units (CLAP): `normalized` then
  // holds that value, taken exactly, where a trip through 0..1 would round it (12.5 -> 12.4999).
  bool realUnits = false;
};
