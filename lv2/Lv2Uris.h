#pragma once

#include <lv2/urid/urid.h>

#include <string>

// The URIs the plug-in reads and writes, mapped once when an instance is made (0 where the host
// offers no map).
struct Lv2Uris {
  LV2_URID atomChunk = 0;
  LV2_URID atomInt = 0;
  LV2_URID atomFloat = 0;
  LV2_URID atomDouble = 0;
  LV2_URID atomLong = 0;
  LV2_URID atomObject = 0;
  LV2_URID atomBlank = 0;
  LV2_URID atomSequence = 0;
  LV2_URID midiEvent = 0;
  LV2_URID timePosition = 0;
  LV2_URID timeBar = 0;
  LV2_URID timeBarBeat = 0;
  LV2_URID timeBeatsPerBar = 0;
  LV2_URID timeBeatUnit = 0;
  LV2_URID timeBeatsPerMinute = 0;
  LV2_URID timeSpeed = 0;
  LV2_URID timeFrame = 0;
  LV2_URID maxBlockLength = 0;
  LV2_URID nominalBlockLength = 0;
  // The state's two properties: the bank block of every program, and the current program.
  LV2_URID stateBank = 0;
  LV2_URID stateProgram = 0;

  void Map(LV2_URID_Map* map);
};

// The keys of the plug-in's state, below its own URI.
std::string StateBankKey();
std::string StateProgramKey();
