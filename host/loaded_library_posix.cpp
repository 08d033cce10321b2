#include "host/LoadedLibrary.h"

#include <cstring>
#include <dlfcn.h>

std::unique_ptr<LoadedLibrary> LoadedLibrary::Open(const std::string& path, std::string* error) {
  // A name without a slash would make dlopen search the system's library folders.
  const std::string explicitPath = path.find('/') == std::string::npos ? "./" + path : path;
  void* handle = dlopen(explicitPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* reason = dlerror();
    *error = reason ? reason : "unknown reason";
    return nullptr;
  }
  return std::unique_ptr<LoadedLibrary>(new LoadedLibrary(handle));
}

LoadedLibrary::~LoadedLibrary() {
  dlclose(handle);
}

void* LoadedLibrary::Symbol(const char* name) const {
  return dlsym(handle, name);
}

std::string SystemErrorText(unsigned long code) {
  return std::strerror(static_cast<int>(code));
}
