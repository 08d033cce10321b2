#include "clap/IClapPlugin.h"

#include "plugin/MidiMessage.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

// Marks the calling thread as the audio thread for the length of a process or flush call, so
// the effect's reports from inside it are told from the editor's.
class IClapPlugin::AudioCall {
public:
  explicit AudioCall(IClapPlugin& plugin) : plugin(plugin) {
    plugin.audioThread = std::this_thread::get_id();
    plugin.outputCount = 0;
    plugin.pendingCount = 0;
    plugin.lastOutputTime = 0;
    plugin.pointCount = 0;
  }
  ~AudioCall() { plugin.audioThread = std::thread::id(); }
  AudioCall(const AudioCall&) = delete;
  AudioCall& operator=(const AudioCall&) = delete;

private:
  IClapPlugin& plugin;
};

namespace {
clap_event_header Header(uint32_t size, uint32_t time, uint16_t type, uint32_t flags) {
  clap_event_header header;
  header.size = size;
  header.time = time;
  header.space_id = Clap::CoreEventSpace;
  header.type = type;
  header.flags = flags;
  return header;
}

// Events of the host's list that are of a core type and as large as their record.
template <typename Event> const Event* EventAs(const clap_event_header* header) {
  return header->size >= sizeof(Event) ? reinterpret_cast<const Event*>(header) : nullptr;
}
} // namespace

int32_t IClapPlugin::Process(const clap_process* process) {
  if (!process) {
    return Clap::ProcessError;
  }
  const int frames =
      static_cast<int>(std::min<uint32_t>(process->frames_count, std::numeric_limits<int>::max()));
  IScopedLock guard(pluginLock);
  AudioCall call(*this);
  transport.Begin(process->transport);
  DrainGestures();
  TakeInputEvents(process->in_events, frames);
  const bool processed = RunAudio(process, frames);
  PushOutput(process->out_events, frames);
  return processed ? Clap::ProcessContinue : Clap::ProcessError;
}

void IClapPlugin::Flush(const clap_input_events* in, const clap_output_events* out) {
  IScopedLock guard(pluginLock);
  AudioCall call(*this);
  transport.Begin(nullptr);
  DrainGestures();
  TakeInputEvents(in, 0);
  RunHostBlock(static_cast<double**>(nullptr), nullptr, 0, points.data(), pointCount);
  PushOutput(out, 0);
}

// Times past the call are taken as its last frame: the effect would keep a MIDI event dated
// beyond every block for ever. In a flush every event counts at frame 0.
void IClapPlugin::TakeInputEvents(const clap_input_events* in, int frames) {
  if (!in || !in->size || !in->get) {
    return;
  }
  const uint32_t count = in->size(in);
  for (uint32_t i = 0; i < count; ++i) {
    const clap_event_header* header = in->get(in, i);
    if (!header || header->space_id != Clap::CoreEventSpace) {
      continue;
    }
    const int frame = static_cast<int>(std::min<uint32_t>(header->time, std::max(frames - 1, 0)));
    switch (header->type) {
    case Clap::EventParamValue:
      if (const auto* value = EventAs<clap_event_param_value>(header)) {
        TakeParameterValue(*value, frame);
      }
      break;
    case Clap::EventTransport:
      if (const auto* change = EventAs<clap_event_transport>(header)) {
        transport.Take(*change, frame);
      }
      break;
    case Clap::EventMidi:
      if (const auto* midi = EventAs<clap_event_midi>(header); midi && frames > 0) {
        TakeMidi(*midi, frame);
      }
      break;
    case Clap::EventMidiSysex:
      // The effect has no use for system-exclusive messages; they go straight back out.
      if (const auto* sysex = EventAs<clap_event_midi_sysex>(header);
          sysex && frames > 0 && sysex->buffer && sysex->size > 0) {
        IOutputEvent event;
        event.sysex = *sysex;
        event.sysex.header = Header(sizeof(clap_event_midi_sysex), static_cast<uint32_t>(frame),
                                    Clap::EventMidiSysex, 0);
        event.sysex.port_index = 0;
        StageOutput(event);
      }
      break;
    default:
      break;
    }
  }
}

// A value for the effect becomes a point of the block runner; more points than there is room
// for replace the latest one of the same parameter, so its last value still wins.
void IClapPlugin::TakeParameterValue(const clap_event_param_value& event, int frame) {
  if (!std::isfinite(event.value)) {
    return;
  }
  if (event.param_id == BypassParamId) {
    const bool on = event.value >= 0.5;
    bypassValue = on ? 1.0 : 0.0;
    SetBypass(on);
    return;
  }
  if (event.param_id >= static_cast<clap_id>(ParameterCount())) {
    return;
  }
  const IParameterPoint point = {frame, static_cast<int32_t>(event.param_id), event.value, true};
  if (static_cast<size_t>(pointCount) < points.size()) {
    points[static_cast<size_t>(pointCount++)] = point;
    return;
  }
  for (int i = pointCount - 1; i >= 0; --i) {
    if (points[static_cast<size_t>(i)].index == point.index) {
      points[static_cast<size_t>(i)].normalized = point.normalized;
      return;
    }
  }
}

// A message cut short or with a status byte where data belongs is no message: passed on, it
// would reach other plug-ins malformed.
void IClapPlugin::TakeMidi(const clap_event_midi& event, int frame) {
  if (!Midi::StartsWithWholeMessage(event.data, sizeof(event.data))) {
    return;
  }
  const uint32_t length = Midi::MessageBytes(event.data[0]);
  IMidiEvent midi;
  midi.offset = frame;
  midi.status = event.data[0];
  midi.data1 = length > 1 ? event.data[1] : 0;
  midi.data2 = length > 2 ? event.data[2] : 0;
  OnMidiEvent(&midi);
}

// The first input and output port carry the stereo pair; the width of each call's buffers is
// read from the pointers the host set. A host that mixes widths though the ports ask for a
// common one gets silence and an error.
bool IClapPlugin::RunAudio(const clap_process* process, int frames) {
  const clap_audio_buffer* in = process->audio_inputs_count > 0 ? process->audio_inputs : nullptr;
  clap_audio_buffer* out = process->audio_outputs_count > 0 ? process->audio_outputs : nullptr;
  const bool inWide = in && in->data64;
  const bool outWide = out && out->data64;
  const bool inNarrow = in && in->data32 && !inWide;
  const bool outNarrow = out && out->data32 && !outWide;
  if ((inWide && outNarrow) || (inNarrow && outWide)) {
    RunHostBlock(static_cast<double**>(nullptr), nullptr, 0, points.data(), pointCount);
    for (uint32_t c = 0; c < out->channel_count; ++c) {
      if (outWide && out->data64[c]) {
        std::fill_n(out->data64[c], frames, 0.0);
      } else if (outNarrow && out->data32[c]) {
        std::fill_n(out->data32[c], frames, 0.0f);
      }
    }
    out->constant_mask = 0;
    return false;
  }
  auto take = [](auto& pointers, auto** hostChannels, uint32_t channelCount) {
    for (size_t c = 0; c < pointers.size(); ++c) {
      pointers[c] = hostChannels && c < channelCount ? hostChannels[c] : nullptr;
    }
  };
  if (inWide || outWide) {
    take(hostChannels.doubleInputs, in ? in->data64 : nullptr, in ? in->channel_count : 0);
    take(hostChannels.doubleOutputs, out ? out->data64 : nullptr, out ? out->channel_count : 0);
    RunHostBlock(hostChannels.doubleInputs.data(), hostChannels.doubleOutputs.data(), frames,
                 points.data(), pointCount);
  } else {
    take(hostChannels.floatInputs, in ? in->data32 : nullptr, in ? in->channel_count : 0);
    take(hostChannels.floatOutputs, out ? out->data32 : nullptr, out ? out->channel_count : 0);
    RunHostBlock(hostChannels.floatInputs.data(), hostChannels.floatOutputs.data(), frames,
                 OutputDelivery::Replace, points.data(), pointCount);
  }
  if (out) {
    out->constant_mask = 0;
  }
  return true;
}

// Editor gestures waiting since the last call go out first, in their order.
void IClapPlugin::DrainGestures() {
  gestures.Drain([this](const IGestureRecord& gesture) {
    const IParameter* parameter = Parameter(gesture.index);
    if (!parameter) {
      return;
    }
    IOutputEvent event;
    if (gesture.kind == IGestureRecord::Kind::Value) {
      event.value = {};
      event.value.header = Header(sizeof(clap_event_param_value), 0, Clap::EventParamValue, 0);
      event.value.param_id = static_cast<clap_id>(gesture.index);
      event.value.note_id = -1;
      event.value.port_index = -1;
      event.value.channel = -1;
      event.value.key = -1;
      event.value.value = parameter->RealFromNormalized(gesture.normalized);
    } else {
      const uint16_t type = gesture.kind == IGestureRecord::Kind::Begin
                                ? Clap::EventParamGestureBegin
                                : Clap::EventParamGestureEnd;
      event.gesture.header = Header(sizeof(clap_event_param_gesture), 0, type, 0);
      event.gesture.param_id = static_cast<clap_id>(gesture.index);
    }
    StageOutput(event);
  });
}

// Changes reported while a MIDI event was delivered go out at that event's time, ahead of it;
// driven by MIDI, they are not for the host to record as automation.
void IClapPlugin::DatePendingValues(uint32_t time) {
  for (size_t i = 0; i < pendingCount; ++i) {
    IOutputEvent event;
    event.value = {};
    event.value.header =
        Header(sizeof(clap_event_param_value), time, Clap::EventParamValue, Clap::EventDontRecord);
    event.value.param_id = static_cast<clap_id>(pending[i].index);
    event.value.note_id = -1;
    event.value.port_index = -1;
    event.value.channel = -1;
    event.value.key = -1;
    event.value.value = pending[i].value;
    StageOutput(event);
  }
  pendingCount = 0;
}

bool IClapPlugin::SendMidiEvent(const IMidiEvent* event) {
  if (!OnAudioThread() || !event) {
    return false;
  }
  const uint8_t bytes[3] = {event->status, event->data1, event->data2};
  if (!Midi::StartsWithWholeMessage(bytes, sizeof(bytes))) {
    return false;
  }
  const uint32_t time = static_cast<uint32_t>(std::max(event->offset, 0));
  DatePendingValues(time);
  IOutputEvent out;
  out.midi = {};
  out.midi.header = Header(sizeof(clap_event_midi), time, Clap::EventMidi, 0);
  out.midi.port_index = 0;
  const uint32_t length = Midi::MessageBytes(event->status);
  for (uint32_t i = 0; i < length; ++i) {
    out.midi.data[i] = bytes[i];
  }
  return StageOutput(out);
}

bool IClapPlugin::SendSysexEvent(const ISysexEvent* event) {
  if (!OnAudioThread() || !event || !event->data || event->size <= 0) {
    return false;
  }
  IOutputEvent out;
  out.sysex = {};
  out.sysex.header =
      Header(sizeof(clap_event_midi_sysex), static_cast<uint32_t>(std::max(event->offset, 0)),
             Clap::EventMidiSysex, 0);
  out.sysex.buffer = reinterpret_cast<const uint8_t*>(event->data);
  out.sysex.size = static_cast<uint32_t>(event->size);
  return StageOutput(out);
}

// Keeps the staged events in time order: a new one goes after every event of its time or
// earlier. Past the room kept it is dropped (a host's list of thousands of events in one block).
bool IClapPlugin::StageOutput(const IOutputEvent& event) {
  if (outputCount == output.size()) {
    return false;
  }
  size_t at = outputCount;
  while (at > 0 && output[at - 1].header.time > event.header.time) {
    output[at] = output[at - 1];
    --at;
  }
  output[at] = event;
  ++outputCount;
  lastOutputTime = std::max(lastOutputTime, event.header.time);
  return true;
}

// Every time lies inside the call (0 in a flush), in non-decreasing order.
void IClapPlugin::PushOutput(const clap_output_events* out, int frames) {
  DatePendingValues(lastOutputTime);
  const uint32_t lastFrame = static_cast<uint32_t>(std::max(frames - 1, 0));
  for (size_t i = 0; i < outputCount; ++i) {
    IOutputEvent& event = output[i];
    event.header.time = std::min(event.header.time, lastFrame);
    if (out && out->try_push) {
      out->try_push(out, &event.header);
    }
  }
  outputCount = 0;
}
