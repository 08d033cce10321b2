#pragma once

#include "tools/render/RenderOptions.h"
#include "tools/render/Report.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class AudioReader;
class AudioWriter;
class PluginHost;

struct RenderSettings {
  int blockFrames = 512;
  bool doublePrecision = false;
  double tempo = 120.0;
  bool playing = true;
  std::vector<ControllerPoint> controller69;
};

struct RenderResult {
  LevelStats input;
  LevelStats output;
  int64_t frames = 0;
};

// Runs the whole input through the plug-in in blocks of the settings' size and writes what it
// returns. A mono file feeds every plug-in input and takes the plug-in's first output; a stereo
// file feeds and takes the first two. Controller 69 points reach the plug-in as MIDI events at
// the frame nearest to their time. The plug-in must already be started at the file's rate.
bool RenderAudio(PluginHost& host, AudioReader& reader, AudioWriter& writer,
                 const RenderSettings& settings, const std::function<void(double)>& progress,
                 RenderResult* result, std::string* error);

// The frame a controller point lands on at this sample rate.
int64_t ControllerFrame(const ControllerPoint& point, int sampleRate);
