#include "host/PluginLoader.h"

// Builds without lilv (the Windows ones) host no LV2.
std::unique_ptr<HostedPlugin> OpenLv2Plugin(const std::string& bundleOrUri, std::string* error) {
  *error = "cannot load LV2 plug-in " + bundleOrUri + ": this build hosts no LV2 (it has no lilv)";
  return nullptr;
}
