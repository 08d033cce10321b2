#pragma once

#include "tools/render/ChannelPlan.h"
#include "tools/render/RenderOptions.h"
#include "tools/render/Report.h"

#include <cstdint>
#include <functional>
#include <string>

class AudioReader;
class AudioWriter;
class MidiSchedule;
class PluginHost;

struct RenderSettings {
  int blockFrames = 512;
  bool doublePrecision = false;
  double tempo = 120.0;
  bool playing = true;
  ChannelPlan channels;
  // Whether the plug-in's delay is dropped from the start of the output and rendered after the
  // input, and the most believed.
  bool compensateLatency = true;
  int64_t mostLatencyFrames = 0;
  TailMode tail = TailMode::None;
  // The tail's length; with TailMode::Auto the most it may take.
  int64_t tailFrames = 0;
  // With TailMode::Auto the tail ends once the output has stayed below kQuietLevel this long.
  int64_t quietFrames = 0;
};

// -90 dBFS: below it a tail counts as ended.
constexpr double kQuietLevel = 3.1622776601683795e-5;

struct RenderResult {
  LevelStats input;
  LevelStats output;
  int64_t inputFrames = 0;
  // Frames written, the tail's among them.
  int64_t frames = 0;
  int64_t tailFrames = 0;
  // An automatic tail reached its longest while the output was still above the quiet level.
  bool tailCut = false;
  // The delay the plug-in reported after its first block (some announce it only then), the
  // frames compensated, and the delay it reported last when that differs (-1 when not).
  int latencyReported = 0;
  int64_t latencyCompensated = 0;
  int latencyLater = -1;
};

// Runs the whole input, then silence for the latency and the tail, through the plug-in in blocks
// of the settings' size and writes what it returns after the latency (read once the first block
// is processed). Fed channel i feeds input
// i (the mean of all channels feeds input 0 when mixing down), other inputs get silence; output
// channel i is the plug-in's output i. The schedule's events reach the plug-in before the block
// they fall in. The plug-in must already be started at the file's rate. Stops with the reason
// "interrupted" when the user asks (InterruptRequested).
bool RenderAudio(PluginHost& host, AudioReader& reader, AudioWriter& writer, MidiSchedule& schedule,
                 const RenderSettings& settings, const std::function<void(double)>& progress,
                 RenderResult* result, std::string* error);
