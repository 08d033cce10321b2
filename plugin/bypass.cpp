#include "plugin/AudioPlugin.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace {
// Long enough that switching never clicks, short enough to feel immediate.
constexpr double BypassFadeSeconds = 0.005;
} // namespace

int IAudioPlugin::BypassFadeFrames(double sampleRate) {
  const double frames = std::round(BypassFadeSeconds * sampleRate);
  return frames >= 1.0 ? static_cast<int>(std::min(frames, 1e6)) : 1;
}

void IAudioPlugin::SizeDryBuffers(size_t frames) {
  if (!OffersBypass(static_cast<::BindingKind>(bindingKind))) {
    return;
  }
  for (IOutputPin& pin : outputs) {
    try {
      pin.dry.resize(frames);
    } catch (const std::bad_alloc&) {
      // Without room for the dry signal the bypass cannot run; ProcessSubBlock sees it.
      pin.dry.clear();
    }
  }
}

void IAudioPlugin::ProcessSubBlock(int frames) {
  const double target = Bypassed() ? 1.0 : 0.0;
  const auto holdsDrySignal = [frames](const IOutputPin& pin) {
    return pin.dry.size() >= static_cast<size_t>(frames);
  };
  if ((bypassMix == 0.0 && target == 0.0) ||
      !std::all_of(outputs.begin(), outputs.end(), holdsDrySignal)) {
    ProcessBlock(InputPointers(), OutputPointers(), frames);
    return;
  }
  // Kept first: double-precision hosts may process in place.
  KeepDrySignal(frames);
  ProcessBlock(InputPointers(), OutputPointers(), frames);
  MixDrySignal(frames, target);
}

// Output j carries input j; an output without an input carries silence.
void IAudioPlugin::KeepDrySignal(int frames) {
  for (size_t j = 0; j < outputs.size(); ++j) {
    std::vector<double>& dry = outputs[j].dry;
    const double* source = j < inputs.size() ? *inputs[j].slot : nullptr;
    if (source) {
      std::copy(source, source + frames, dry.begin());
    } else {
      std::fill(dry.begin(), dry.begin() + frames, 0.0);
    }
  }
}

// Moves the mix towards the target by one fade step per frame; a mix of exactly 1 gives the
// dry samples exactly.
void IAudioPlugin::MixDrySignal(int frames, double target) {
  const double step = 1.0 / BypassFadeFrames(sampleRate);
  double mix = bypassMix;
  for (IOutputPin& pin : outputs) {
    double* out = *pin.slot;
    const double* dry = pin.dry.data();
    mix = bypassMix;
    for (int i = 0; i < frames; ++i) {
      mix = target > mix ? std::min(target, mix + step) : std::max(target, mix - step);
      out[i] = mix >= 1.0 ? dry[i] : out[i] + (dry[i] - out[i]) * mix;
    }
  }
  if (outputs.empty()) {
    mix = target > mix ? std::min(target, mix + step * frames)
                       : std::max(target, mix - step * frames);
  }
  bypassMix = mix;
}
