#include "tools/snapshot/SnapshotRun.h"

#include "editor/Editor.h"
#include "effect/EditorSnapshot.h"
#include "tools/png/PngWriter.h"
#include "vst2/IVst2Plugin.h"
#include "vst2/PluginEntry.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace {
constexpr int BlockFrames = 512;
constexpr double SampleRate = 44100.0;
constexpr double Pi = 3.14159265358979323846;

VstTimeInfo hostTime = {};
bool hostHasTime = false;

VstIntPtr VSTCALLBACK SnapshotHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  switch (opcode) {
  case audioMasterVersion:
    return 2400;
  case audioMasterGetTime:
    return hostHasTime ? reinterpret_cast<VstIntPtr>(&hostTime) : 0;
  case audioMasterProcessEvents:
    return 1;
  default:
    return 0;
  }
}

void SendController69(AEffect* effect, int value) {
  VstMidiEvent event;
  std::memset(&event, 0, sizeof(event));
  event.type = kVstMidiType;
  event.byteSize = sizeof(event);
  event.midiData[0] = static_cast<char>(0xB0);
  event.midiData[1] = 69;
  event.midiData[2] = static_cast<char>(value);
  VstEvents list = {};
  list.numEvents = 1;
  list.events[0] = reinterpret_cast<VstEvent*>(&event);
  effect->dispatcher(effect, effProcessEvents, 0, 0, &list, 0.0f);
}

// A 220 Hz tone on the left and the same at half the level on the right.
void ProcessTone(AEffect* effect, double amplitude, int blocks) {
  std::vector<float> in[2] = {std::vector<float>(BlockFrames), std::vector<float>(BlockFrames)};
  std::vector<float> out[2] = {std::vector<float>(BlockFrames), std::vector<float>(BlockFrames)};
  float* inputs[2] = {in[0].data(), in[1].data()};
  float* outputs[2] = {out[0].data(), out[1].data()};
  long frame = 0;
  for (int block = 0; block < blocks; ++block) {
    for (int i = 0; i < BlockFrames; ++i, ++frame) {
      const double tone = amplitude * std::sin(2.0 * Pi * 220.0 * frame / SampleRate);
      in[0][i] = static_cast<float>(tone);
      in[1][i] = static_cast<float>(tone * 0.5);
    }
    effect->processReplacing(effect, inputs, outputs, BlockFrames);
    hostTime.samplePos += BlockFrames;
  }
}
} // namespace

bool RunSnapshot(const SnapshotOptions& options, std::string* error) {
  hostHasTime = options.hasBeat;
  hostTime.sampleRate = SampleRate;
  hostTime.tempo = 120.0;
  hostTime.ppqPos = options.beat;
  hostTime.timeSigNumerator = 4;
  hostTime.timeSigDenominator = 4;
  hostTime.flags = kVstTransportPlaying | kVstPpqPosValid | kVstTempoValid;

  AEffect* effect = VSTPluginMain(SnapshotHost);
  if (!effect) {
    *error = "the plug-in could not be created";
    return false;
  }
  effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
  effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, static_cast<float>(SampleRate));
  effect->dispatcher(effect, effSetBlockSize, 0, BlockFrames, nullptr, 0.0f);
  effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
  if (options.program >= 0) {
    effect->dispatcher(effect, effSetProgram, 0, options.program, nullptr, 0.0f);
  }
  for (const SnapshotOptions::ParameterValue& parameter : options.parameters) {
    effect->setParameter(effect, parameter.index, parameter.normalized);
  }
  if (options.controller69 >= 0) {
    SendController69(effect, options.controller69);
  }
  ProcessTone(effect, options.amplitude, options.blocks);

  ERect* rect = nullptr;
  effect->dispatcher(effect, effEditGetRect, 0, 0, &rect, 0.0f);
  const int width = rect ? rect->right - rect->left : 0;
  const int height = rect ? rect->bottom - rect->top : 0;
  std::vector<std::uint32_t> pixels(static_cast<size_t>(width) * height);
  IEditor* editor = dynamic_cast<IEditor*>(IVst2Plugin::FromEffect(effect)->Editor());
  bool drawn = editor && OmbrixEditorSnapshot(effect, pixels.data(), width, height) == 1;
  // Each click goes through the editor's input as the window delivers it, with a redraw between
  // them as the window's tick would make.
  for (const SnapshotOptions::Point& click : options.clicks) {
    if (!drawn) {
      break;
    }
    IMouseKeys keys;
    keys.left = true;
    editor->DispatchPress(click.x, click.y, keys);
    editor->DispatchRelease(click.x, click.y, keys);
    drawn = OmbrixEditorSnapshot(effect, pixels.data(), width, height) == 1;
  }
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  if (!drawn) {
    *error = "the plug-in has no editor to draw";
    return false;
  }
  if (!WritePng(options.outputFile.c_str(), pixels.data(), width, height)) {
    *error = "cannot write " + options.outputFile;
    return false;
  }
  return true;
}
