#include "tests/vst2/PluginModule.h"

#include <dlfcn.h>

PluginModule::PluginModule(const char* path) : handle(dlopen(path, RTLD_NOW | RTLD_LOCAL)) {}

PluginModule::~PluginModule() {
  if (handle) {
    dlclose(handle);
  }
}

VstPluginMainProc PluginModule::Entry(const char* name) const {
  return handle ? reinterpret_cast<VstPluginMainProc>(dlsym(handle, name)) : nullptr;
}
