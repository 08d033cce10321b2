#pragma once

#include "vst2/VstAbi.h"

// Dispatcher opcodes and values a host sends around processing that the plug-in binding does
// not answer, so its record header leaves them out.
enum HostOnlyOpcodes : VstInt32 {
  effStartProcess = 71,
  effStopProcess = 72,
  effSetProcessPrecision = 77,
};

enum VstProcessPrecision : VstIntPtr {
  kVstProcessPrecision32 = 0,
  kVstProcessPrecision64 = 1,
};
