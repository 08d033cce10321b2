#pragma once

#include <cstdint>

// Who the plug-in is to every format: hosts file saved projects, presets and automation under
// these, so none of them ever changes.
struct IPluginIdentity {
  const char* effectName;
  const char* productName;
  const char* vendorName;
  // 0xMMMMmmbb: major in the upper 16 bits, minor in bits 8-15, third component in bits 0-7.
  int32_t version;
  const char* versionText;
  // The VST 2 unique id; VST 3 hosts derive the classes' ids below from it and the name.
  int32_t vst2UniqueId;
  const char* lv2Uri;
  const char* lv2UiUri;
  // The VST 3 classes' ids as 32 hex digits, the form hosts store on every platform.
  const char* vst3ProcessorId;
  const char* vst3ControllerId;
  const char* clapId;
};

// The one plug-in of this library's identity; the effect defines it.
extern const IPluginIdentity& PluginIdentity();
