#include "tools/snapshot/SnapshotRun.h"

#include "plugin/MidiMessage.h"
#include "tools/png/PngWriter.h"
#include "tools/render/PluginHost.h"
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

// A 220 Hz tone on the left and the same at half the level on the right. With a beat, the
// transport stands at it for every block.
void ProcessTone(PluginHost& host, const SnapshotOptions& options) {
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
    host.ProcessFloat(inputs, outputs, BlockFrames);
  }
}
} // namespace

bool RunSnapshot(const SnapshotOptions& options, std::string* error) {
  const std::string path = options.plugin.empty() ? DefaultPluginPath() : options.plugin;
  std::unique_ptr<PluginHost> host = PluginHost::Load(path, error);
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
  host->Start(SampleRate, BlockFrames, false);
  if (options.program >= 0) {
    host->SelectProgram(options.program);
  }
  for (const SnapshotOptions::ParameterValue& parameter : options.parameters) {
    host->SetNormalized(parameter.index, parameter.normalized);
  }
  if (options.controller69 >= 0) {
    VstMidiEvent event = {};
    event.type = kVstMidiType;
    event.byteSize = sizeof(event);
    event.midiData[0] = static_cast<char>(Midi::Status(Midi::ControlChange, 0));
    event.midiData[1] = ControllerAmount;
    event.midiData[2] = static_cast<char>(options.controller69);
    VstEvents events = {};
    events.numEvents = 1;
    events.events[0] = reinterpret_cast<VstEvent*>(&event);
    host->SendEvents(&events);
  }
  ProcessTone(*host, options);

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
