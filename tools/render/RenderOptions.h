#pragma once

#include <string>
#include <vector>

// What one run of ombrix-render is asked to do, as read from its command line.

// A parameter named by its text or its index, with the value as typed.
struct ParameterSetting {
  std::string parameter;
  std::string value;
  bool normalized = false;
};

// Controller 69 reaching the plug-in at a point in time.
struct ControllerPoint {
  double seconds = 0.0;
  int value = 0;
};

struct RenderOptions {
  std::string input;
  std::string output;
  std::string plugin;
  std::string program;
  std::vector<ParameterSetting> parameters;
  std::vector<ControllerPoint> controller69;
  double tempo = 120.0;
  bool transportStopped = false;
  std::string loadFxp;
  std::string saveFxp;
  std::string loadFxb;
  std::string saveFxb;
  std::string snapshot;
  std::string encoding;
  int blockFrames = 512;
  bool doublePrecision = false;
  bool list = false;
  bool quiet = false;
  bool help = false;
  // Test-signal mode: writes the named signal to output instead of rendering.
  std::string generate;
  double generateSeconds = 4.0;
  int generateRate = 44100;
  int generateChannels = 2;
};

// Reads the arguments after the program name. False with a one-line reason in error.
bool ParseRenderOptions(const std::vector<std::string>& arguments, RenderOptions* options,
                        std::string* error);

// The --help text.
const char* RenderUsage();
