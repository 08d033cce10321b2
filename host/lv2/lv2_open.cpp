#include "host/PluginLoader.h"
#include "host/lv2/Lv2Plugin.h"

std::unique_ptr<HostedPlugin> OpenLv2Plugin(const std::string& bundleOrUri, std::string* error) {
  return Lv2Plugin::Load(bundleOrUri, error);
}
