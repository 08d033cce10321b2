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
  IScopedLock guard(pluginLock);
  AnnounceMidiWish();
  RunHostBlock(hostInputs, hostOutputs, frames);
}

void IVst2Plugin::ProcessFloat(float** hostInputs, float** hostOutputs, int frames,
                               bool accumulate) {
  IScopedLock guard(pluginLock);
  AnnounceMidiWish();
  RunHostBlock(hostInputs, hostOutputs, frames,
               accumulate ? OutputDelivery::Accumulate : OutputDelivery::Replace);
}

// Hosts that stop sending events to a plug-in that has not asked for them lately are told every
// block. Callers hold the lock for the whole call, the block runner's included.
void IVst2Plugin::AnnounceMidiWish() {
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
