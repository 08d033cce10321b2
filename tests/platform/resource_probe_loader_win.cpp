#include "tests/platform/ResourceProbe.h"

#include <windows.h>

ResourceFinder LoadResourceProbe() {
  // Beside the test program, where the loader looks first.
  HMODULE module = LoadLibraryA(OMBRIX_RESOURCE_PROBE_NAME);
  if (!module) {
    return nullptr;
  }
  return reinterpret_cast<ResourceFinder>(
      reinterpret_cast<void*>(GetProcAddress(module, "ProbeFindModuleResource")));
}
