#pragma once

#include <cstdint>

// One short MIDI message at a sample offset within the current block.
struct IMidiEvent {
  int32_t offset = 0;
  uint8_t status = 0;
  uint8_t data1 = 0;
  uint8_t data2 = 0;
};

// A system-exclusive message; data belongs to the caller and is valid during the call only.
struct ISysexEvent {
  int32_t offset = 0;
  int32_t size = 0;
  const char* data = nullptr;
};

// The host's transport; fields the host does not supply keep these fresh values.
struct ITransportInfo {
  double tempo = 120.0;
  double samplePosition = -1.0;
  double ppqPosition = -1.0;
  double lastBarPosition = -1.0;
  double cycleStart = -1.0;
  double cycleEnd = -1.0;
  int32_t numerator = 4;
  int32_t denominator = 4;
  bool playing = false;
  bool cycling = false;
};
