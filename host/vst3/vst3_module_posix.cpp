#include "host/vst3/Vst3Host.h"

#include <dlfcn.h>

namespace vst3host {
namespace {
using EntryProc = bool (*)(void*);
using ExitProc = bool (*)();
using FactoryProc = vst3::IPluginFactory* (*)();
} // namespace

Module::Module(const std::string& path, std::string* error)
    : handle(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
  if (!handle) {
    const char* reason = dlerror();
    if (error) {
      *error = reason ? reason : "unknown reason";
    }
    return;
  }
  auto entry = reinterpret_cast<EntryProc>(Symbol("ModuleEntry"));
  auto getFactory = reinterpret_cast<FactoryProc>(Symbol("GetPluginFactory"));
  if (entry && getFactory && entry(handle)) {
    factory = getFactory();
  }
  if (!factory && error) {
    *error = "its module gives no factory (ModuleEntry and GetPluginFactory)";
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

const char* ArchitectureFolder() {
#if defined(__x86_64__)
  return "x86_64-linux";
#elif defined(__aarch64__)
  return "aarch64-linux";
#elif defined(__i386__)
  return "i386-linux";
#else
  return "unknown-linux";
#endif
}

const char* ModuleExtension() {
  return ".so";
}
} // namespace vst3host
