#include "lv2/Lv2Uris.h"

#include "lv2/Lv2Identity.h"

#include <lv2/atom/atom.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/midi/midi.h>
#include <lv2/time/time.h>

#include <string>

std::string StateBankKey() {
  return std::string(PluginUri()) + "#bank";
}

std::string StateProgramKey() {
  return std::string(PluginUri()) + "#program";
}

void Lv2Uris::Map(LV2_URID_Map* map) {
  if (!map) {
    return;
  }
  const auto id = [map](const char* uri) { return map->map(map->handle, uri); };
  atomChunk = id(LV2_ATOM__Chunk);
  atomInt = id(LV2_ATOM__Int);
  atomFloat = id(LV2_ATOM__Float);
  atomDouble = id(LV2_ATOM__Double);
  atomLong = id(LV2_ATOM__Long);
  atomObject = id(LV2_ATOM__Object);
  atomBlank = id(LV2_ATOM__Blank);
  atomSequence = id(LV2_ATOM__Sequence);
  midiEvent = id(LV2_MIDI__MidiEvent);
  timePosition = id(LV2_TIME__Position);
  timeBar = id(LV2_TIME__bar);
  timeBarBeat = id(LV2_TIME__barBeat);
  timeBeatsPerBar = id(LV2_TIME__beatsPerBar);
  timeBeatUnit = id(LV2_TIME__beatUnit);
  timeBeatsPerMinute = id(LV2_TIME__beatsPerMinute);
  timeSpeed = id(LV2_TIME__speed);
  timeFrame = id(LV2_TIME__frame);
  maxBlockLength = id(LV2_BUF_SIZE__maxBlockLength);
  nominalBlockLength = id(LV2_BUF_SIZE__nominalBlockLength);
  stateBank = id(StateBankKey().c_str());
  stateProgram = id(StateProgramKey().c_str());
}
