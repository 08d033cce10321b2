#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Standard MIDI files (format 0 and 1) read into timed events. Every byte is bounds-checked:
// the bytes may come from anywhere.

// One event of the file at its time in seconds, with the tempo map applied. Short messages keep
// their status and data bytes in place; system-exclusive messages keep theirs in the song's pool.
struct MidiFileEvent {
  double seconds = 0.0;
  uint8_t bytes[3] = {};
  int size = 0;
  bool sysex = false;
  size_t sysexOffset = 0;
  size_t sysexSize = 0;
};

struct MidiSong {
  int format = 0;
  int tracks = 0;
  int tempoChanges = 0;
  // In time order; events at the same time keep the order of their tracks, then of the file.
  std::vector<MidiFileEvent> events;
  // System-exclusive messages, each beginning with 0xF0 as a device receives it.
  std::vector<uint8_t> sysexBytes;
};

// Larger files are refused unread; real songs are a tiny fraction of this.
constexpr size_t kMostMidiFileBytes = 16 * 1024 * 1024;

// False with the reason (naming the file by name) when the bytes are not a song this reads.
bool DecodeMidiFile(const uint8_t* data, size_t size, const std::string& name, MidiSong* song,
                    std::string* error);

// Reads the file at path and decodes it.
bool LoadMidiFile(const std::string& path, MidiSong* song, std::string* error);
