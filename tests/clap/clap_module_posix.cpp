#include "tests/clap/ClapTestHost.h"

#include <dlfcn.h>

ClapModule::ClapModule(const char* path) : handle(dlopen(path, RTLD_NOW | RTLD_LOCAL)) {
  entry = handle ? static_cast<const clap_plugin_entry*>(dlsym(handle, "clap_entry")) : nullptr;
  initialised = entry && entry->init(path);
}

ClapModule::~ClapModule() {
  if (initialised) {
    entry->deinit();
  }
  if (handle) {
    dlclose(handle);
  }
}

ClapModule& BuiltClapModule() {
  static ClapModule module(OMBRIX_CLAP_FILE);
  return module;
}

const clap_plugin_factory* BuiltClapFactory() {
  return BuiltClapModule().FactoryOf<clap_plugin_factory>(Clap::PluginFactoryId);
}
