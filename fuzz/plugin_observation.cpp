#include "fuzz/PluginObservation.h"

#include "fuzz/FuzzHost.h"
#include "fuzz/PluginRest.h"
#include "vst2/EditorSnapshotExport.h"

#include <cstring>

namespace {
constexpr int TextBuffer = 256;

// Long enough to run as several sub-blocks at every block size the fuzzers announce.
constexpr int ProbeFrames = 1543;
// Its signal: a ramp over -1.5..1.5, so every clip level cuts some of it.
constexpr int RampSteps = 61;
constexpr double RampScale = 20.0;
constexpr int MidiNoteOn = 0x90;
constexpr int MidiNoteOff = 0x80;
constexpr int MidiControlChange = 0xB0;
constexpr int AmountController = 69;
constexpr int OtherController = 70;

std::vector<std::vector<double>> ProcessedBlock(FuzzHost& host, const std::vector<double>& signal) {
  std::vector<double> left(signal);
  std::vector<double> right(signal.size());
  for (size_t i = 0; i < signal.size(); ++i) {
    right[i] = -signal[i];
  }
  std::vector<std::vector<double>> out(2, std::vector<double>(signal.size()));
  double* inputs[2] = {left.data(), right.data()};
  double* outputs[2] = {out[0].data(), out[1].data()};
  host.effect->processDoubleReplacing(host.effect, inputs, outputs,
                                      static_cast<VstInt32>(signal.size()));
  return out;
}
} // namespace

PluginObservation PluginObservation::Of(FuzzHost& host) {
  PluginObservation observation;
  observation.NoteRecord(host);
  observation.NotePrograms(host);
  observation.NoteParameters(host, "");
  observation.NoteValues<int32_t>("the MIDI events waiting", {WaitingMidiEvents(host.effect)});
  observation.NoteEditorPicture(host);
  observation.NoteProbe(host);
  observation.NoteParameters(host, " after the probe");
  return observation;
}

void PluginObservation::NoteRecord(FuzzHost& host) {
  const AEffect* effect = host.effect;
  NoteValues<int64_t>("the effect record",
                      {effect->numPrograms, effect->numParams, effect->numInputs,
                       effect->numOutputs, effect->flags, effect->initialDelay, effect->uniqueID,
                       effect->version});
}

void PluginObservation::NotePrograms(FuzzHost& host) {
  NoteValues<int64_t>("the current program", {host.Dispatch(effGetProgram)});
  char name[TextBuffer] = {};
  host.Dispatch(effGetProgramName, 0, 0, name);
  NoteText("the current program's name", name);
  for (VstInt32 i = 0; i < host.effect->numPrograms; ++i) {
    std::memset(name, 0, sizeof(name));
    host.Dispatch(effGetProgramNameIndexed, i, 0, name);
    NoteText("program " + std::to_string(i) + "'s name", name);
  }
  NoteValues("the bank block", host.SaveChunk(false));
  NoteValues("the program block", host.SaveChunk(true));
}

void PluginObservation::NoteParameters(FuzzHost& host, const std::string& when) {
  NoteValues("the parameter values" + when, host.ParameterValues());
  for (VstInt32 i = 0; i < host.effect->numParams; ++i) {
    char display[TextBuffer] = {};
    host.Dispatch(effGetParamDisplay, i, 0, display);
    NoteText("parameter " + std::to_string(i) + "'s display" + when, display);
  }
}

// Events on both sides of the sub-block edges and before the block, among them the controller
// that moves the amount mid-block: the right channel takes the new amount from the start of the
// sub-block holding it, so the audio shows the block size too. What is still queued from earlier
// inputs comes out as well.
void PluginObservation::NoteProbe(FuzzHost& host) {
  host.ForgetEvents();
  host.SendEvents({FuzzHost::Midi(-1, MidiNoteOn, 60, 100), FuzzHost::Midi(3, MidiNoteOff, 60, 0),
                   FuzzHost::Midi(40, MidiControlChange, AmountController, 64),
                   FuzzHost::Midi(300, MidiControlChange, OtherController, 1),
                   FuzzHost::Midi(700, MidiControlChange, AmountController, 100),
                   FuzzHost::Midi(ProbeFrames - 1, MidiControlChange, AmountController, 127)});
  std::vector<double> signal(ProbeFrames);
  for (int i = 0; i < ProbeFrames; ++i) {
    signal[i] = (i % RampSteps - RampSteps / 2) / RampScale;
  }
  for (const std::vector<double>& channel : ProcessedBlock(host, signal)) {
    NoteValues("the probe block's audio", channel);
  }
  std::vector<int32_t> passedOn;
  for (const VstMidiEvent& event : host.passedOn) {
    passedOn.push_back(event.deltaFrames);
    for (const char byte : event.midiData) {
      passedOn.push_back(static_cast<uint8_t>(byte));
    }
  }
  NoteValues("the MIDI events the probe passed back", passedOn);
  host.ForgetEvents();
}

void PluginObservation::NoteEditorPicture(FuzzHost& host) {
  ERect* rect = nullptr;
  if (host.Dispatch(effEditGetRect, 0, 0, &rect) == 0 || !rect) {
    NoteText("the editor picture", "no editor");
    return;
  }
  const int width = rect->right - rect->left;
  const int height = rect->bottom - rect->top;
  std::vector<uint32_t> pixels(static_cast<size_t>(width > 0 ? width : 0) *
                               static_cast<size_t>(height > 0 ? height : 0));
  const int taken = OmbrixEditorSnapshot(host.effect, pixels.data(), width, height);
  NoteValues<int32_t>("the editor's size and whether it draws", {width, height, taken});
  NoteValues("the editor picture", pixels);
}
