#include "plugin/AudioPlugin.h"

#include "plugin/SampleConversion.h"

#include <algorithm>
#include <cstdint>

namespace {
// Channels a single-precision call can process on the host's buffers directly.
constexpr size_t MostDirectFloatChannels = 8;

bool Overlap(const float* a, const float* b, int frames) {
  const auto first = reinterpret_cast<std::uintptr_t>(a);
  const auto second = reinterpret_cast<std::uintptr_t>(b);
  const std::uintptr_t bytes = static_cast<std::uintptr_t>(frames) * sizeof(float);
  return first < second + bytes && second < first + bytes;
}

// The host's buffer for the next connected channel, advanced to the current sub-block; none
// when the host passed no array or no buffer for it.
template <typename Sample> Sample* HostChannel(Sample** buffers, int channel, int offset) {
  return buffers && buffers[channel] ? buffers[channel] + offset : nullptr;
}
} // namespace

int IAudioPlugin::LimitedBlockFrames(int64_t announced) {
  return static_cast<int>(std::clamp<int64_t>(announced, 1, LargestBlockFrames));
}

// A host may pass more frames than it announced; the scratch buffers hold only maxBlockFrames,
// so such a call runs as several consecutive sub-blocks instead of overrunning them. Parameter
// points end a sub-block too, so each takes effect at its frame.
template <typename SubBlockWork>
void IAudioPlugin::RunInSubBlocks(int frames, const IParameterPoint* points, int pointCount,
                                  SubBlockWork&& work) {
  frames = std::max(frames, 0);
  pointCount = points ? std::max(pointCount, 0) : 0;
  int nextPoint = 0;
  int done = 0;
  do {
    if (nextPoint < pointCount) {
      nextPoint = ApplyParameterPoints(points, pointCount, nextPoint, done, frames);
    }
    const int stretchEnd =
        nextPoint < pointCount ? std::clamp<int>(points[nextPoint].frame, done, frames) : frames;
    const int length = std::min(stretchEnd - done, maxBlockFrames);
    blockOffset = done;
    work(done, length);
    done += length;
  } while (done < frames && maxBlockFrames > 0);
  blockOffset = 0;
  if (nextPoint < pointCount) {
    ApplyParameterPoints(points, pointCount, nextPoint, frames, frames);
  }
}

int IAudioPlugin::ApplyParameterPoints(const IParameterPoint* points, int pointCount, int next,
                                       int frame, int frames) {
  for (; next < pointCount && std::clamp<int>(points[next].frame, 0, frames) <= frame; ++next) {
    const IParameterPoint& point = points[next];
    SetParameterFromHost(point.index, point.normalized,
                         point.realUnits ? ParameterUnits::Real : ParameterUnits::Normalized,
                         EditorEcho::Show);
  }
  return next;
}

void IAudioPlugin::RunHostBlock(double** hostInputs, double** hostOutputs, int frames) {
  RunHostBlock(hostInputs, hostOutputs, frames, nullptr, 0);
}

void IAudioPlugin::RunHostBlock(float** hostInputs, float** hostOutputs, int frames,
                                OutputDelivery delivery) {
  RunHostBlock(hostInputs, hostOutputs, frames, delivery, nullptr, 0);
}

void IAudioPlugin::RunHostBlock(double** hostInputs, double** hostOutputs, int frames,
                                const IParameterPoint* points, int pointCount) {
  RunInSubBlocks(frames, points, pointCount, [&](int offset, int length) {
    PointAtHostBuffers(hostInputs, hostOutputs, offset, length);
    ProcessSubBlock(length);
  });
}

void IAudioPlugin::RunHostBlock(float** hostInputs, float** hostOutputs, int frames,
                                OutputDelivery delivery, const IParameterPoint* points,
                                int pointCount) {
  enum class Route { Undecided, Direct, Staged } route = Route::Undecided;
  RunInSubBlocks(frames, points, pointCount, [&](int offset, int length) {
    if (route == Route::Undecided) {
      route = delivery == OutputDelivery::Replace &&
                      HostFloatBuffersServeDirectly(hostInputs, hostOutputs, frames)
                  ? Route::Direct
                  : Route::Staged;
    }
    // The bypass mixes in the dry signal the staged path keeps.
    if (route == Route::Direct && bypassMix == 0.0 && !Bypassed()) {
      ProcessHostFloatBuffers(hostInputs, hostOutputs, offset, length);
      return;
    }
    StageSubBlock(hostInputs, hostOutputs, offset, length);
    ProcessSubBlock(length);
    DeliverSubBlock(length, delivery);
  });
}

bool IAudioPlugin::HostFloatBuffersServeDirectly(float** hostInputs, float** hostOutputs,
                                                 int frames) const {
  if (!processesFloatBlocks || !hostInputs || !hostOutputs ||
      inputs.size() > MostDirectFloatChannels || outputs.size() > MostDirectFloatChannels) {
    return false;
  }
  const auto connected = [](const auto& pin) { return pin.connected; };
  if (!std::all_of(inputs.begin(), inputs.end(), connected) ||
      !std::all_of(outputs.begin(), outputs.end(), connected)) {
    return false;
  }
  for (size_t j = 0; j < outputs.size(); ++j) {
    if (!hostOutputs[j]) {
      return false;
    }
    for (size_t k = 0; k < inputs.size(); ++k) {
      if (!hostInputs[k] || (Overlap(hostOutputs[j], hostInputs[k], frames) &&
                             !(j == k && hostOutputs[j] == hostInputs[k]))) {
        return false;
      }
    }
  }
  return true;
}

void IAudioPlugin::ProcessHostFloatBuffers(float** hostInputs, float** hostOutputs, int offset,
                                           int frames) {
  float* in[MostDirectFloatChannels];
  float* out[MostDirectFloatChannels];
  for (size_t k = 0; k < inputs.size(); ++k) {
    in[k] = hostInputs[k] + offset;
  }
  for (size_t j = 0; j < outputs.size(); ++j) {
    out[j] = hostOutputs[j] + offset;
  }
  ProcessBlockFloat(in, out, frames);
}

void IAudioPlugin::PointAtHostBuffers(double** hostInputs, double** hostOutputs, int offset,
                                      int frames) {
  int next = 0;
  for (IInputPin& pin : inputs) {
    if (!pin.connected) {
      continue;
    }
    double* source = HostChannel(hostInputs, next++, offset);
    if (!source) {
      std::fill(pin.scratch.begin(), pin.scratch.begin() + frames, 0.0);
      source = pin.scratch.data();
    }
    *pin.slot = source;
  }
  next = 0;
  for (IOutputPin& pin : outputs) {
    if (!pin.connected) {
      continue;
    }
    double* destination = HostChannel(hostOutputs, next++, offset);
    *pin.slot = destination ? destination : pin.scratch.data();
  }
}

void IAudioPlugin::StageSubBlock(float** hostInputs, float** hostOutputs, int offset, int frames) {
  StageFloatInputsAt(0, InputCount(), hostInputs, offset, frames);
  int next = 0;
  for (IOutputPin& pin : outputs) {
    pin.floatDestination = pin.connected ? HostChannel(hostOutputs, next++, offset) : nullptr;
    if (pin.connected) {
      *pin.slot = pin.scratch.data();
    }
  }
}

void IAudioPlugin::DeliverSubBlock(int frames, OutputDelivery delivery) {
  for (IOutputPin& pin : outputs) {
    float* destination = pin.floatDestination;
    if (!destination) {
      continue;
    }
    const double* result = *pin.slot;
    if (delivery == OutputDelivery::Accumulate) {
      AddNarrowedSamples(result, destination, frames);
    } else {
      NarrowSamples(result, destination, frames);
    }
  }
}
