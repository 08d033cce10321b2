#include "clap/ClapEntry.h"

#include "platform/Lock.h"
#include "plugin/PluginIdentity.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// The factory programs as presets inside the library: the discovery factory lists them with
// their index as the load key, and an instance's preset-load applies one.
namespace {
constexpr const char* ProviderId = "example.quillmarsh.ombrix.factory-programs";
constexpr const char* ProviderName = "Ombrix factory programs";
constexpr const char* ClapAbiName = "clap";

// The programs' names, read once from an instance made for it (hosts index presets without
// making instances of their own).
const std::vector<std::string>& FactoryProgramNames() {
  static std::once_flag once;
  static std::vector<std::string> names;
  std::call_once(once, [] {
    IScopedLock creation(ProcessLock(ProcessLockId::Creation));
    std::unique_ptr<IClapPlugin> plugin(CreateEffect(nullptr));
    if (!plugin) {
      return;
    }
    IScopedLock guard(plugin->Lock());
    for (int i = 0; i < plugin->PresetCount(); ++i) {
      names.emplace_back(plugin->Preset(i)->name);
    }
  });
  return names;
}

// A load key is a program's index written in decimal, nothing else.
bool ProgramOfKey(const char* key, int programCount, int* program) {
  if (!key || *key < '0' || *key > '9') {
    return false;
  }
  char* end = nullptr;
  const long value = std::strtol(key, &end, 10);
  if (*end != '\0' || value >= programCount) {
    return false;
  }
  *program = static_cast<int>(value);
  return true;
}

const clap_preset_discovery_provider_descriptor ProviderDescriptor = {
    Clap::Version, ProviderId, ProviderName, PluginIdentity().vendorName};

struct Provider {
  clap_preset_discovery_provider record;
  const clap_preset_discovery_indexer* indexer;
};

Provider* From(const clap_preset_discovery_provider* provider) {
  return static_cast<Provider*>(provider->provider_data);
}

bool CLAP_ABI ProviderInit(const clap_preset_discovery_provider* provider) {
  const clap_preset_discovery_indexer* indexer = From(provider)->indexer;
  clap_preset_discovery_location location = {};
  location.flags = Clap::PresetIsFactoryContent;
  location.name = ProviderName;
  location.kind = Clap::PresetLocationPlugin;
  location.location = nullptr;
  return indexer->declare_location && indexer->declare_location(indexer, &location);
}

void CLAP_ABI ProviderDestroy(const clap_preset_discovery_provider* provider) {
  delete From(provider);
}

bool CLAP_ABI ProviderMetadata(const clap_preset_discovery_provider*, uint32_t kind,
                               const char* location,
                               const clap_preset_discovery_metadata_receiver* receiver) {
  if (kind != Clap::PresetLocationPlugin || location || !receiver || !receiver->begin_preset) {
    return false;
  }
  const std::vector<std::string>& names = FactoryProgramNames();
  const clap_universal_plugin_id pluginId = {ClapAbiName, ClapDescriptor().id};
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string key = std::to_string(i);
    if (!receiver->begin_preset(receiver, names[i].c_str(), key.c_str())) {
      break;
    }
    if (receiver->add_plugin_id) {
      receiver->add_plugin_id(receiver, &pluginId);
    }
    if (receiver->set_flags) {
      receiver->set_flags(receiver, Clap::PresetIsFactoryContent);
    }
    if (receiver->add_creator) {
      receiver->add_creator(receiver, ClapDescriptor().vendor);
    }
  }
  return true;
}

const void* CLAP_ABI ProviderExtension(const clap_preset_discovery_provider*, const char*) {
  return nullptr;
}

uint32_t CLAP_ABI ProviderCount(const clap_preset_discovery_factory*) {
  return 1;
}

const clap_preset_discovery_provider_descriptor* CLAP_ABI
ProviderDescriptorAt(const clap_preset_discovery_factory*, uint32_t index) {
  return index == 0 ? &ProviderDescriptor : nullptr;
}

// The indexer is first called from the provider's init.
const clap_preset_discovery_provider* CLAP_ABI
CreateProvider(const clap_preset_discovery_factory*, const clap_preset_discovery_indexer* indexer,
               const char* providerId) {
  if (!indexer || !providerId || std::string(providerId) != ProviderId) {
    return nullptr;
  }
  auto* provider = new Provider{{&ProviderDescriptor, nullptr, ProviderInit, ProviderDestroy,
                                 ProviderMetadata, ProviderExtension},
                                indexer};
  provider->record.provider_data = provider;
  return &provider->record;
}

const clap_preset_discovery_factory DiscoveryFactory = {ProviderCount, ProviderDescriptorAt,
                                                        CreateProvider};
} // namespace

const clap_preset_discovery_factory& ClapPresetDiscoveryFactory() {
  return DiscoveryFactory;
}

bool IClapPlugin::LoadPreset(uint32_t locationKind, const char* location, const char* loadKey) {
  ExpectMainThread();
  int program = 0;
  bool loaded = false;
  if (locationKind == Clap::PresetLocationPlugin && !location &&
      ProgramOfKey(loadKey, PresetCount(), &program)) {
    IScopedLock guard(pluginLock);
    loaded = SelectPreset(program);
  }
  const clap_host_preset_load* hostPresets = hostExtensions.presetLoad;
  if (!loaded) {
    if (hostPresets && hostPresets->on_error) {
      hostPresets->on_error(host, locationKind, location, loadKey, 0,
                            "Ombrix has no such factory program");
    }
    return false;
  }
  RescanValues();
  if (hostPresets && hostPresets->loaded) {
    hostPresets->loaded(host, locationKind, location, loadKey);
  }
  return true;
}
