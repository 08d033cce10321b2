#pragma once

#include "plugin/ByteBlock.h"

// One program: a name and the parameter values it restores.
struct IPresetSlot {
  bool defined = false;
  char name[256] = {};
  // The values in the layout of IAudioPlugin::SerializeParams, without a header.
  IByteBlock state;

  // Copies at most 255 characters.
  void SetName(const char* text);
};
