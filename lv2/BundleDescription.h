#pragma once

#include <string>

class ILv2Plugin;

// The bundle's turtle files, written from the plug-in's own tables (names, ranges, defaults,
// units, channels, programs), so the description cannot drift from the code: manifest.ttl,
// the plug-in's description and its programs as presets. False, with a reason, when a file
// cannot be written.
bool WriteBundleDescription(ILv2Plugin& plugin, const std::string& directory, std::string* error);

// The files as texts, for the writer and for checks.
std::string ManifestText(ILv2Plugin& plugin);
std::string PluginText(ILv2Plugin& plugin);
std::string PresetsText(ILv2Plugin& plugin);

// The description's file names inside the bundle.
constexpr const char* PluginFileName = "ombrix.ttl";
constexpr const char* PresetsFileName = "presets.ttl";
