#pragma once

#include "tools/render/ChannelPlan.h"
#include "tools/render/RenderOptions.h"
#include "tools/render/Report.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class AudioReader;
class AudioWriter;
class AutomationSchedule;
class HostedPlugin;
class MidiSchedule;

// One plug-in of the chain: how the channels before it meet it, and its parameter automation
// (none when null).
struct RenderStage {
  HostedPlugin* plugin = nullptr;
  ChannelPlan channels;
  AutomationSchedule* automation = nullptr;
};

struct RenderSettings {
  int blockFrames = 512;
  bool doublePrecision = false;
  double tempo = 120.0;
  bool playing = true;
  // Whether the chain's delay is dropped from the start of the output and rendered after the
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
  // The delay the chain reported after its first block (some plug-ins announce it only then),
  // the frames compensated, and the delay it reported last when that differs (-1 when not).
  int latencyReported = 0;
  int64_t latencyCompensated = 0;
  int latencyLater = -1;
};

// Runs the whole input, then silence for the latency and the tail, through the plug-ins in
// series in blocks of the settings' size and writes what the last returns after the latency
// (read once the first block is processed, summed over the chain). Each stage's plan says how
// the channels before it feed it: fed channel i feeds input i (the mean of all channels feeds
// input 0 when mixing down), other inputs get silence; output channel i is the plug-in's output i.
// The schedule's MIDI reaches every plug-in, each stage's automation its own, with the block
// they fall in at their frames; where a format takes parameter changes only between blocks, the
// block is split at them. The plug-ins must already be started at the file's rate. Stops with the
// reason "interrupted" when the user asks (InterruptRequested), or with the plug-in's name when
// it writes samples that are not numbers.
bool RenderAudio(std::vector<RenderStage>& stages, AudioReader& reader, AudioWriter& writer,
                 MidiSchedule& schedule, const RenderSettings& settings,
                 const std::function<void(double)>& progress, RenderResult* result,
                 std::string* error);
