#include "host/vst3/Vst3Host.h"

#include <cmath>
#include <cstring>

namespace vst3host {
namespace {
constexpr double DataMax = 127.0;
constexpr uint8_t NoteOff = 0x80;
constexpr uint8_t NoteOn = 0x90;
constexpr uint8_t PolyPressure = 0xA0;
constexpr uint8_t ControlChange = 0xB0;
constexpr uint8_t KindMask = 0xF0;
constexpr uint8_t ChannelMask = 0x0F;
constexpr uint8_t DataMask = 0x7F;

uint8_t DataByte(float fraction) {
  return static_cast<uint8_t>(std::lround(fraction * DataMax));
}
} // namespace

MidiInput::MidiInput(vst3::IEditController* controller) {
  std::memset(mapped, -1, sizeof(mapped));
  auto* mapping = Query<vst3::IMidiMapping>(controller, vst3::IMidiMapping_iid);
  if (!mapping) {
    return;
  }
  for (int channel = 0; channel < Channels; ++channel) {
    for (int number = 0; number < Controllers; ++number) {
      vst3::ParamID id = 0;
      if (mapping->getMidiControllerAssignment(0, static_cast<vst3::int16>(channel),
                                               static_cast<vst3::int16>(number),
                                               &id) == vst3::kResultTrue) {
        mapped[channel][number] = static_cast<int64_t>(id);
      }
    }
  }
  mapping->release();
}

bool MidiInput::IsEvent(uint8_t status) {
  const uint8_t kind = status & KindMask;
  return kind == NoteOn || kind == NoteOff || kind == PolyPressure;
}

bool MidiInput::ControllerChange(uint8_t status, uint8_t number, uint8_t value, vst3::ParamID* id,
                                 double* normalized) const {
  if ((status & KindMask) != ControlChange) {
    return false;
  }
  const int64_t found = mapped[status & ChannelMask][number & DataMask];
  if (found < 0) {
    return false;
  }
  *id = static_cast<vst3::ParamID>(found);
  *normalized = (value & DataMask) / DataMax;
  return true;
}

bool MidiInput::EventFor(int frame, uint8_t status, uint8_t data1, uint8_t data2,
                         vst3::Event* event) {
  if (!IsEvent(status)) {
    return false;
  }
  const uint8_t kind = status & KindMask;
  std::memset(event, 0, sizeof(*event));
  event->sampleOffset = frame;
  const auto channel = static_cast<vst3::int16>(status & ChannelMask);
  const auto key = static_cast<vst3::int16>(data1 & DataMask);
  const float amount = static_cast<float>((data2 & DataMask) / DataMax);
  if (kind == NoteOn) {
    event->type = vst3::Event::kNoteOnEvent;
    event->noteOn = {channel, key, 0.0f, amount, 0, -1};
  } else if (kind == NoteOff) {
    event->type = vst3::Event::kNoteOffEvent;
    event->noteOff = {channel, key, amount, -1, 0.0f};
  } else {
    event->type = vst3::Event::kPolyPressureEvent;
    event->polyPressure = {channel, key, amount, -1};
  }
  return true;
}

bool MidiInput::MidiOf(const vst3::Event& event, uint8_t bytes[3]) {
  switch (event.type) {
  case vst3::Event::kNoteOnEvent:
    bytes[0] = static_cast<uint8_t>(NoteOn | event.noteOn.channel);
    bytes[1] = static_cast<uint8_t>(event.noteOn.pitch);
    bytes[2] = DataByte(event.noteOn.velocity);
    return true;
  case vst3::Event::kNoteOffEvent:
    bytes[0] = static_cast<uint8_t>(NoteOff | event.noteOff.channel);
    bytes[1] = static_cast<uint8_t>(event.noteOff.pitch);
    bytes[2] = DataByte(event.noteOff.velocity);
    return true;
  case vst3::Event::kPolyPressureEvent:
    bytes[0] = static_cast<uint8_t>(PolyPressure | event.polyPressure.channel);
    bytes[1] = static_cast<uint8_t>(event.polyPressure.pitch);
    bytes[2] = DataByte(event.polyPressure.pressure);
    return true;
  case vst3::Event::kLegacyMIDICCOutEvent:
    bytes[0] = static_cast<uint8_t>(ControlChange | event.midiCCOut.channel);
    bytes[1] = static_cast<uint8_t>(event.midiCCOut.controlNumber);
    bytes[2] = static_cast<uint8_t>(event.midiCCOut.value);
    return true;
  default:
    return false;
  }
}
} // namespace vst3host
