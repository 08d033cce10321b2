#include "host/LoadedLibrary.h"
#include "host/vst3/Vst3Host.h"

#include <windows.h>

namespace vst3host {
namespace {
using InitProc = bool (*)();
using FactoryProc = vst3::IPluginFactory*(VST3CALL*)();
} // namespace

Module::Module(const std::string& path, std::string* error) : handle(LoadLibraryA(path.c_str())) {
  if (!handle) {
    if (error) {
      *error = SystemErrorText(GetLastError());
    }
    return;
  }
  auto init = reinterpret_cast<InitProc>(Symbol("InitDll"));
  auto getFactory = reinterpret_cast<FactoryProc>(Symbol("GetPluginFactory"));
  if (getFactory && (!init || init())) {
    factory = getFactory();
  }
  if (!factory && error) {
    *error = "its module gives no factory (GetPluginFactory)";
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

const char* ArchitectureFolder() {
#if defined(_WIN64)
  return "x86_64-win";
#else
  return "x86-win";
#endif
}

const char* ModuleExtension() {
  return ".vst3";
}
} // namespace vst3host
