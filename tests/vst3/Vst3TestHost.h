#pragma once

#include "host/vst3/Vst3Host.h"

namespace vst3host {
// The bundle this build made, loaded once for the whole program.
Module& BuiltModule();

// The built plug-in set up for processing at the rate and block size given, as a host runs it.
class Instance : public PluginInstance {
public:
  Instance(double sampleRate, int blockFrames, vst3::int32 sampleSize = vst3::kSample32)
      : PluginInstance(BuiltModule().Factory()) {
    Setup(sampleRate, blockFrames, sampleSize);
  }
};
} // namespace vst3host
