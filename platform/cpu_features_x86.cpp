// The x86 probe: the processor's own answer, read once when the library loads.
#include "platform/CpuFeatures.h"

namespace {
const bool processorHasAvx2 = [] {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") != 0;
}();
} // namespace

bool ProcessorHasAvx2() {
  return processorHasAvx2;
}
