#pragma once

// The plug-in's identity for LV2 hosts: sessions and presets refer to it, so it never changes.
constexpr const char* PluginUri = "https://quillmarsh.example/lv2/ombrix";
// The UI, the plug-in's editor in the host's window.
constexpr const char* PluginUiUri = "https://quillmarsh.example/lv2/ombrix#ui";
// The shared library inside the bundle.
constexpr const char* PluginBinary = "ombrix_lv2.so";
