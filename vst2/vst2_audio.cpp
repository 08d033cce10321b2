#include "vst2/IVst2Plugin.h"

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

void IVst2Plugin::ProcessDouble(double** hostInputs, double** hostOutputs, int frames) {
  AnnounceMidiWish();
  RunHostBlock(hostInputs, hostOutputs, frames);
}

void IVst2Plugin::ProcessFloat(float** hostInputs, float** hostOutputs, int frames,
                               bool accumulate) {
  AnnounceMidiWish();
  RunHostBlock(hostInputs, hostOutputs, frames,
               accumulate ? OutputDelivery::Accumulate : OutputDelivery::Replace);
}

// Hosts that stop sending events to a plug-in that has not asked for them lately are told every
// block.
void IVst2Plugin::AnnounceMidiWish() {
  IScopedLock guard(pluginLock);
  if (wantsMidi) {
    CallHost(audioMasterWantMidi);
  }
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
  if (IVst2Plugin* plugin = FromEffect(record)) {
    plugin->SetParameterFromHost(index, value, ParameterUnits::Normalized, EditorEcho::Show);
  }
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
