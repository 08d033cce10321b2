#pragma once

#include "clap/IClapPlugin.h"

// Builds the one effect this library holds. Declared here and defined by the effect, so the
// binding never depends on it.
IClapPlugin* CreateEffect(const clap_host* host);

// The plug-in record an instance hands the host: its descriptor and entry functions
// (clap_entry.cpp), pointing at plugin.
clap_plugin ClapPluginRecord(IClapPlugin* plugin);
const clap_plugin_descriptor& ClapDescriptor();

// The extensions an instance offers, by id; null for an unknown one (clap_extensions.cpp).
const void* ClapPluginExtension(const char* id);

// The factory programs for hosts' preset browsers (clap_presets.cpp).
const clap_preset_discovery_factory& ClapPresetDiscoveryFactory();

// The library's exported entry record.
extern "C" {
#if defined(_WIN32)
__declspec(dllexport)
#else
__attribute__((visibility("default")))
#endif
    extern const clap_plugin_entry clap_entry;
}
