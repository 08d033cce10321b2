#pragma once

#include "host/HostedPlugin.h"
#include "tools/render/MidiFile.h"
#include "tools/render/RenderOptions.h"

#include <cstdint>
#include <vector>

// Every MIDI event of one render at its frame: the command line's controller points and a MIDI
// file's events, handed out block by block.
class MidiSchedule {
public:
  // Controller points go out on the channel given (1 to 16); the song's events keep their own.
  // Events at the same frame keep the order of the song, then of the command line.
  MidiSchedule(const std::vector<ControllerPoint>& controllers, int channel, const MidiSong* song,
               int sampleRate);

  size_t Size() const { return events.size(); }
  size_t FromSong() const { return fromSong; }

  // Appends the events due in [start, start + frames), with frames relative to start. Their
  // system-exclusive bytes stay valid as long as the schedule.
  void EventsFor(int64_t start, int frames, std::vector<HostedEvent>* due);
  // Events handed out so far.
  size_t Sent() const { return next; }

private:
  struct Timed {
    int64_t frame = 0;
    uint8_t bytes[3] = {};
    bool sysex = false;
    size_t sysexOffset = 0;
    size_t sysexSize = 0;
  };
  std::vector<Timed> events;
  std::vector<uint8_t> sysexBytes;
  size_t fromSong = 0;
  size_t next = 0;
};

// The frame a time in seconds lands on at this sample rate.
int64_t FrameAt(double seconds, int sampleRate);
