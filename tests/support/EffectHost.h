#pragma once

#include "vst2/VstAbi.h"

#include <vector>

// One call the plug-in made into the host, with what it pointed at copied out.
struct HostCall {
  VstInt32 opcode = 0;
  VstInt32 index = 0;
  VstIntPtr value = 0;
  float opt = 0.0f;
  // For audioMasterProcessEvents: the MIDI events handed over, in order.
  std::vector<VstMidiEvent> midiEvents;
};

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

  // A copy of the state block the plug-in saves (empty when it saves none).
  std::vector<unsigned char> SaveChunk(bool program) {
    void* data = nullptr;
    const VstIntPtr size = Dispatch(effGetChunk, program ? 1 : 0, 0, &data);
    const auto* bytes = static_cast<const unsigned char*>(data);
    return size > 0 && bytes ? std::vector<unsigned char>(bytes, bytes + size)
                             : std::vector<unsigned char>();
  }
  VstIntPtr LoadChunk(bool program, const std::vector<unsigned char>& block) {
    return Dispatch(effSetChunk, program ? 1 : 0, static_cast<VstIntPtr>(block.size()),
                    const_cast<unsigned char*>(block.data()));
  }
  std::vector<float> ParameterValues() {
    std::vector<float> values;
    for (VstInt32 i = 0; i < effect->numParams; ++i) {
      values.push_back(effect->getParameter(effect, i));
    }
    return values;
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
  // The recorded calls with the given opcode, in order.
  static std::vector<HostCall> Matching(const std::vector<HostCall>& calls, VstInt32 opcode) {
    std::vector<HostCall> matching;
    for (const HostCall& call : calls) {
      if (call.opcode == opcode) {
        matching.push_back(call);
      }
    }
    return matching;
  }
  // The MIDI events passed back across the recorded calls, in order.
  static std::vector<VstMidiEvent> MidiPassedOn(const std::vector<HostCall>& calls) {
    std::vector<VstMidiEvent> events;
    for (const HostCall& call : Matching(calls, audioMasterProcessEvents)) {
      events.insert(events.end(), call.midiEvents.begin(), call.midiEvents.end());
    }
    return events;
  }
};
