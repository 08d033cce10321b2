#include "tools/render/MidiSchedule.h"

#include "plugin/MidiMessage.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

int64_t FrameAt(double seconds, int sampleRate) {
  return std::llround(seconds * sampleRate);
}

MidiSchedule::MidiSchedule(const std::vector<ControllerPoint>& controllers, int channel,
                           const MidiSong* song, int sampleRate) {
  if (song) {
    sysexBytes = song->sysexBytes;
    for (const MidiFileEvent& event : song->events) {
      Timed timed;
      timed.frame = FrameAt(event.seconds, sampleRate);
      std::copy(event.bytes, event.bytes + 3, timed.bytes);
      timed.sysex = event.sysex;
      timed.sysexOffset = event.sysexOffset;
      timed.sysexSize = event.sysexSize;
      events.push_back(timed);
    }
    fromSong = events.size();
  }
  for (const ControllerPoint& point : controllers) {
    Timed timed;
    timed.frame = FrameAt(point.seconds, sampleRate);
    timed.bytes[0] = Midi::Status(Midi::ControlChange, channel - 1);
    timed.bytes[1] = static_cast<uint8_t>(point.controller);
    timed.bytes[2] = static_cast<uint8_t>(point.value);
    events.push_back(timed);
  }
  std::stable_sort(events.begin(), events.end(),
                   [](const Timed& a, const Timed& b) { return a.frame < b.frame; });
}

VstEvents* MidiSchedule::EventsFor(int64_t start, int frames) {
  midi.clear();
  sysex.clear();
  const size_t first = next;
  while (next < events.size() && events[next].frame < start + frames) {
    const Timed& timed = events[next];
    const int offset = static_cast<int>(std::max<int64_t>(timed.frame - start, 0));
    if (timed.sysex) {
      VstMidiSysexEvent event = {};
      event.type = kVstSysExType;
      event.byteSize = sizeof(VstMidiSysexEvent);
      event.deltaFrames = offset;
      event.dumpBytes = static_cast<VstInt32>(timed.sysexSize);
      event.sysexDump = reinterpret_cast<char*>(sysexBytes.data() + timed.sysexOffset);
      sysex.push_back(event);
    } else {
      VstMidiEvent event = {};
      event.type = kVstMidiType;
      event.byteSize = sizeof(VstMidiEvent);
      event.deltaFrames = offset;
      for (int i = 0; i < 3; ++i) {
        event.midiData[i] = static_cast<char>(timed.bytes[i]);
      }
      midi.push_back(event);
    }
    ++next;
  }
  if (next == first) {
    return nullptr;
  }
  const size_t firstSlot = offsetof(VstEvents, events) / sizeof(VstEvent*);
  const size_t count = next - first;
  list.assign(firstSlot + std::max<size_t>(count, 2), nullptr);
  // The list keeps the events' order, short and system-exclusive ones interleaved as scheduled.
  size_t midiIndex = 0;
  size_t sysexIndex = 0;
  for (size_t i = 0; i < count; ++i) {
    VstEvent* event = events[first + i].sysex ? reinterpret_cast<VstEvent*>(&sysex[sysexIndex++])
                                              : reinterpret_cast<VstEvent*>(&midi[midiIndex++]);
    list[firstSlot + i] = event;
  }
  VstEvents* header = reinterpret_cast<VstEvents*>(list.data());
  header->numEvents = static_cast<VstInt32>(count);
  header->reserved = 0;
  return header;
}
