#include "vst3/IVst3Plugin.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
// Channels a silence-flag word can describe.
constexpr int FlaggedChannels = 64;

// Flags the output bus's channels whose buffer holds only zeros (none are flagged without frames).
template <typename Sample>
void FlagSilentOutputs(vst3::AudioBusBuffers* out, Sample* const* buffers, int channels,
                       int frames) {
  if (!out || !buffers || frames <= 0) {
    return;
  }
  uint64_t silent = 0;
  for (int c = 0; c < std::min(channels, FlaggedChannels); ++c) {
    const Sample* buffer = buffers[c];
    if (buffer && std::all_of(buffer, buffer + frames, [](Sample s) { return s == Sample(0); })) {
      silent |= uint64_t{1} << c;
    }
  }
  out->silenceFlags = silent;
}

// A channel the host flags silent reads as silence, whatever its buffer holds.
bool FlaggedSilent(const vst3::AudioBusBuffers& bus, int channel) {
  return channel < FlaggedChannels && (bus.silenceFlags >> channel & 1) != 0;
}

// Points each of the plug-in's channels at the bus's buffer of one sample width; a channel the bus
// lacks gets none, and so does an input the host flags silent.
template <typename Sample>
void TakeBus(std::vector<Sample*>& pointers, const vst3::AudioBusBuffers* bus, Sample** buffers,
             int channels, bool silentAsNone) {
  for (size_t c = 0; c < pointers.size(); ++c) {
    const int channel = static_cast<int>(c);
    const bool present =
        channel < channels && buffers && !(silentAsNone && FlaggedSilent(*bus, channel));
    pointers[c] = present ? buffers[c] : nullptr;
  }
}
} // namespace

vst3::tresult IVst3Plugin::Process(vst3::ProcessData& data) {
  IScopedLock guard(pluginLock);
  const int frames = std::max(data.numSamples, 0);
  callFrames = frames;
  context = data.processContext;
  outputEvents = data.outputEvents;
  points.clear();
  ReadParameterChanges(data.inputParameterChanges, frames);
  TakeInputEvents(data.inputEvents);
  RunAudio(data);
  context = nullptr;
  outputEvents = nullptr;
  return vst3::kResultOk;
}

void IVst3Plugin::ReadParameterChanges(vst3::IParameterChanges* changes, int frames) {
  if (!changes) {
    return;
  }
  const vst3::int32 queues = changes->getParameterCount();
  for (vst3::int32 q = 0; q < queues; ++q) {
    TakeQueue(changes->getParameterData(q), frames);
  }
  // Queues come one parameter at a time; the runner takes the points in frame order. Insertion
  // keeps points of one frame in the order given, so a queue's later point wins.
  for (size_t i = 1; i < points.size(); ++i) {
    const IParameterPoint point = points[i];
    size_t j = i;
    for (; j > 0 && points[j - 1].frame > point.frame; --j) {
      points[j] = points[j - 1];
    }
    points[j] = point;
  }
}

// The plug-in's parameters change at each point's frame; a program switch and the bypass take
// the queue's last value, before the block.
void IVst3Plugin::TakeQueue(vst3::IParamValueQueue* queue, int frames) {
  if (!queue) {
    return;
  }
  const vst3::ParamID id = queue->getParameterId();
  const vst3::int32 count = queue->getPointCount();
  if (count <= 0) {
    return;
  }
  vst3::int32 offset = 0;
  vst3::ParamValue value = 0.0;
  if (static_cast<int64_t>(id) < ParameterCount()) {
    const int index = static_cast<int>(id);
    // A queue longer than the room left keeps its first points and its last, the lasting value.
    const auto room = static_cast<vst3::int32>(points.capacity() - points.size());
    const vst3::int32 taken = std::min(count, room);
    for (vst3::int32 k = 0; k < taken; ++k) {
      const vst3::int32 at = k == taken - 1 ? count - 1 : k;
      if (queue->getPoint(at, &offset, &value) == vst3::kResultOk) {
        AddPoint(index, std::clamp<vst3::int32>(offset, 0, frames), value);
      }
    }
    return;
  }
  if (queue->getPoint(count - 1, &offset, &value) != vst3::kResultOk || std::isnan(value)) {
    return;
  }
  if (static_cast<int64_t>(id) == ProgramParameterId()) {
    SelectProgramFromHost(ProgramFromNormalized(value));
  } else if (static_cast<int64_t>(id) == BypassParameterId()) {
    SetBypass(value >= 0.5);
  }
}

void IVst3Plugin::AddPoint(int index, int32_t frame, double normalized) {
  IParameterPoint point;
  point.frame = frame;
  point.index = index;
  point.normalized = normalized;
  points.push_back(point);
}

void IVst3Plugin::RunAudio(vst3::ProcessData& data) {
  const int frames = callFrames;
  vst3::AudioBusBuffers* in = data.numInputs > 0 ? data.inputs : nullptr;
  vst3::AudioBusBuffers* out = data.numOutputs > 0 ? data.outputs : nullptr;
  const int inChannels = in ? std::clamp(in->numChannels, 0, InputCount()) : 0;
  const int outChannels = out ? std::clamp(out->numChannels, 0, OutputCount()) : 0;
  const auto count = static_cast<int>(points.size());
  if (data.symbolicSampleSize == vst3::kSample64) {
    TakeBus(hostChannels.doubleInputs, in, in ? in->channelBuffers64 : nullptr, inChannels, true);
    TakeBus(hostChannels.doubleOutputs, out, out ? out->channelBuffers64 : nullptr, outChannels,
            false);
    RunHostBlock(hostChannels.doubleInputs.data(), hostChannels.doubleOutputs.data(), frames,
                 points.data(), count);
    FlagSilentOutputs(out, out ? out->channelBuffers64 : nullptr, outChannels, frames);
    return;
  }
  TakeBus(hostChannels.floatInputs, in, in ? in->channelBuffers32 : nullptr, inChannels, true);
  TakeBus(hostChannels.floatOutputs, out, out ? out->channelBuffers32 : nullptr, outChannels,
          false);
  RunHostBlock(hostChannels.floatInputs.data(), hostChannels.floatOutputs.data(), frames,
               OutputDelivery::Replace, points.data(), count);
  FlagSilentOutputs(out, out ? out->channelBuffers32 : nullptr, outChannels, frames);
}
