#pragma once

#include "vst2/VstAbi.h"

#include <vector>

// What every test host does alike with the effect record it holds, however it obtained it.
class EffectHost {
public:
  AEffect* effect = nullptr;

  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
  }
  // effOpen, 44100 Hz, the block size and processing switched on, as hosts open a plug-in.
  void Start(int blockFrames = 1024) {
    Dispatch(effOpen);
    Dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
    Dispatch(effSetBlockSize, 0, blockFrames);
    Dispatch(effMainsChanged, 0, 1);
  }

  static VstMidiEvent Midi(int offset, int status, int data1, int data2) {
    VstMidiEvent event = {};
    event.type = kVstMidiType;
    event.byteSize = sizeof(VstMidiEvent);
    event.deltaFrames = offset;
    event.midiData[0] = static_cast<char>(status);
    event.midiData[1] = static_cast<char>(data1);
    event.midiData[2] = static_cast<char>(data2);
    return event;
  }
  // Hands the events to the plug-in in one list, as hosts do before each block.
  void SendEvents(std::vector<VstMidiEvent> events) {
    // The pointer array grows past the two entries the record declares, as hosts allocate it.
    std::vector<char> storage(sizeof(VstEvents) + events.size() * sizeof(VstEvent*));
    auto* list = reinterpret_cast<VstEvents*>(storage.data());
    list->numEvents = static_cast<VstInt32>(events.size());
    VstEvent** entries = list->events;
    for (size_t i = 0; i < events.size(); ++i) {
      entries[i] = reinterpret_cast<VstEvent*>(&events[i]);
    }
    Dispatch(effProcessEvents, 0, 0, list);
  }
  // The MIDI events of a list the plug-in hands back, in order. The entries are read through a
  // pointer, since such lists run past the record's two declared entries.
  static std::vector<VstMidiEvent> MidiEventsOf(const VstEvents* list) {
    std::vector<VstMidiEvent> midi;
    VstEvent* const* entries = list->events;
    for (VstInt32 i = 0; i < list->numEvents; ++i) {
      if (entries[i] && entries[i]->type == kVstMidiType) {
        midi.push_back(*reinterpret_cast<const VstMidiEvent*>(entries[i]));
      }
    }
    return midi;
  }
};
