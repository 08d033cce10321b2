#include "tests/vst3/Vst3TestHost.h"

namespace vst3host {
Module& BuiltModule() {
  static Module module(OMBRIX_VST3_MODULE);
  return module;
}
} // namespace vst3host
