#include "tests/vst2/PluginModule.h"

#include <windows.h>

PluginModule::PluginModule(const char* path) : handle(LoadLibraryA(path)) {}

PluginModule::~PluginModule() {
  if (handle) {
    FreeLibrary(static_cast<HMODULE>(handle));
  }
}

VstPluginMainProc PluginModule::Entry(const char* name) const {
  return handle ? reinterpret_cast<VstPluginMainProc>(
                      GetProcAddress(static_cast<HMODULE>(handle), name))
                : nullptr;
}
