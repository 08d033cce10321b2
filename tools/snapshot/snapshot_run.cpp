#include "tools/snapshot/SnapshotRun.h"

#include "host/vst2/Vst2Plugin.h"
#include "plugin/MidiMessage.h"
#include "tools/png/PngWriter.h"
#include "tools/render/RenderTool.h"
#include "vst2/EditorSnapshotExport.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace {
constexpr int BlockFrames = 512;
constexpr double SampleRate = 44100.0;
constexpr double Tempo = 120.0;
constexpr double Pi = 3.14159265358979323846;
constexpr int ControllerAmount = 69;

// A 220 Hz tone on the left and the same at half the level on the right, the events given before
// the first block. With a beat, the transport stands at it for every block.
void ProcessTone(Vst2Plugin& host, const SnapshotOptions& options,
                 const std::vector<HostedEvent>& events) {
  std::vector<float> in[2] = {std::vector<float>(BlockFrames), std::vector<float>(BlockFrames)};
  std::vector<float> out[2] = {std::vector<float>(BlockFrames), std::vector<float>(BlockFrames)};
  float* inputs[2] = {in[0].data(), in[1].data()};
  float* outputs[2] = {out[0].data(), out[1].data()};
  const int64_t beatSample =
      static_cast<int64_t>(std::llround(options.beat * 60.0 / Tempo * SampleRate));
  long frame = 0;
  for (int block = 0; block < options.blocks; ++block) {
    for (int i = 0; i < BlockFrames; ++i, ++frame) {
      const double tone = options.amplitude * std::sin(2.0 * Pi * 220.0 * frame / SampleRate);
      in[0][i] = static_cast<float>(tone);
      in[1][i] = static_cast<float>(tone * 0.5);
    }
    if (options.hasBeat) {
      host.SetTransport(beatSample, Tempo, true);
    }
    host.Process(inputs, outputs, BlockFrames, block == 0 ? events.data() : nullptr,
                 block == 0 ? events.size() : 0);
  }
}
} // namespace

bool RunSnapshot(const SnapshotOptions& options, std::string* error) {
  const std::string path = options.plugin.empty() ? DefaultPluginPath() : options.plugin;
  std::unique_ptr<Vst2Plugin> host = Vst2Plugin::Load(path, error);
  if (!host) {
    return false;
  }
  const auto snapshot =
      reinterpret_cast<OmbrixEditorSnapshotProc>(host->LibrarySymbol(OmbrixEditorSnapshotName));
  int width = 0;
  int height = 0;
  if (!snapshot || !host->EditorSize(&width, &height)) {
    *error = path + " offers no editor picture (" + OmbrixEditorSnapshotName + ")";
    return false;
  }
  host->Start(SampleRate, BlockFrames, false, error);
  if (options.program >= 0) {
    host->SelectProgram(options.program);
  }
  for (const SnapshotOptions::ParameterValue& parameter : options.parameters) {
    host->SetNormalized(parameter.index, parameter.normalized);
  }
  std::vector<HostedEvent> events;
  if (options.controller69 >= 0) {
    HostedEvent event;
    event.midi[0] = Midi::Status(Midi::ControlChange, 0);
    event.midi[1] = ControllerAmount;
    event.midi[2] = static_cast<uint8_t>(options.controller69);
    events.push_back(event);
  }
  ProcessTone(*host, options, events);

  std::vector<std::uint32_t> pixels(static_cast<size_t>(width) * height);
  if (snapshot(host->EffectRecord(), pixels.data(), width, height) != 1) {
    *error = "the plug-in could not draw its editor";
    return false;
  }
  if (!WritePng(options.outputFile.c_str(), pixels.data(), width, height)) {
    *error = "cannot write " + options.outputFile;
    return false;
  }
  return true;
}
