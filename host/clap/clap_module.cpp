#include "host/LoadedLibrary.h"
#include "host/clap/ClapHost.h"

std::unique_ptr<ClapModule> ClapModule::Open(const std::string& path, std::string* error) {
  std::unique_ptr<ClapModule> module(new ClapModule());
  module->library = LoadedLibrary::Open(path, error);
  if (!module->library) {
    return nullptr;
  }
  const auto* entry = static_cast<const clap_plugin_entry*>(module->library->Symbol("clap_entry"));
  if (!entry) {
    *error = "it exports no clap_entry";
    return nullptr;
  }
  if (!entry->init || !entry->deinit || !entry->get_factory || !entry->init(path.c_str())) {
    *error = "its clap_entry did not initialise";
    return nullptr;
  }
  module->entry = entry;
  return module;
}

ClapModule::~ClapModule() {
  if (entry) {
    entry->deinit();
  }
}
