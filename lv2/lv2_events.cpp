#include "lv2/ILv2Plugin.h"

#include "plugin/MidiMessage.h"

#include <lv2/atom/util.h>

#include <algorithm>
#include <limits>

// A host may send the transport to both inputs; each object tells the whole position, so taking
// it twice changes nothing.
void ILv2Plugin::TakeInputEvents(int frames) {
  TakeSequence(ports.EventInput(), frames, true);
  TakeSequence(ports.TransportInput(), frames, false);
}

void ILv2Plugin::TakeSequence(uint32_t port, int frames, bool takesMidi) {
  const auto* sequence = static_cast<const LV2_Atom_Sequence*>(portData[port]);
  if (!sequence || !uridMap || sequence->atom.type != uris.atomSequence) {
    return;
  }
  LV2_ATOM_SEQUENCE_FOREACH(sequence, event) {
    if (event->body.type == uris.midiEvent) {
      if (takesMidi) {
        TakeMidi(event);
      }
    } else if (event->body.type == uris.atomObject || event->body.type == uris.atomBlank) {
      const auto* object = reinterpret_cast<const LV2_Atom_Object*>(&event->body);
      if (object->body.otype == uris.timePosition) {
        const int64_t at = std::clamp<int64_t>(event->time.frames, 0, frames);
        transport.Take(object, uris, at, sampleRate);
      }
    }
  }
}

void ILv2Plugin::TakeMidi(const LV2_Atom_Event* event) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(LV2_ATOM_BODY_CONST(&event->body));
  const uint32_t size = event->body.size;
  if (size == 0) {
    return;
  }
  const int32_t offset = static_cast<int32_t>(
      std::clamp<int64_t>(event->time.frames, 0, std::numeric_limits<int32_t>::max()));
  if (bytes[0] == Midi::SysexStart) {
    ISysexEvent sysex;
    sysex.offset = offset;
    sysex.size = static_cast<int32_t>(std::min<uint32_t>(size, INT32_MAX));
    sysex.data = reinterpret_cast<const char*>(bytes);
    OnSysexEvent(&sysex);
    return;
  }
  // A message cut short or with a status byte where data belongs is no message: passed on, it
  // would reach other plug-ins malformed.
  if (!Midi::StartsWithWholeMessage(bytes, size)) {
    return;
  }
  const uint32_t needed = Midi::MessageBytes(bytes[0]);
  IMidiEvent midi;
  midi.offset = offset;
  midi.status = bytes[0];
  midi.data1 = needed > 1 ? bytes[1] : 0;
  midi.data2 = needed > 2 ? bytes[2] : 0;
  OnMidiEvent(&midi);
}

// The host sets the output sequence's size to the room it has; the plug-in fills it with a
// sequence of the events passed on.
void ILv2Plugin::BeginOutputSequence(int frames) {
  runFrames = frames;
  lastOutputFrame = 0;
  sequenceOpen = false;
  auto* sequence = static_cast<LV2_Atom_Sequence*>(portData[ports.EventOutput()]);
  if (!sequence || !uridMap) {
    return;
  }
  const uint32_t capacity = sequence->atom.size;
  lv2_atom_forge_set_buffer(&forge, reinterpret_cast<uint8_t*>(sequence), capacity);
  sequenceOpen = lv2_atom_forge_sequence_head(&forge, &sequenceFrame, 0) != 0;
  if (!sequenceOpen && capacity >= sizeof(LV2_Atom)) {
    // Too small even for an empty sequence: leave an empty atom of the host's kind.
    sequence->atom.size = 0;
  }
}

void ILv2Plugin::EndOutputSequence() {
  if (sequenceOpen) {
    lv2_atom_forge_pop(&forge, &sequenceFrame);
    sequenceOpen = false;
  }
}

// Events are written in the order they fall due; a frame outside the run (a negative offset,
// or one the effect delivers late) is written at the nearest frame that keeps the order.
bool ILv2Plugin::SendMidiEvent(const IMidiEvent* event) {
  IScopedLock guard(pluginLock);
  const uint8_t bytes[3] = {event->status, event->data1, event->data2};
  const uint32_t size = Midi::MessageBytes(event->status);
  if (!sequenceOpen || !Midi::StartsWithWholeMessage(bytes, sizeof(bytes))) {
    return false;
  }
  const int64_t lastFrame = std::max(runFrames - 1, 0);
  const int64_t frame =
      std::clamp<int64_t>(std::max<int64_t>(event->offset, lastOutputFrame), 0, lastFrame);
  // A time stamp without its event would spoil the sequence: write both or neither.
  const uint64_t needed = sizeof(int64_t) + lv2_atom_pad_size(sizeof(LV2_Atom) + size);
  if (forge.offset + needed > forge.size) {
    return false;
  }
  if (!lv2_atom_forge_frame_time(&forge, frame) ||
      !lv2_atom_forge_atom(&forge, size, uris.midiEvent) ||
      !lv2_atom_forge_write(&forge, bytes, size)) {
    return false;
  }
  lastOutputFrame = frame;
  return true;
}
