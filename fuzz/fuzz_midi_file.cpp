// The standard MIDI file reader of the command-line host with files from the fuzzer. Whatever
// it accepts must be events a plug-in can be handed: in time order, at finite times not before
// the start, each short message a status byte and its data bytes, each system-exclusive message
// inside the pool.
#include "fuzz/FuzzCheck.h"
#include "tools/render/MidiFile.h"

#include <cmath>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MidiSong song;
  std::string error;
  if (!DecodeMidiFile(data, size, "fuzz.mid", &song, &error)) {
    FuzzCheck(!error.empty(), "a refused MIDI file says why");
    FuzzCheck(error.find('\n') == std::string::npos, "the reason is one line");
    return 0;
  }
  double previous = 0.0;
  for (const MidiFileEvent& event : song.events) {
    FuzzCheck(std::isfinite(event.seconds) && event.seconds >= previous,
              "events come in time order at finite times from the start on");
    previous = event.seconds;
    if (event.sysex) {
      FuzzCheck(event.sysexSize > 0 && event.sysexOffset <= song.sysexBytes.size() &&
                    event.sysexSize <= song.sysexBytes.size() - event.sysexOffset,
                "a system-exclusive message lies inside the pool");
    } else {
      FuzzCheck(event.size >= 2 && event.size <= 3 && (event.bytes[0] & 0x80) &&
                    event.bytes[0] < 0xF0,
                "a short message is a channel status and its data");
      for (int i = 1; i < event.size; ++i) {
        FuzzCheck((event.bytes[i] & 0x80) == 0, "data bytes stay below 0x80");
      }
    }
  }
  return 0;
}
