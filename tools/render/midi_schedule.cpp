#include "tools/render/MidiSchedule.h"

#include "plugin/MidiMessage.h"

#include <algorithm>
#include <cmath>

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

void MidiSchedule::EventsFor(int64_t start, int frames, std::vector<HostedEvent>* due) {
  while (next < events.size() && events[next].frame < start + frames) {
    const Timed& timed = events[next];
    HostedEvent event;
    event.frame = static_cast<int>(std::max<int64_t>(timed.frame - start, 0));
    if (timed.sysex) {
      event.kind = HostedEventKind::Sysex;
      event.sysex = sysexBytes.data() + timed.sysexOffset;
      event.sysexSize = timed.sysexSize;
    } else {
      std::copy(timed.bytes, timed.bytes + 3, event.midi);
    }
    due->push_back(event);
    ++next;
  }
}
