#include "vst3/IVst3Plugin.h"

#include "plugin/MidiMessage.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

namespace {
// Controller numbers of the legacy controller output beyond MIDI's 128 controllers.
enum LegacyController : uint8_t {
  LegacyAfterTouch = 128,
  LegacyPitchBend = 129,
  LegacyProgramChange = 130,
};
constexpr float DataScale = Midi::DataMax;

uint8_t DataByte(float fraction) {
  if (!(fraction > 0.0f)) {
    return 0;
  }
  return static_cast<uint8_t>(std::min<long>(std::lround(fraction * DataScale), Midi::DataMax));
}

bool IsMidiChannel(vst3::int16 channel) {
  return channel >= 0 && channel < Midi::ChannelCount;
}

bool IsMidiKey(vst3::int16 pitch) {
  return pitch >= 0 && pitch <= Midi::DataMax;
}
} // namespace

void IVst3Plugin::TakeInputEvents(vst3::IEventList* events) {
  if (!events) {
    return;
  }
  const vst3::int32 count = events->getEventCount();
  for (vst3::int32 i = 0; i < count; ++i) {
    vst3::Event event;
    std::memset(&event, 0, sizeof(event));
    if (events->getEvent(i, &event) == vst3::kResultOk && event.busIndex == 0) {
      TakeEvent(event);
    }
  }
}

// Notes and polyphonic pressure become the MIDI messages the effect passes on; controllers
// never arrive as events (the host maps them to parameters).
void IVst3Plugin::TakeEvent(const vst3::Event& event) {
  IMidiEvent midi;
  midi.offset = event.sampleOffset;
  switch (event.type) {
  case vst3::Event::kNoteOnEvent:
    if (!IsMidiChannel(event.noteOn.channel) || !IsMidiKey(event.noteOn.pitch)) {
      return;
    }
    midi.status = Midi::Status(Midi::NoteOn, event.noteOn.channel);
    midi.data1 = static_cast<uint8_t>(event.noteOn.pitch);
    // A note-on of velocity 0 would be read as a note-off further down the chain.
    midi.data2 = std::max<uint8_t>(DataByte(event.noteOn.velocity), 1);
    break;
  case vst3::Event::kNoteOffEvent:
    if (!IsMidiChannel(event.noteOff.channel) || !IsMidiKey(event.noteOff.pitch)) {
      return;
    }
    midi.status = Midi::Status(Midi::NoteOff, event.noteOff.channel);
    midi.data1 = static_cast<uint8_t>(event.noteOff.pitch);
    midi.data2 = DataByte(event.noteOff.velocity);
    break;
  case vst3::Event::kPolyPressureEvent:
    if (!IsMidiChannel(event.polyPressure.channel) || !IsMidiKey(event.polyPressure.pitch)) {
      return;
    }
    midi.status = Midi::Status(Midi::PolyPressure, event.polyPressure.channel);
    midi.data1 = static_cast<uint8_t>(event.polyPressure.pitch);
    midi.data2 = DataByte(event.polyPressure.pressure);
    break;
  case vst3::Event::kDataEvent: {
    if (event.data.type != vst3::kMidiSysEx) {
      return;
    }
    ISysexEvent sysex;
    sysex.offset = event.sampleOffset;
    const bool hasBytes = event.data.bytes && event.data.size > 0;
    sysex.size =
        hasBytes ? static_cast<int32_t>(std::min<vst3::uint32>(event.data.size, INT_MAX)) : 0;
    sysex.data = hasBytes ? reinterpret_cast<const char*>(event.data.bytes) : nullptr;
    OnSysexEvent(&sysex);
    return;
  }
  default:
    return;
  }
  OnMidiEvent(&midi);
}

// Events go out at their frame of the current call; one the effect delivers outside it is
// written at the nearest frame of the call.
bool IVst3Plugin::SendMidiEvent(const IMidiEvent* event) {
  IScopedLock guard(pluginLock);
  if (!outputEvents) {
    return false;
  }
  vst3::Event out;
  std::memset(&out, 0, sizeof(out));
  out.sampleOffset = std::clamp(event->offset, 0, std::max(callFrames - 1, 0));
  const auto channel = static_cast<vst3::int16>(event->status & Midi::ChannelMask);
  const auto key = static_cast<vst3::int16>(event->data1 & Midi::DataMax);
  const float amount = static_cast<float>(event->data2 & Midi::DataMax) / DataScale;
  switch (Midi::MessageKind(event->status)) {
  case Midi::NoteOn:
    out.type = vst3::Event::kNoteOnEvent;
    out.noteOn = {channel, key, 0.0f, amount, 0, -1};
    break;
  case Midi::NoteOff:
    out.type = vst3::Event::kNoteOffEvent;
    out.noteOff = {channel, key, amount, -1, 0.0f};
    break;
  case Midi::PolyPressure:
    out.type = vst3::Event::kPolyPressureEvent;
    out.polyPressure = {channel, key, amount, -1};
    break;
  case Midi::ControlChange:
    out.type = vst3::Event::kLegacyMIDICCOutEvent;
    out.midiCCOut = {event->data1, static_cast<vst3::int8>(channel),
                     static_cast<vst3::int8>(event->data2 & Midi::DataMax), 0};
    break;
  case Midi::ProgramChange:
  case Midi::ChannelPressure:
    out.type = vst3::Event::kLegacyMIDICCOutEvent;
    out.midiCCOut = {Midi::MessageKind(event->status) == Midi::ProgramChange ? LegacyProgramChange
                                                                             : LegacyAfterTouch,
                     static_cast<vst3::int8>(channel),
                     static_cast<vst3::int8>(event->data1 & Midi::DataMax), 0};
    break;
  case Midi::PitchBend:
    out.type = vst3::Event::kLegacyMIDICCOutEvent;
    out.midiCCOut = {LegacyPitchBend, static_cast<vst3::int8>(channel),
                     static_cast<vst3::int8>(event->data1 & Midi::DataMax),
                     static_cast<vst3::int8>(event->data2 & Midi::DataMax)};
    break;
  default:
    return false;
  }
  return outputEvents->addEvent(&out) == vst3::kResultOk;
}

// The bytes stay the host's (they came in with the same call), valid until process returns.
bool IVst3Plugin::SendSysexEvent(const ISysexEvent* event) {
  IScopedLock guard(pluginLock);
  if (!outputEvents || event->size < 0) {
    return false;
  }
  vst3::Event out;
  std::memset(&out, 0, sizeof(out));
  out.sampleOffset = std::clamp(event->offset, 0, std::max(callFrames - 1, 0));
  out.type = vst3::Event::kDataEvent;
  out.data.size = static_cast<vst3::uint32>(event->size);
  out.data.type = vst3::kMidiSysEx;
  out.data.bytes = reinterpret_cast<const vst3::uint8*>(event->data);
  return outputEvents->addEvent(&out) == vst3::kResultOk;
}
