#include "host/HostedPlugin.h"

#include "platform/Lock.h"

const char* FormatName(PluginFormat format) {
  switch (format) {
  case PluginFormat::Vst2:
    return "VST 2";
  case PluginFormat::Vst3:
    return "VST 3";
  case PluginFormat::Clap:
    return "CLAP";
  case PluginFormat::Lv2:
    return "LV2";
  }
  return "";
}

IRecursiveLock& HostControlLock() {
  static IRecursiveLock lock;
  return lock;
}

bool HostedPlugin::SetFromText(int index, const std::string& text) {
  double normalized = 0.0;
  if (!TextToNormalized(index, text, &normalized)) {
    return false;
  }
  SetNormalized(index, normalized);
  return true;
}
