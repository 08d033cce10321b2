#include "vst2/PluginEntry.h"

#include "platform/Lock.h"

#include <new>

namespace {
void DefineRemainingPresets(IVst2Plugin* plugin) {
  for (int pass = 0; pass < plugin->PresetCount(); ++pass) {
    for (int i = 0; i < plugin->PresetCount(); ++i) {
      IPresetSlot* slot = plugin->Preset(i);
      if (!slot->defined) {
        slot->defined = true;
        slot->SetName("Empty");
        slot->state.Clear();
        plugin->SerializeParams(&slot->state);
        break;
      }
    }
  }
}
} // namespace

AEffect* CreateVstEffect(audioMasterCallback hostCallback) {
  IScopedLock creation(ProcessLock(ProcessLockId::Creation));
  IVst2Plugin* plugin = nullptr;
  try {
    plugin = CreateEffect(hostCallback);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  if (!plugin) {
    return nullptr;
  }
  DefineRemainingPresets(plugin);
  AEffect* record = plugin->Effect();
  if (record->numPrograms < 1) {
    record->numPrograms = 1;
  }
  return record;
}
