#pragma once

#include "plugin/PluginIdentity.h"

// The plug-in's identity for LV2 hosts: sessions and presets refer to it, so it never changes.
inline const char* PluginUri() {
  return PluginIdentity().lv2Uri;
}
// The UI, the plug-in's editor in the host's window.
inline const char* PluginUiUri() {
  return PluginIdentity().lv2UiUri;
}
// The shared library inside the bundle.
constexpr const char* PluginBinary = "ombrix_lv2.so";
