#include "lv2/ILv2Plugin.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace {
// A port's float cannot hold most decimals (99.99 is 99.9899978...): it is read as the shortest
// decimal giving that float, the number the host shows and a VST 2 host types, so both bindings
// clip at the same level.
double PortDecimal(float portValue) {
  char text[32];
  const std::to_chars_result written = std::to_chars(text, text + sizeof(text), portValue);
  double value = portValue;
  std::from_chars(text, written.ptr, value);
  return value;
}
} // namespace

void ILv2Plugin::Run(uint32_t frameCount) {
  const int frames =
      static_cast<int>(std::min<uint32_t>(frameCount, std::numeric_limits<int>::max()));
  IScopedLock guard(pluginLock);
  BeginOutputSequence(frames);
  TakeControlPorts();
  TakeInputEvents(frames);
  ProcessAudio(frames);
  transport.Advance(frames, sampleRate);
  ReportControlOutputs();
  EndOutputSequence();
}

void ILv2Plugin::TakeControlPorts() {
  for (int i = 0; i < ParameterCount(); ++i) {
    const auto* port = static_cast<const float*>(portData[ports.ControlInput(i)]);
    if (!port || std::isnan(*port)) {
      continue;
    }
    const float value = *port;
    float& last = lastControl[static_cast<size_t>(i)];
    if (value != last && !controlsBaselineOnly) {
      SetParameterFromHost(i, PortDecimal(value), ParameterUnits::Real, EditorEcho::Show);
    }
    last = value;
  }
  controlsBaselineOnly = false;
}

void ILv2Plugin::ProcessAudio(int frames) {
  for (int c = 0; c < InputCount(); ++c) {
    inputBuffers[static_cast<size_t>(c)] = static_cast<float*>(portData[ports.AudioInput(c)]);
  }
  for (int c = 0; c < OutputCount(); ++c) {
    outputBuffers[static_cast<size_t>(c)] = static_cast<float*>(portData[ports.AudioOutput(c)]);
  }
  RunHostBlock(inputBuffers.data(), outputBuffers.data(), frames, OutputDelivery::Replace);
}

void ILv2Plugin::ReportControlOutputs() {
  for (int i = 0; i < ParameterCount(); ++i) {
    if (auto* port = static_cast<float*>(portData[ports.ControlOutput(i)])) {
      *port = static_cast<float>(Parameter(i)->Value());
    }
  }
}
