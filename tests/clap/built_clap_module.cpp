#include "tests/clap/ClapTestHost.h"

#include <stdexcept>

ClapModule& BuiltClapModule() {
  static const std::unique_ptr<ClapModule> module = [] {
    std::string error;
    std::unique_ptr<ClapModule> opened = ClapModule::Open(OMBRIX_CLAP_FILE, &error);
    if (!opened) {
      throw std::runtime_error("cannot load " OMBRIX_CLAP_FILE ": " + error);
    }
    return opened;
  }();
  return *module;
}

const clap_plugin_factory* BuiltClapFactory() {
  return BuiltClapModule().FactoryOf<clap_plugin_factory>(Clap::PluginFactoryId);
}
