#include "vst2/PluginEntry.h"

extern "C" AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback hostCallback) {
  return CreateVstEffect(hostCallback);
}
