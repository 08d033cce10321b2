#include "tests/platform/ResourceProbe.h"

#include <dlfcn.h>

ResourceFinder LoadResourceProbe() {
  void* module = dlopen(OMBRIX_RESOURCE_PROBE_PATH, RTLD_NOW | RTLD_LOCAL);
  if (!module) {
    return nullptr;
  }
  return reinterpret_cast<ResourceFinder>(dlsym(module, "ProbeFindModuleResource"));
}
