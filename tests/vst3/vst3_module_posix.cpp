#include "tests/vst3/Vst3TestHost.h"

#include <dlfcn.h>

namespace vst3host {
namespace {
using EntryProc = bool (*)(void*);
using ExitProc = bool (*)();
using FactoryProc = vst3::IPluginFactory* (*)();
} // namespace

Module::Module(const std::string& path) : handle(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
  if (!handle) {
    return;
  }
  auto entry = reinterpret_cast<EntryProc>(Symbol("ModuleEntry"));
  auto getFactory = reinterpret_cast<FactoryProc>(Symbol("GetPluginFactory"));
  if (entry && getFactory && entry(handle)) {
    factory = getFactory();
  }
}

Module::~Module() {
  if (factory) {
    factory->release();
    if (auto exit = reinterpret_cast<ExitProc>(Symbol("ModuleExit"))) {
      exit();
    }
  }
  if (handle) {
    dlclose(handle);
  }
}

void* Module::Symbol(const char* name) const {
  return handle ? dlsym(handle, name) : nullptr;
}

Module& BuiltModule() {
  static Module module(OMBRIX_VST3_MODULE);
  return module;
}
} // namespace vst3host
