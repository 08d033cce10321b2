#include "tests/clap/ClapTestHost.h"

#include <windows.h>

ClapModule::ClapModule(const char* path) : handle(LoadLibraryA(path)) {
  if (handle) {
    FARPROC symbol = GetProcAddress(static_cast<HMODULE>(handle), "clap_entry");
    entry = reinterpret_cast<const clap_plugin_entry*>(reinterpret_cast<void*>(symbol));
  }
  initialised = entry && entry->init(path);
}

ClapModule::~ClapModule() {
  if (initialised) {
    entry->deinit();
  }
  if (handle) {
    FreeLibrary(static_cast<HMODULE>(handle));
  }
}

ClapModule& BuiltClapModule() {
  static ClapModule module(OMBRIX_CLAP_FILE);
  return module;
}

const clap_plugin_factory* BuiltClapFactory() {
  return BuiltClapModule().FactoryOf<clap_plugin_factory>(Clap::PluginFactoryId);
}
