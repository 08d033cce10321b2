#pragma once

#include "vst2/VstAbi.h"

// The built plug-in library, loaded the way a host loads it: by file, with its entry points
// looked up by name.
class PluginModule {
public:
  explicit PluginModule(const char* path);
  ~PluginModule();
  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;

  bool Loaded() const { return handle != nullptr; }
  // The exported function of that name, or null.
  VstPluginMainProc Entry(const char* name) const;

private:
  void* handle = nullptr;
};

// The plug-in this build made, loaded once for the whole test program.
PluginModule& BuiltPlugin();
