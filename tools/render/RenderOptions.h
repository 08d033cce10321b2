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

// A MIDI controller change reaching the plug-in at a point in time.
struct ControllerPoint {
  int controller = 69;
  double seconds = 0.0;
  int value = 0;
};

enum class TailMode { None, Seconds, Auto };

enum class ReportFormat { Text, Json };

// One plug-in of the chain with the options that follow its --plugin (those before the first
// --plugin are the first plug-in's).
struct PluginOptions {
  // Empty: the Ombrix build beside the program.
  std::string plugin;
  std::string program;
  std::vector<ParameterSetting> parameters;
  std::string automation;
  std::string loadState;
  std::string saveState;
  std::string loadFxp;
  std::string saveFxp;
  std::string loadFxb;
  std::string saveFxb;
};

struct RenderOptions {
  // One INPUT and OUTPUT, or with outputDir any number of inputs.
  std::vector<std::string> inputs;
  std::string output;
  std::string outputDir;
  // The plug-ins in the order they process; never empty.
  std::vector<PluginOptions> chain = std::vector<PluginOptions>(1);
  // With linear automation, a change every this many frames.
  int automationResolution = 32;
  // A plug-in that takes longer for one block (or to start) is taken for hung.
  double hangSeconds = 60.0;
  // Set by the program itself, not by options: the render is watched for crashes and hangs
  // (RenderWatch), and a folder render runs each file in a process of its own started as
  // `isolatedProgram` with `childArguments`, which prints the one-line report of a folder.
  bool watched = false;
  std::string isolatedProgram;
  std::vector<std::string> childArguments;
  bool folderEntry = false;
  std::vector<ControllerPoint> controllers;
  // The MIDI channel (1 to 16) of the --cc events.
  int channel = 1;
  std::string midiFile;
  TailMode tail = TailMode::None;
  double tailSeconds = 0.0;
  bool latencyCompensation = true;
  bool mixDown = false;
  // 0: as many as the file (or two for a plug-in turning one input into two outputs).
  int outChannels = 0;
  // 0: one per processor.
  int jobs = 0;
  ReportFormat report = ReportFormat::Text;
  double tempo = 120.0;
  bool transportStopped = false;
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
