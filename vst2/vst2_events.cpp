#include "vst2/IVst2Plugin.h"

#include <cstring>

namespace {
// The byte size a sysex event record states, whatever the pointer width: what hosts have always
// been sent (the record's size in 32-bit builds).
constexpr VstInt32 SysexEventByteSize = 32;
} // namespace

void IVst2Plugin::TakeHostEvents(const VstEvents* events) {
  // Hosts allocate the pointer array for numEvents entries, though the record declares two;
  // indexing the declared array past them is out of its bounds.
  VstEvent* const* entries = events->events;
  for (VstInt32 i = 0; i < events->numEvents; ++i) {
    const VstEvent* event = entries[i];
    if (!event) {
      continue;
    }
    if (event->type == kVstMidiType) {
      const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
      IMidiEvent received;
      received.offset = midi->deltaFrames;
      received.status = static_cast<uint8_t>(midi->midiData[0]);
      received.data1 = static_cast<uint8_t>(midi->midiData[1]);
      received.data2 = static_cast<uint8_t>(midi->midiData[2]);
      OnMidiEvent(&received);
    } else if (event->type == kVstSysExType) {
      const auto* sysex = reinterpret_cast<const VstMidiSysexEvent*>(event);
      ISysexEvent received;
      received.offset = sysex->deltaFrames;
      // A dump without bytes or with a negative length is handed on as an empty one.
      const bool hasBytes = sysex->sysexDump && sysex->dumpBytes > 0;
      received.size = hasBytes ? sysex->dumpBytes : 0;
      received.data = hasBytes ? sysex->sysexDump : nullptr;
      OnSysexEvent(&received);
    }
  }
}

bool IVst2Plugin::SendMidiEvent(const IMidiEvent* event) {
  VstMidiEvent midi;
  std::memset(&midi, 0, sizeof(midi));
  midi.type = kVstMidiType;
  midi.byteSize = sizeof(VstMidiEvent);
  midi.deltaFrames = event->offset;
  midi.midiData[0] = static_cast<char>(event->status);
  midi.midiData[1] = static_cast<char>(event->data1);
  midi.midiData[2] = static_cast<char>(event->data2);
  VstEvents list;
  std::memset(&list, 0, sizeof(list));
  list.numEvents = 1;
  list.events[0] = reinterpret_cast<VstEvent*>(&midi);
  return CallHost(audioMasterProcessEvents, 0, 0, &list) == 1;
}

bool IVst2Plugin::SendSysexEvent(const ISysexEvent* event) {
  VstMidiSysexEvent sysex;
  std::memset(&sysex, 0, sizeof(sysex));
  sysex.type = kVstSysExType;
  sysex.byteSize = SysexEventByteSize;
  sysex.deltaFrames = event->offset;
  sysex.dumpBytes = event->size;
  sysex.sysexDump = const_cast<char*>(event->data);
  VstEvents list;
  std::memset(&list, 0, sizeof(list));
  list.numEvents = 1;
  list.events[0] = reinterpret_cast<VstEvent*>(&sysex);
  return CallHost(audioMasterProcessEvents, 0, 0, &list) == 1;
}
