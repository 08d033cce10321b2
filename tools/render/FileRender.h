#pragma once

#include "tools/render/ChannelPlan.h"
#include "tools/render/RenderLoop.h"
#include "tools/render/RenderOptions.h"

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

class HostedPlugin;
struct MidiSong;

// The plug-ins of a render, in the order they process.
using PluginChain = std::vector<std::unique_ptr<HostedPlugin>>;

// What became of one input: everything the report says about it.
struct FileReport {
  std::string input;
  std::string output;
  bool ok = false;
  // Stopped by Ctrl-C; error says "interrupted".
  bool interrupted = false;
  std::string error;
  int sampleRate = 0;
  int inputFormat = 0;
  int outputFormat = 0;
  // The plug-in's name, or the chain's names joined by " -> ".
  std::string pluginName;
  std::string pluginPath;
  std::string pluginFormat;
  // Each plug-in of a chain as "name (format)".
  std::vector<std::string> chain;
  int program = 0;
  std::string programName;
  ChannelPlan channels;
  RenderResult result;
  int latencyReported = 0;
  int64_t latencyCompensated = 0;
  bool precisionAccepted = false;
  size_t eventsSent = 0;
  size_t eventsFromSong = 0;
  // Controller points by controller number, in the order first given.
  std::vector<std::pair<int, int>> controllerCounts;
  int eventsBack = 0;
  int automationCalls = 0;
  size_t automationChanges = 0;
  std::vector<std::string> warnings;
};

// Each plug-in of the chain with its settings applied (bank, program, program file, state file,
// parameters, in that order); false with the reason in error.
bool PrepareChain(const RenderOptions& options, PluginChain* chain, std::string* error);

// Renders input into output through the chain, or through fresh instances from PrepareChain when
// it is empty. The output appears only when everything succeeded. With snapshot, the editor's
// picture is written after rendering (--snapshot).
FileReport RenderFile(const RenderOptions& options, const std::string& input,
                      const std::string& output, PluginChain chain, const MidiSong* song,
                      bool snapshot, const std::function<void(double)>& progress);

// The report of a single render, several lines.
void WriteFullReport(const RenderOptions& options, const FileReport& report, std::ostream& out);
// The report of one file of several, one line.
std::string ReportLine(const FileReport& report);
// The report as one JSON object on one line.
std::string ReportJson(const RenderOptions& options, const FileReport& report);
