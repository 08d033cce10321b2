#include "plugin/AudioPlugin.h"

#include "plugin/SampleConversion.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {
template <size_t N> void CopyName(char (&destination)[N], const char* text) {
  std::snprintf(destination, N, "%s", text ? text : "");
}

// The channels from first up to first + count, cut to the existing ones.
void ClipChannelRange(int first, int count, int channelCount, int* begin, int* end) {
  const long long last = static_cast<long long>(first) + std::max(count, 0);
  *begin = std::max(first, 0);
  *end = static_cast<int>(std::min<long long>(last, channelCount));
}

bool ResizedZeroed(std::vector<double>* buffer, size_t frames) {
  try {
    std::vector<double> fresh(frames, 0.0);
    buffer->swap(fresh);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}
} // namespace

IAudioPlugin::IAudioPlugin(int parameterCount, const char* configText, int presetCount,
                           const char* effectNameText, const char* productNameText,
                           const char* vendorNameText, int32_t versionNumber, int32_t uniqueIdValue,
                           int latency, bool usesStateBlocksFlag, bool isInstrumentFlag,
                           ::BindingKind bindingKindValue)
    : uniqueId(uniqueIdValue), version(versionNumber),
      bindingKind(static_cast<int32_t>(bindingKindValue)), usesStateBlocks(usesStateBlocksFlag),
      isInstrument(isInstrumentFlag), processingDelay(latency) {
  parameters.resize(static_cast<size_t>(std::max(parameterCount, 0)));
  presets.resize(static_cast<size_t>(std::max(presetCount, 0)));
  for (IPresetSlot& slot : presets) {
    slot.SetName("empty");
  }
  CopyName(effectName, effectNameText);
  CopyName(productName, productNameText);
  CopyName(vendorName, vendorNameText);

  ParseChannelConfigs(configText);
}

void IAudioPlugin::ParseChannelConfigs(const char* configText) {
  int maxInputs = 0;
  int maxOutputs = 0;
  const char* position = configText;
  while (position) {
    IChannelConfig config;
    std::sscanf(position, "%d-%d", &config.inputs, &config.outputs);
    maxInputs = std::max(maxInputs, config.inputs);
    maxOutputs = std::max(maxOutputs, config.outputs);
    channelConfigs.push_back(config);
    position = std::strchr(position, ' ');
    if (position) {
      ++position;
    }
  }

  inputPointers.assign(static_cast<size_t>(maxInputs), nullptr);
  outputPointers.assign(static_cast<size_t>(maxOutputs), nullptr);
  inputs.resize(inputPointers.size());
  outputs.resize(outputPointers.size());
  for (size_t i = 0; i < inputs.size(); ++i) {
    inputs[i].slot = &inputPointers[i];
  }
  for (size_t i = 0; i < outputs.size(); ++i) {
    outputs[i].slot = &outputPointers[i];
  }
}

IAudioPlugin::~IAudioPlugin() {
  // The editor goes first: its controls refer to this plug-in.
  editor.reset();
}

void IAudioPlugin::OnReset() {
  IScopedLock guard(pluginLock);
}

void IAudioPlugin::OnParameterChanged(int) {
  IScopedLock guard(pluginLock);
}

void IAudioPlugin::ProcessBlock(double** in, double** out, int frames) {
  if (frames <= 0) {
    return;
  }
  const size_t count = static_cast<size_t>(frames);
  for (int j = 0; j < OutputCount(); ++j) {
    if (j < InputCount()) {
      std::memmove(out[j], in[j], count * sizeof(double));
    } else {
      std::fill(out[j], out[j] + count, 0.0);
    }
  }
}

void IAudioPlugin::ProcessBlockFloat(float** in, float** out, int frames) {
  if (frames <= 0) {
    return;
  }
  const size_t count = static_cast<size_t>(frames);
  const int copied = std::min(InputCount(), OutputCount());
  for (int j = 0; j < OutputCount(); ++j) {
    if (j < copied) {
      std::memmove(out[j], in[j], count * sizeof(float));
    } else {
      std::fill(out[j], out[j] + count, 0.0f);
    }
  }
}

void IAudioPlugin::OnActivation(bool) {
  IScopedLock guard(pluginLock);
}

void IAudioPlugin::OnMidiEvent(const IMidiEvent* event) {
  SendMidiEvent(event);
}

bool IAudioPlugin::NameForMidiKey(int, char* name) {
  if (name) {
    name[0] = '\0';
  }
  return false;
}

bool IAudioPlugin::MatchesStoredValues(const double* values, int startIndex) {
  if (!values) {
    return false;
  }
  for (int i = 0; i < ParameterCount(); ++i) {
    const float live = static_cast<float>(parameters[static_cast<size_t>(i)].Value());
    const float stored = static_cast<float>(values[startIndex + i]);
    if (!(std::fabs(live - stored) < 0.00001f)) {
      return false;
    }
  }
  return true;
}

void IAudioPlugin::SetParameterFromEditor(int index, double normalized) {
  IParameter* parameter = Parameter(index);
  if (!parameter) {
    return;
  }
  {
    IScopedLock guard(pluginLock);
    parameter->SetFromNormalized(normalized);
    OnParameterChanged(index);
  }
  // Outside our own hold: the host may call back into the plug-in from its notification.
  NotifyHostOfChange(index, normalized);
}

void IAudioPlugin::AttachEditor(IAttachedEditor* newEditor) {
  if (!newEditor) {
    return;
  }
  IScopedLock guard(pluginLock);
  for (int i = 0; i < ParameterCount(); ++i) {
    newEditor->ShowParameterValue(i, parameters[static_cast<size_t>(i)].ToNormalized(), true);
  }
  newEditor->PrepareDrawing();
  editor.reset(newEditor);
}

void IAudioPlugin::RefreshParameterControls() {
  if (!editor) {
    return;
  }
  for (int i = 0; i < ParameterCount(); ++i) {
    editor->ShowParameterValue(i, parameters[static_cast<size_t>(i)].Value(), false);
  }
}

void IAudioPlugin::SetMaxBlockFrames(int frames) {
  IScopedLock guard(pluginLock);
  if (frames == maxBlockFrames || frames < 0) {
    return;
  }
  // Buffers that hold the size already are zeroed where they are: a host going back to a smaller
  // block costs no allocation, and the channels keep pointing at them.
  const size_t wanted = static_cast<size_t>(frames);
  const auto holds = [wanted](const auto& pin) { return pin.scratch.capacity() >= wanted; };
  if (std::all_of(inputs.begin(), inputs.end(), holds) &&
      std::all_of(outputs.begin(), outputs.end(), holds)) {
    for (IInputPin& pin : inputs) {
      pin.scratch.assign(wanted, 0.0);
    }
    for (IOutputPin& pin : outputs) {
      pin.scratch.assign(wanted, 0.0);
    }
    SizeDryBuffers(wanted);
    maxBlockFrames = frames;
    return;
  }
  // Fresh buffers first, so a failed allocation leaves the old ones in place.
  std::vector<std::vector<double>> fresh(inputs.size() + outputs.size());
  for (std::vector<double>& buffer : fresh) {
    if (!ResizedZeroed(&buffer, static_cast<size_t>(frames))) {
      return;
    }
  }
  size_t next = 0;
  auto install = [&](double** slot, bool connected, std::vector<double>* scratch) {
    const bool pointedAtScratch = !connected || *slot == scratch->data();
    scratch->swap(fresh[next++]);
    if (pointedAtScratch) {
      *slot = scratch->data();
    }
  };
  for (IInputPin& pin : inputs) {
    install(pin.slot, pin.connected, &pin.scratch);
  }
  for (IOutputPin& pin : outputs) {
    install(pin.slot, pin.connected, &pin.scratch);
  }
  SizeDryBuffers(wanted);
  maxBlockFrames = frames;
}

bool IAudioPlugin::LegalIO(int inputCount, int outputCount) const {
  for (const IChannelConfig& config : channelConfigs) {
    if ((inputCount == -1 || inputCount == config.inputs) &&
        (outputCount == -1 || outputCount == config.outputs)) {
      return true;
    }
  }
  return false;
}

void IAudioPlugin::ConnectInputs(int first, int count, bool connected) {
  int begin = 0;
  int end = 0;
  ClipChannelRange(first, count, InputCount(), &begin, &end);
  for (int i = begin; i < end; ++i) {
    IInputPin& pin = inputs[static_cast<size_t>(i)];
    pin.connected = connected;
    if (!connected) {
      *pin.slot = pin.scratch.data();
    }
  }
}

void IAudioPlugin::ConnectOutputs(int first, int count, bool connected) {
  int begin = 0;
  int end = 0;
  ClipChannelRange(first, count, OutputCount(), &begin, &end);
  for (int i = begin; i < end; ++i) {
    IOutputPin& pin = outputs[static_cast<size_t>(i)];
    pin.connected = connected;
    if (!connected) {
      *pin.slot = pin.scratch.data();
    }
  }
}

void IAudioPlugin::StageFloatInputs(int first, int count, float** hostInputs, int frames) {
  if (hostInputs) {
    StageFloatInputsAt(first, count, hostInputs, 0, frames);
  }
}

// A host array that is missing, or a missing buffer in it, reads as silence.
void IAudioPlugin::StageFloatInputsAt(int first, int count, float** hostInputs, int offset,
                                      int frames) {
  int begin = 0;
  int end = 0;
  ClipChannelRange(first, count, InputCount(), &begin, &end);
  // Never past the scratch buffers, whatever block length the host claims.
  const int staged = std::clamp(frames, 0, maxBlockFrames);
  for (int i = begin; i < end; ++i) {
    IInputPin& pin = inputs[static_cast<size_t>(i)];
    if (!pin.connected) {
      continue;
    }
    const float* source = hostInputs ? *hostInputs++ : nullptr;
    if (source) {
      WidenSamples(source + offset, pin.scratch.data(), staged);
    } else {
      std::fill(pin.scratch.begin(), pin.scratch.begin() + staged, 0.0);
    }
    *pin.slot = pin.scratch.data();
  }
}

IParameter* IAudioPlugin::Parameter(int index) {
  return index >= 0 && index < ParameterCount() ? &parameters[static_cast<size_t>(index)] : nullptr;
}

IPresetSlot* IAudioPlugin::Preset(int index) {
  return index >= 0 && index < PresetCount() ? &presets[static_cast<size_t>(index)] : nullptr;
}

IInputPin* IAudioPlugin::Input(int index) {
  return index >= 0 && index < InputCount() ? &inputs[static_cast<size_t>(index)] : nullptr;
}

IOutputPin* IAudioPlugin::Output(int index) {
  return index >= 0 && index < OutputCount() ? &outputs[static_cast<size_t>(index)] : nullptr;
}

const IChannelConfig* IAudioPlugin::ChannelConfig(int index) const {
  return index >= 0 && index < ChannelConfigCount() ? &channelConfigs[static_cast<size_t>(index)]
                                                    : nullptr;
}
