#pragma once

#include "host/HostedPlugin.h"

#include <memory>
#include <string>

// The plug-in a command-line argument names, by what it is: a library with the VST 2 entry point
// (.so, .dll), a VST 3 bundle (.vst3), a CLAP file (.clap), an LV2 bundle (a folder with a
// manifest.ttl) or an LV2 plug-in URI. Anything else is refused with one line saying what was
// found and what was expected.
bool DetectPluginFormat(const std::string& argument, PluginFormat* format, std::string* error);

// Detects the format and loads the plug-in; null with a one-line reason in error.
std::unique_ptr<HostedPlugin> OpenHostedPlugin(const std::string& argument, std::string* error);

// LV2 plug-ins through lilv where the build has it (host/lv2/), refused where it has not.
std::unique_ptr<HostedPlugin> OpenLv2Plugin(const std::string& bundleOrUri, std::string* error);
