#include "vst2/PluginEntry.h"

// Older hosts look the entry point up as "main". C++ cannot define a function of that name, so
// the assembler label gives this one the symbol; Windows exports it through the module
// definition file instead.
AEffect* EntryPointAlias(audioMasterCallback hostCallback) __asm__("main");

AEffect* EntryPointAlias(audioMasterCallback hostCallback) {
  return VSTPluginMain(hostCallback);
}
