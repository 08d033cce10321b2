#pragma once

#include "tools/render/ChannelPlan.h"
#include "tools/render/RenderLoop.h"
#include "tools/render/RenderOptions.h"

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

class PluginHost;
struct MidiSong;

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
  std::string pluginName;
  std::string pluginPath;
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
  std::vector<std::string> warnings;
};

// A plug-in instance with the command line's settings applied (bank, program, program file,
// parameters, in that order); null with the reason in error.
std::unique_ptr<PluginHost> PreparePlugin(const RenderOptions& options, std::string* error);

// Renders input into output through host, or through a fresh instance from PreparePlugin when
// host is null. The output appears only when everything succeeded. With snapshot, the editor's
// picture is written after rendering (--snapshot).
FileReport RenderFile(const RenderOptions& options, const std::string& input,
                      const std::string& output, std::unique_ptr<PluginHost> host,
                      const MidiSong* song, bool snapshot,
                      const std::function<void(double)>& progress);

// The report of a single render, several lines.
void WriteFullReport(const RenderOptions& options, const FileReport& report, std::ostream& out);
// The report of one file of several, one line.
std::string ReportLine(const FileReport& report);
// The report as one JSON object on one line.
std::string ReportJson(const RenderOptions& options, const FileReport& report);
