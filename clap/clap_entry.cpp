#include "clap/ClapEntry.h"

#include "platform/Lock.h"
#include "plugin/PluginIdentity.h"

#include <cstring>
#include <new>

namespace {
constexpr const char* Features[] = {"audio-effect", "distortion", "stereo", nullptr};

const clap_plugin_descriptor Descriptor = {
    Clap::Version,
    PluginIdentity().clapId,
    PluginIdentity().effectName,
    PluginIdentity().vendorName,
    "",
    "",
    "",
    PluginIdentity().versionText,
    "Stereo hard-clipping distortion with make-up gain",
    Features,
};

IClapPlugin* From(const clap_plugin* plugin) {
  return IClapPlugin::FromRecord(plugin);
}

bool CLAP_ABI Init(const clap_plugin* plugin) {
  return From(plugin)->Init();
}

// Hosts may destroy an instance that is still active or has its editor open.
void CLAP_ABI Destroy(const clap_plugin* plugin) {
  IClapPlugin* instance = From(plugin);
  instance->GuiDestroy();
  instance->Deactivate();
  delete instance;
}

bool CLAP_ABI Activate(const clap_plugin* plugin, double sampleRate, uint32_t minFrames,
                       uint32_t maxFrames) {
  return From(plugin)->Activate(sampleRate, minFrames, maxFrames);
}

void CLAP_ABI Deactivate(const clap_plugin* plugin) {
  From(plugin)->Deactivate();
}

bool CLAP_ABI StartProcessing(const clap_plugin* plugin) {
  return From(plugin)->StartProcessing();
}

void CLAP_ABI StopProcessing(const clap_plugin* plugin) {
  From(plugin)->StopProcessing();
}

void CLAP_ABI Reset(const clap_plugin* plugin) {
  From(plugin)->Reset();
}

int32_t CLAP_ABI Process(const clap_plugin* plugin, const clap_process* process) {
  return From(plugin)->Process(process);
}

const void* CLAP_ABI GetExtension(const clap_plugin*, const char* id) {
  return id ? ClapPluginExtension(id) : nullptr;
}

void CLAP_ABI OnMainThread(const clap_plugin* plugin) {
  From(plugin)->OnMainThread();
}

uint32_t CLAP_ABI PluginCount(const clap_plugin_factory*) {
  return 1;
}

const clap_plugin_descriptor* CLAP_ABI PluginDescriptor(const clap_plugin_factory*,
                                                        uint32_t index) {
  return index == 0 ? &Descriptor : nullptr;
}

// No host call here: the host is first called from the instance's init.
const clap_plugin* CLAP_ABI CreatePlugin(const clap_plugin_factory*, const clap_host* host,
                                         const char* pluginId) {
  if (!host || !pluginId || std::strcmp(pluginId, Descriptor.id) != 0) {
    return nullptr;
  }
  IScopedLock creation(ProcessLock(ProcessLockId::Creation));
  try {
    IClapPlugin* plugin = CreateEffect(host);
    return plugin ? plugin->Record() : nullptr;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

const clap_plugin_factory PluginFactory = {PluginCount, PluginDescriptor, CreatePlugin};

// Nothing is made before the first instance nor kept after the last one (the editor's pictures
// stay in the process-wide cache until the library is unloaded), so any number of inits and
// deinits, in any pairing, needs no bookkeeping.
bool CLAP_ABI EntryInit(const char*) {
  return true;
}

void CLAP_ABI EntryDeinit() {}

const void* CLAP_ABI GetFactory(const char* factoryId) {
  if (!factoryId) {
    return nullptr;
  }
  if (std::strcmp(factoryId, Clap::PluginFactoryId) == 0) {
    return &PluginFactory;
  }
  if (std::strcmp(factoryId, Clap::PresetDiscoveryFactoryId) == 0 ||
      std::strcmp(factoryId, Clap::PresetDiscoveryFactoryDraftId) == 0) {
    return &ClapPresetDiscoveryFactory();
  }
  return nullptr;
}
} // namespace

const clap_plugin_descriptor& ClapDescriptor() {
  return Descriptor;
}

clap_plugin ClapPluginRecord(IClapPlugin* plugin) {
  return {&Descriptor,     plugin,         Init,  Destroy, Activate,     Deactivate,
          StartProcessing, StopProcessing, Reset, Process, GetExtension, OnMainThread};
}

extern "C" const clap_plugin_entry clap_entry = {Clap::Version, EntryInit, EntryDeinit, GetFactory};
