#include "vst3/IVst3Plugin.h"

#include <algorithm>
#include <cmath>

namespace {
// Channels a silence-flag word can describe.
constexpr int FlaggedChannels = 64;

// The bits of the bus's channels whose buffer holds only zeros.
template <typename Sample>
uint64_t SilentChannels(Sample* const* buffers, int channels, int frames) {
  uint64_t silent = 0;
  for (int c = 0; c < std::min(channels, FlaggedChannels); ++c) {
    const Sample* buffer = buffers[c];
    if (buffer && std::all_of(buffer, buffer + frames, [](Sample s) { return s == Sample(0); })) {
      silent |= uint64_t{1} << c;
    }
  }
  return silent;
}

// A channel the host flags silent reads as silence, whatever its buffer holds.
bool FlaggedSilent(const vst3::AudioBusBuffers& bus, int channel) {
  return channel < FlaggedChannels && (bus.silenceFlags >> channel & 1) != 0;
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
    for (int c = 0; c < InputCount(); ++c) {
      const bool present = c < inChannels && in->channelBuffers64 && !FlaggedSilent(*in, c);
      doubleInputs[static_cast<size_t>(c)] = present ? in->channelBuffers64[c] : nullptr;
    }
    for (int c = 0; c < OutputCount(); ++c) {
      const bool present = c < outChannels && out->channelBuffers64;
      doubleOutputs[static_cast<size_t>(c)] = present ? out->channelBuffers64[c] : nullptr;
    }
    RunHostBlock(doubleInputs.data(), doubleOutputs.data(), frames, points.data(), count);
    if (out && out->channelBuffers64 && frames > 0) {
      out->silenceFlags = SilentChannels(out->channelBuffers64, outChannels, frames);
    }
    return;
  }
  for (int c = 0; c < InputCount(); ++c) {
    const bool present = c < inChannels && in->channelBuffers32 && !FlaggedSilent(*in, c);
    floatInputs[static_cast<size_t>(c)] = present ? in->channelBuffers32[c] : nullptr;
  }
  for (int c = 0; c < OutputCount(); ++c) {
    const bool present = c < outChannels && out->channelBuffers32;
    floatOutputs[static_cast<size_t>(c)] = present ? out->channelBuffers32[c] : nullptr;
  }
  RunHostBlock(floatInputs.data(), floatOutputs.data(), frames, OutputDelivery::Replace,
               points.data(), count);
  if (out && out->channelBuffers32 && frames > 0) {
    out->silenceFlags = SilentChannels(out->channelBuffers32, outChannels, frames);
  }
}
