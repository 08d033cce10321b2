#include "tools/render/MidiFile.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace {
constexpr uint8_t kStatusBit = 0x80;
constexpr uint8_t kSysexStart = 0xF0;
constexpr uint8_t kSysexEscape = 0xF7;
constexpr uint8_t kMetaEvent = 0xFF;
constexpr uint8_t kMetaTempo = 0x51;
constexpr uint8_t kMetaEndOfTrack = 0x2F;
constexpr uint8_t kProgramChange = 0xC0;
constexpr uint8_t kChannelPressure = 0xD0;
constexpr uint8_t kSmpteDivisionBit = 0x80;
// 120 beats per minute until a tempo event says otherwise.
constexpr uint32_t kDefaultMicrosecondsPerQuarter = 500000;
constexpr size_t kHeaderChunkBytes = 6;
constexpr size_t kChunkHeaderBytes = 8;
// A variable-length quantity has at most four bytes (28 bits).
constexpr int kMostQuantityBytes = 4;
// The 29 frames-per-second SMPTE code means drop-frame 29.97.
constexpr int kDropFrameCode = 29;
constexpr double kDropFrameRate = 29.97;

class ByteReader {
public:
  ByteReader(const uint8_t* data, size_t size) : data(data), size(size) {}

  size_t Remaining() const { return size - position; }
  size_t Position() const { return position; }
  const uint8_t* Here() const { return data + position; }

  bool Byte(uint8_t* value) {
    if (position >= size) {
      return false;
    }
    *value = data[position++];
    return true;
  }

  bool Skip(size_t count) {
    if (count > Remaining()) {
      return false;
    }
    position += count;
    return true;
  }

  // False when the bytes run out; malformed is set when the quantity has too many bytes.
  bool Quantity(uint32_t* value, bool* malformed) {
    uint32_t result = 0;
    for (int i = 0; i < kMostQuantityBytes; ++i) {
      uint8_t byte = 0;
      if (!Byte(&byte)) {
        return false;
      }
      result = (result << 7) | (byte & 0x7F);
      if ((byte & kStatusBit) == 0) {
        *value = result;
        return true;
      }
    }
    *malformed = true;
    return false;
  }

private:
  const uint8_t* data;
  size_t size;
  size_t position = 0;
};

uint32_t BigEndian(const uint8_t* bytes, int count) {
  uint32_t value = 0;
  for (int i = 0; i < count; ++i) {
    value = (value << 8) | bytes[i];
  }
  return value;
}

struct TickedEvent {
  uint64_t tick = 0;
  MidiFileEvent event;
};

struct TempoPoint {
  uint64_t tick = 0;
  uint32_t microsecondsPerQuarter = kDefaultMicrosecondsPerQuarter;
};

int DataBytesOf(uint8_t status) {
  const uint8_t kind = status & 0xF0;
  return kind == kProgramChange || kind == kChannelPressure ? 1 : 2;
}

class TrackParser {
public:
  TrackParser(const std::string& name, int track, MidiSong* song, std::vector<TickedEvent>* events,
              std::vector<TempoPoint>* tempos, std::string* error)
      : name(name), track(track), song(song), events(events), tempos(tempos), error(error) {}

  bool Parse(const uint8_t* data, size_t size) {
    ByteReader reader(data, size);
    uint64_t tick = 0;
    uint8_t runningStatus = 0;
    while (reader.Remaining() > 0) {
      eventStart = reader.Position();
      uint32_t delta = 0;
      bool malformed = false;
      if (!reader.Quantity(&delta, &malformed)) {
        return malformed ? Fail("has a time longer than four bytes") : CutShort();
      }
      tick += delta;
      uint8_t first = 0;
      if (!reader.Byte(&first)) {
        return CutShort();
      }
      if (first == kMetaEvent) {
        runningStatus = 0;
        bool ended = false;
        if (!Meta(reader, tick, &ended)) {
          return false;
        }
        if (ended) {
          return true;
        }
      } else if (first == kSysexStart || first == kSysexEscape) {
        runningStatus = 0;
        if (!Sysex(reader, first, tick)) {
          return false;
        }
      } else if (first > kSysexStart) {
        return Fail("holds a system message a file cannot carry");
      } else if (!Channel(reader, first, tick, &runningStatus)) {
        return false;
      }
    }
    return true;
  }

private:
  bool Fail(const std::string& what) {
    *error = name + ": track " + std::to_string(track + 1) + " " + what + " (at byte " +
             std::to_string(eventStart) + " of the track)";
    return false;
  }

  bool CutShort() {
    *error = name + " is cut short: track " + std::to_string(track + 1) +
             " ends inside an event (at byte " + std::to_string(eventStart) + " of the track)";
    return false;
  }

  // A length followed by that many bytes, all within the track.
  bool Payload(ByteReader& reader, const uint8_t** bytes, uint32_t* length) {
    bool malformed = false;
    if (!reader.Quantity(length, &malformed)) {
      return malformed ? Fail("has a length longer than four bytes") : CutShort();
    }
    *bytes = reader.Here();
    return reader.Skip(*length) || CutShort();
  }

  bool Meta(ByteReader& reader, uint64_t tick, bool* ended) {
    uint8_t type = 0;
    if (!reader.Byte(&type)) {
      return CutShort();
    }
    const uint8_t* bytes = nullptr;
    uint32_t length = 0;
    if (!Payload(reader, &bytes, &length)) {
      return false;
    }
    if (type == kMetaEndOfTrack) {
      *ended = true;
    } else if (type == kMetaTempo) {
      constexpr uint32_t kTempoBytes = 3;
      if (length != kTempoBytes) {
        return Fail("has a tempo event of " + std::to_string(length) + " bytes (3 expected)");
      }
      TempoPoint point;
      point.tick = tick;
      point.microsecondsPerQuarter = BigEndian(bytes, kTempoBytes);
      if (point.microsecondsPerQuarter == 0) {
        return Fail("has a tempo of 0 microseconds per quarter note");
      }
      tempos->push_back(point);
    }
    return true;
  }

  bool Sysex(ByteReader& reader, uint8_t kind, uint64_t tick) {
    const uint8_t* bytes = nullptr;
    uint32_t length = 0;
    if (!Payload(reader, &bytes, &length)) {
      return false;
    }
    TickedEvent ticked;
    ticked.tick = tick;
    ticked.event.sysex = true;
    ticked.event.sysexOffset = song->sysexBytes.size();
    // The file leaves out the opening 0xF0 a device receives; escaped packets are sent as is.
    if (kind == kSysexStart) {
      song->sysexBytes.push_back(kSysexStart);
    }
    song->sysexBytes.insert(song->sysexBytes.end(), bytes, bytes + length);
    ticked.event.sysexSize = song->sysexBytes.size() - ticked.event.sysexOffset;
    if (ticked.event.sysexSize > 0) {
      events->push_back(ticked);
    }
    return true;
  }

  bool Channel(ByteReader& reader, uint8_t first, uint64_t tick, uint8_t* runningStatus) {
    TickedEvent ticked;
    ticked.tick = tick;
    uint8_t status = first;
    int dataRead = 0;
    if ((first & kStatusBit) == 0) {
      if (*runningStatus == 0) {
        return Fail("has a data byte without a status byte before it");
      }
      status = *runningStatus;
      ticked.event.bytes[1] = first;
      dataRead = 1;
    }
    *runningStatus = status;
    ticked.event.bytes[0] = status;
    const int dataBytes = DataBytesOf(status);
    for (int i = dataRead; i < dataBytes; ++i) {
      uint8_t byte = 0;
      if (!reader.Byte(&byte)) {
        return CutShort();
      }
      if (byte & kStatusBit) {
        return Fail("has a message cut off by a status byte");
      }
      ticked.event.bytes[1 + i] = byte;
    }
    ticked.event.size = 1 + dataBytes;
    events->push_back(ticked);
    return true;
  }

  const std::string& name;
  int track;
  MidiSong* song;
  std::vector<TickedEvent>* events;
  std::vector<TempoPoint>* tempos;
  std::string* error;
  size_t eventStart = 0;
};

// Seconds of each tick, through the tempo map (quarter-note divisions) or the frame rate (SMPTE).
class TickClock {
public:
  TickClock(uint16_t division, std::vector<TempoPoint> tempos) : tempos(std::move(tempos)) {
    if (division & (kSmpteDivisionBit << 8)) {
      const int code = -static_cast<int8_t>(division >> 8);
      const double framesPerSecond = code == kDropFrameCode ? kDropFrameRate : code;
      smpteSecondsPerTick = 1.0 / (framesPerSecond * (division & 0xFF));
    } else {
      ticksPerQuarter = division;
    }
    std::stable_sort(this->tempos.begin(), this->tempos.end(),
                     [](const TempoPoint& a, const TempoPoint& b) { return a.tick < b.tick; });
  }

  // Ticks must come in rising order.
  double Seconds(uint64_t tick) {
    if (smpteSecondsPerTick > 0.0) {
      return static_cast<double>(tick) * smpteSecondsPerTick;
    }
    while (next < tempos.size() && tempos[next].tick <= tick) {
      Advance(tempos[next].tick);
      microsecondsPerQuarter = tempos[next].microsecondsPerQuarter;
      ++next;
    }
    Advance(tick);
    return seconds;
  }

private:
  void Advance(uint64_t tick) {
    seconds += static_cast<double>(tick - lastTick) * microsecondsPerQuarter / 1e6 /
               static_cast<double>(ticksPerQuarter);
    lastTick = tick;
  }

  std::vector<TempoPoint> tempos;
  double smpteSecondsPerTick = 0.0;
  uint32_t ticksPerQuarter = 1;
  uint32_t microsecondsPerQuarter = kDefaultMicrosecondsPerQuarter;
  size_t next = 0;
  uint64_t lastTick = 0;
  double seconds = 0.0;
};

bool ValidDivision(uint16_t division) {
  if (division & (kSmpteDivisionBit << 8)) {
    const int code = -static_cast<int8_t>(division >> 8);
    return (code == 24 || code == 25 || code == kDropFrameCode || code == 30) &&
           (division & 0xFF) != 0;
  }
  return division != 0;
}
} // namespace

bool DecodeMidiFile(const uint8_t* data, size_t size, const std::string& name, MidiSong* song,
                    std::string* error) {
  *song = MidiSong();
  ByteReader reader(data, size);
  if (size < 4 || BigEndian(data, 4) != 0x4D546864) {
    *error = name + " is not a standard MIDI file (it does not start with an MThd header)";
    return false;
  }
  if (size < kChunkHeaderBytes + kHeaderChunkBytes) {
    *error = name + " is cut short: it ends inside its header";
    return false;
  }
  const uint32_t headerLength = BigEndian(data + 4, 4);
  reader.Skip(kChunkHeaderBytes);
  if (headerLength < kHeaderChunkBytes) {
    *error = name + " is not a standard MIDI file (its header is " + std::to_string(headerLength) +
             " bytes, 6 expected)";
    return false;
  }
  const uint8_t* header = reader.Here();
  if (!reader.Skip(headerLength)) {
    *error =
        name + " is cut short: its header announces " + std::to_string(headerLength) + " bytes";
    return false;
  }
  song->format = static_cast<int>(BigEndian(header, 2));
  const uint32_t announcedTracks = BigEndian(header + 2, 2);
  const uint16_t division = static_cast<uint16_t>(BigEndian(header + 4, 2));
  if (song->format > 2) {
    *error = name + " has an unknown MIDI file format " + std::to_string(song->format);
    return false;
  }
  if (song->format == 2) {
    *error = name + " is a format 2 MIDI file (independent sequences), which is not supported; "
                    "save it as format 0 or 1";
    return false;
  }
  if (!ValidDivision(division)) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%04X", division);
    *error = name + " has an invalid time division (" + text + ")";
    return false;
  }

  std::vector<TickedEvent> events;
  std::vector<TempoPoint> tempos;
  int track = 0;
  while (static_cast<uint32_t>(track) < announcedTracks) {
    if (reader.Remaining() < kChunkHeaderBytes) {
      *error = name + " is cut short: its header announces " + std::to_string(announcedTracks) +
               " track(s), " + std::to_string(track) + " found";
      return false;
    }
    const uint32_t type = BigEndian(reader.Here(), 4);
    const uint32_t length = BigEndian(reader.Here() + 4, 4);
    reader.Skip(kChunkHeaderBytes);
    const uint8_t* body = reader.Here();
    if (length > reader.Remaining()) {
      *error = name + " is cut short: track " + std::to_string(track + 1) + " announces " +
               std::to_string(length) + " bytes, " + std::to_string(reader.Remaining()) + " remain";
      return false;
    }
    reader.Skip(length);
    // Chunks of other kinds may sit between the tracks; readers pass over them.
    if (type != 0x4D54726B) {
      continue;
    }
    const size_t firstOfTrack = events.size();
    TrackParser parser(name, track, song, &events, &tempos, error);
    if (!parser.Parse(body, length)) {
      return false;
    }
    // Tracks are merged by tick; within one tick the earlier track comes first.
    std::inplace_merge(events.begin(), events.begin() + static_cast<std::ptrdiff_t>(firstOfTrack),
                       events.end(),
                       [](const TickedEvent& a, const TickedEvent& b) { return a.tick < b.tick; });
    ++track;
  }
  song->tracks = track;
  song->tempoChanges = static_cast<int>(tempos.size());
  TickClock clock(division, std::move(tempos));
  song->events.reserve(events.size());
  for (TickedEvent& ticked : events) {
    ticked.event.seconds = clock.Seconds(ticked.tick);
    song->events.push_back(ticked.event);
  }
  return true;
}

bool LoadMidiFile(const std::string& path, MidiSong* song, std::string* error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    *error = "cannot open " + path + ": no such file or not readable";
    return false;
  }
  std::vector<uint8_t> bytes;
  char buffer[65536];
  while (file.read(buffer, sizeof(buffer)) || file.gcount() > 0) {
    bytes.insert(bytes.end(), buffer, buffer + file.gcount());
    if (bytes.size() > kMostMidiFileBytes) {
      *error = path + " is too large for a MIDI file (more than 16 MiB)";
      return false;
    }
  }
  return DecodeMidiFile(bytes.data(), bytes.size(), path, song, error);
}
