// The probe of every processor other than x86: AVX2 is an x86 extension, so none has it, and the
// code that asks takes its plain loops.
#include "platform/CpuFeatures.h"

bool ProcessorHasAvx2() {
  return false;
}
