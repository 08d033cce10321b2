#include "tests/vst3/Vst3TestHost.h"

#include <windows.h>

namespace vst3host {
namespace {
using InitProc = bool (*)();
using FactoryProc = vst3::IPluginFactory*(VST3CALL*)();
} // namespace

Module::Module(const std::string& path) : handle(LoadLibraryA(path.c_str())) {
  if (!handle) {
    return;
  }
  auto init = reinterpret_cast<InitProc>(Symbol("InitDll"));
  auto getFactory = reinterpret_cast<FactoryProc>(Symbol("GetPluginFactory"));
  if (getFactory && (!init || init())) {
    factory = getFactory();
  }
}

Module::~Module() {
  if (factory) {
    factory->release();
    if (auto exit = reinterpret_cast<InitProc>(Symbol("ExitDll"))) {
      exit();
    }
  }
  if (handle) {
    FreeLibrary(static_cast<HMODULE>(handle));
  }
}

void* Module::Symbol(const char* name) const {
  return handle ? reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name))
                : nullptr;
}

Module& BuiltModule() {
  static Module module(OMBRIX_VST3_MODULE);
  return module;
}
} // namespace vst3host
