#include "lv2/Lv2Entry.h"

#include "lv2/Lv2Identity.h"
#include "platform/Lock.h"

#include <lv2/core/lv2.h>
#include <lv2/core/lv2_util.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <cstring>
#include <new>

ILv2Plugin* CreateLv2Instance(const ILv2Host& host) {
  IScopedLock creation(ProcessLock(ProcessLockId::Creation));
  ILv2Plugin* plugin = nullptr;
  try {
    plugin = CreateEffect(&host);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  if (plugin) {
    plugin->Open();
  }
  return plugin;
}

namespace {
ILv2Plugin* FromHandle(LV2_Handle instance) {
  return static_cast<ILv2Plugin*>(instance);
}

LV2_Handle Instantiate(const LV2_Descriptor*, double sampleRate, const char*,
                       const LV2_Feature* const* features) {
  // The map is the one feature the plug-in cannot work without (MIDI, transport and state all
  // go by mapped URIs); hosts check the description's required features before they get here.
  if (!lv2_features_data(features, LV2_URID__map)) {
    return nullptr;
  }
  ILv2Host host;
  host.sampleRate = sampleRate;
  host.features = features;
  return CreateLv2Instance(host);
}

void ConnectPort(LV2_Handle instance, uint32_t port, void* data) {
  FromHandle(instance)->ConnectPort(port, data);
}

void Activate(LV2_Handle instance) {
  FromHandle(instance)->Activate();
}

void Run(LV2_Handle instance, uint32_t frames) {
  FromHandle(instance)->Run(frames);
}

void Deactivate(LV2_Handle instance) {
  FromHandle(instance)->Deactivate();
}

void Cleanup(LV2_Handle instance) {
  delete FromHandle(instance);
}

LV2_State_Status Save(LV2_Handle instance, LV2_State_Store_Function store, LV2_State_Handle handle,
                      uint32_t, const LV2_Feature* const*) {
  return FromHandle(instance)->SaveState(store, handle);
}

LV2_State_Status Restore(LV2_Handle instance, LV2_State_Retrieve_Function retrieve,
                         LV2_State_Handle handle, uint32_t, const LV2_Feature* const*) {
  return FromHandle(instance)->RestoreState(retrieve, handle);
}

const LV2_State_Interface StateInterface = {Save, Restore};

const void* ExtensionData(const char* uri) {
  if (std::strcmp(uri, LV2_STATE__interface) == 0) {
    return &StateInterface;
  }
  return nullptr;
}

const LV2_Descriptor Descriptor = {PluginUri(), Instantiate, ConnectPort, Activate,
                                   Run,         Deactivate,  Cleanup,     ExtensionData};
} // namespace

LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index) {
  return index == 0 ? &Descriptor : nullptr;
}
