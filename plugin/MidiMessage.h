#pragma once

#include <cstdint>

// MIDI 1.0 message numbers every binding and tool reads and writes.
namespace Midi {
// The upper nibble of a channel message's status byte.
enum ChannelMessage : uint8_t {
  NoteOff = 0x8,
  NoteOn = 0x9,
  PolyPressure = 0xA,
  ControlChange = 0xB,
  ProgramChange = 0xC,
  ChannelPressure = 0xD,
  PitchBend = 0xE,
};

constexpr uint8_t StatusBit = 0x80;
constexpr uint8_t FirstSystemStatus = 0xF0;
constexpr uint8_t SysexStart = 0xF0;
constexpr uint8_t TimeCodeQuarterFrame = 0xF1;
constexpr uint8_t SongPosition = 0xF2;
constexpr uint8_t SongSelect = 0xF3;
constexpr uint8_t ChannelMask = 0x0F;
constexpr int ChannelCount = 16;
constexpr uint8_t DataMax = 0x7F;

// The channel message kind of a status byte, or 0 for data bytes and system messages.
constexpr int MessageKind(uint8_t status) {
  return status >= StatusBit && status < FirstSystemStatus ? status >> 4 : 0;
}

// The status byte of a channel message on channel 0..15.
constexpr uint8_t Status(ChannelMessage kind, int channel) {
  return static_cast<uint8_t>((kind << 4) | (channel & ChannelMask));
}

// Bytes of a complete short message by its status byte (a program change has one data byte, not
// two); 0 for a data byte, which starts no message.
constexpr uint32_t MessageBytes(uint8_t status) {
  if (status < StatusBit) {
    return 0;
  }
  if (status < FirstSystemStatus) {
    const int kind = MessageKind(status);
    return kind == ProgramChange || kind == ChannelPressure ? 2 : 3;
  }
  switch (status) {
  case TimeCodeQuarterFrame:
  case SongSelect:
    return 2;
  case SongPosition:
    return 3;
  default:
    return 1;
  }
}
// True when bytes[0..size) starts with one whole short message: a status byte (not a
// system-exclusive start) and every data byte it needs, each below the status bit.
constexpr bool StartsWithWholeMessage(const uint8_t* bytes, uint32_t size) {
  if (size == 0 || bytes[0] == SysexStart) {
    return false;
  }
  const uint32_t needed = MessageBytes(bytes[0]);
  if (needed == 0 || size < needed) {
    return false;
  }
  for (uint32_t i = 1; i < needed; ++i) {
    if (bytes[i] & StatusBit) {
      return false;
    }
  }
  return true;
}
} // namespace Midi
