#include "tests/vst2/PluginModule.h"

#include <windows.h>

PluginModule::PluginModule(const char* path) : handle(LoadLibraryA(path)) {}

PluginModule::~PluginModule() {
  if (handle) {
    FreeLibrary(static_cast<HMODULE>(handle));
  }
}

VstPluginMainProc PluginModule::Entry(const char* name) const {
  if (!handle) {
    return nullptr;
  }
  // GetProcAddress hands every export back as one generic function type.
  FARPROC found = GetProcAddress(static_cast<HMODULE>(handle), name);
  return reinterpret_cast<VstPluginMainProc>(reinterpret_cast<void*>(found));
}
