#include "vst2/IVst2Plugin.h"

#include "plugin/SampleConversion.h"

#include <algorithm>
#include <cmath>

namespace {
// The host's buffer for the next connected channel, advanced to the current sub-block; none
// when the host passed no array or no buffer for it.
template <typename Sample> Sample* HostChannel(Sample** buffers, int channel, int offset) {
  return buffers && buffers[channel] ? buffers[channel] + offset : nullptr;
}
} // namespace

void VSTCALLBACK IVst2Plugin::HostProcessDouble(AEffect* record, double** inputs, double** outputs,
                                                VstInt32 frames) {
  if (IVst2Plugin* plugin = FromEffect(record)) {
    plugin->ProcessDouble(inputs, outputs, frames);
  }
}

void VSTCALLBACK IVst2Plugin::HostProcessFloat(AEffect* record, float** inputs, float** outputs,
                                               VstInt32 frames) {
  if (IVst2Plugin* plugin = FromEffect(record)) {
    plugin->ProcessFloat(inputs, outputs, frames, false);
  }
}

void VSTCALLBACK IVst2Plugin::HostProcessAdding(AEffect* record, float** inputs, float** outputs,
                                                VstInt32 frames) {
  if (IVst2Plugin* plugin = FromEffect(record)) {
    plugin->ProcessFloat(inputs, outputs, frames, true);
  }
}

int IVst2Plugin::SubBlockLength(int remaining) const {
  return std::min(remaining, maxBlockFrames);
}

// A host may pass more frames than it announced; the scratch buffers hold only maxBlockFrames,
// so such a call runs as several consecutive sub-blocks instead of overrunning them.
template <typename SubBlockWork> void IVst2Plugin::RunInSubBlocks(int frames, SubBlockWork&& work) {
  IScopedLock guard(pluginLock);
  if (wantsMidi) {
    CallHost(audioMasterWantMidi);
  }
  frames = std::max(frames, 0);
  int done = 0;
  do {
    const int length = SubBlockLength(frames - done);
    subBlockStart = done;
    work(done, length);
    done += length;
  } while (done < frames && maxBlockFrames > 0);
  subBlockStart = 0;
}

void IVst2Plugin::ProcessDouble(double** hostInputs, double** hostOutputs, int frames) {
  RunInSubBlocks(frames, [&](int done, int length) {
    int next = 0;
    for (IInputPin& pin : inputs) {
      if (!pin.connected) {
        continue;
      }
      double* source = HostChannel(hostInputs, next++, done);
      if (!source) {
        std::fill(pin.scratch.begin(), pin.scratch.begin() + length, 0.0);
        source = pin.scratch.data();
      }
      *pin.slot = source;
    }
    next = 0;
    for (IOutputPin& pin : outputs) {
      if (!pin.connected) {
        continue;
      }
      double* destination = HostChannel(hostOutputs, next++, done);
      *pin.slot = destination ? destination : pin.scratch.data();
    }
    ProcessBlock(InputPointers(), OutputPointers(), length);
  });
}

void IVst2Plugin::ProcessFloat(float** hostInputs, float** hostOutputs, int frames,
                               bool accumulate) {
  RunInSubBlocks(frames, [&](int done, int length) {
    int next = 0;
    for (IInputPin& pin : inputs) {
      if (!pin.connected) {
        continue;
      }
      const float* source = HostChannel(hostInputs, next++, done);
      double* staged = pin.scratch.data();
      if (source) {
        WidenSamples(source, staged, length);
      } else {
        std::fill(staged, staged + length, 0.0);
      }
      *pin.slot = staged;
    }
    next = 0;
    for (IOutputPin& pin : outputs) {
      pin.floatDestination = pin.connected ? HostChannel(hostOutputs, next++, done) : nullptr;
      if (pin.connected) {
        *pin.slot = pin.scratch.data();
      }
    }
    ProcessBlock(InputPointers(), OutputPointers(), length);
    for (IOutputPin& pin : outputs) {
      float* destination = pin.floatDestination;
      if (!destination) {
        continue;
      }
      const double* result = *pin.slot;
      if (accumulate) {
        AddNarrowedSamples(result, destination, length);
      } else {
        NarrowSamples(result, destination, length);
      }
    }
  });
}

float VSTCALLBACK IVst2Plugin::HostReadParameter(AEffect* record, VstInt32 index) {
  IVst2Plugin* plugin = FromEffect(record);
  if (!plugin) {
    return 0.0f;
  }
  IScopedLock guard(plugin->pluginLock);
  const IParameter* parameter = plugin->Parameter(index);
  return parameter ? static_cast<float>(parameter->ToNormalized()) : 0.0f;
}

// Values outside 0..1 are limited to it; a NaN carries no value and is ignored.
void VSTCALLBACK IVst2Plugin::HostWriteParameter(AEffect* record, VstInt32 index, float value) {
  IVst2Plugin* plugin = FromEffect(record);
  if (!plugin || std::isnan(value)) {
    return;
  }
  IScopedLock guard(plugin->pluginLock);
  IParameter* parameter = plugin->Parameter(index);
  if (!parameter) {
    return;
  }
  const double normalized = std::clamp(static_cast<double>(value), 0.0, 1.0);
  if (IAttachedEditor* editor = plugin->Editor()) {
    editor->ShowParameterValue(index, normalized, true);
  }
  parameter->SetFromNormalized(normalized);
  plugin->OnParameterChanged(index);
}

void IVst2Plugin::TakeHostEvents(const VstEvents* events) {
  // Hosts allocate the pointer array for numEvents entries, though the record declares two;
  // indexing the declared array past them is out of its bounds.
  VstEvent* const* entries = events->events;
  for (VstInt32 i = 0; i < events->numEvents; ++i) {
    const VstEvent* event = entries[i];
    if (!event) {
      continue;
    }
    if (event->type == kVstMidiType) {
      const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
      IMidiEvent received;
      received.offset = midi->deltaFrames;
      received.status = static_cast<uint8_t>(midi->midiData[0]);
      received.data1 = static_cast<uint8_t>(midi->midiData[1]);
      received.data2 = static_cast<uint8_t>(midi->midiData[2]);
      OnMidiEvent(&received);
    } else if (event->type == kVstSysExType) {
      const auto* sysex = reinterpret_cast<const VstMidiSysexEvent*>(event);
      ISysexEvent received;
      received.offset = sysex->deltaFrames;
      // A dump without bytes or with a negative length is handed on as an empty one.
      const bool hasBytes = sysex->sysexDump && sysex->dumpBytes > 0;
      received.size = hasBytes ? sysex->dumpBytes : 0;
      received.data = hasBytes ? sysex->sysexDump : nullptr;
      OnSysexEvent(&received);
    }
  }
}
