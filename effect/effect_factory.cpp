#include "effect/Ombrix.h"
#include "vst2/PluginEntry.h"

// The host owns the object through its effect record until it sends effClose.
IVst2Plugin* CreateEffect(audioMasterCallback hostCallback) {
  return new Ombrix(hostCallback);
}
