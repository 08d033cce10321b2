#pragma once

#include "host/clap/ClapHost.h"

// The built Ombrix.clap, loaded by file and initialised once for the whole test program, and its
// plug-in factory.
ClapModule& BuiltClapModule();
const clap_plugin_factory* BuiltClapFactory();

// The project's CLAP host on the built plug-in (unless a program that holds the plug-in itself
// gives its own factory), activated and processing.
class ClapTestHost : public ClapHost {
public:
  ClapTestHost(double sampleRate, uint32_t maxFrames,
               const clap_plugin_factory* factory = BuiltClapFactory())
      : ClapHost(factory) {
    Activate(sampleRate, maxFrames);
  }
};
