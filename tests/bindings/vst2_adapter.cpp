// The VST 2 module loaded by file and driven through VSTPluginMain, as a host does.
#include "tests/bindings/BindingAdapter.h"
#include "tests/vst2/TestHost.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {
constexpr double UnscaledDotsPerInch = 96.0;
constexpr size_t MaxEventsPerBlock = 256;
constexpr double BeatsPerMinute = 120.0;

// The effect's parameter indices (the adapter's names are in another order).
VstInt32 IndexOf(OmbrixParameter parameter) {
  switch (parameter) {
  case OmbrixParameter::Amount:
    return 0;
  case OmbrixParameter::KelbaEnabled:
    return 1;
  case OmbrixParameter::Kelba:
    return 2;
  }
  return 0;
}

class Vst2Adapter : public BindingAdapter {
public:
  Vst2Adapter(double sampleRate, int blockFrames) {
    host.recording = TestHost::Recording::PassedOnMidi;
    host.Dispatch(effOpen);
    host.Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
    host.Dispatch(effSetBlockSize, 0, blockFrames);
    host.Dispatch(effMainsChanged, 0, 1);
    host.time.sampleRate = sampleRate;
    // The list is built in place before each block, so the audio path allocates nothing here.
    pending.reserve(MaxEventsPerBlock);
    listStorage.resize(sizeof(VstEvents) + MaxEventsPerBlock * sizeof(VstEvent*));
  }
  ~Vst2Adapter() override { host.Dispatch(effMainsChanged, 0, 0); }

  void QueueMidi(const MidiAt& message) override {
    pending.push_back(
        EffectHost::Midi(message.frame, message.status, message.data1, message.data2));
  }
  void StartTransport(double beat) override {
    host.time.ppqPos = beat;
    host.time.tempo = BeatsPerMinute;
    host.time.flags = kVstTransportPlaying | kVstPpqPosValid | kVstTempoValid;
    host.suppliesTime = true;
  }
  void Process(const std::vector<float>& left, const std::vector<float>& right,
               std::vector<float>& outLeft, std::vector<float>& outRight) override {
    if (!pending.empty()) {
      auto* list = reinterpret_cast<VstEvents*>(listStorage.data());
      list->numEvents = static_cast<VstInt32>(pending.size());
      VstEvent** entries = list->events;
      for (size_t i = 0; i < pending.size(); ++i) {
        entries[i] = reinterpret_cast<VstEvent*>(&pending[i]);
      }
      host.Dispatch(effProcessEvents, 0, 0, list);
      pending.clear();
    }
    float* in[2] = {const_cast<float*>(left.data()), const_cast<float*>(right.data())};
    float* out[2] = {outLeft.data(), outRight.data()};
    host.effect->processReplacing(host.effect, in, out, static_cast<VstInt32>(left.size()));
  }
  void KeepPassedBackMidi(bool keep) override {
    host.recording = keep ? TestHost::Recording::PassedOnMidi : TestHost::Recording::Nothing;
  }
  std::vector<MidiAt> TakePassedBackMidi() override {
    std::vector<MidiAt> passed;
    for (const VstMidiEvent& event : host.PassedOnEvents()) {
      const auto status = static_cast<uint8_t>(event.midiData[0]);
      passed.push_back({event.deltaFrames, status, static_cast<uint8_t>(event.midiData[1]),
                        static_cast<uint8_t>(MidiLength(status) == 3 ? event.midiData[2] : 0)});
    }
    host.calls.clear();
    return passed;
  }

  // As a host types the value: taken exactly, where a normalised float would round it.
  void SetParameter(OmbrixParameter parameter, double value) override {
    char text[64];
    std::snprintf(text, sizeof(text), "%.17g", value);
    host.Dispatch(effString2Parameter, IndexOf(parameter), 0, text);
  }
  void SelectProgram(int program) override { host.Dispatch(effSetProgram, 0, program); }
  std::vector<uint8_t> SaveState() override { return host.SaveChunk(false); }
  bool LoadState(const std::vector<uint8_t>& state) override {
    return host.LoadChunk(false, state) == 1;
  }
  bool RefusedStateChangesNothing() const override { return false; }

  bool OpenEditor(X11TestHost&, Window parent) override {
    return host.Dispatch(effEditOpen, 0, 0,
                         reinterpret_cast<void*>(static_cast<std::uintptr_t>(parent))) == 1;
  }
  void IdleEditor() override { host.Dispatch(effEditIdle); }
  void CloseEditor() override { host.Dispatch(effEditClose); }
  bool ScaleEditor(X11TestHost& x, Window parent, double scale) override {
    // No desktop sets a resolution that is not a positive number.
    if (!(scale > 0.0)) {
      return false;
    }
    x.SetDotsPerInch(static_cast<int>(std::lround(scale * UnscaledDotsPerInch)));
    CloseEditor();
    return OpenEditor(x, parent);
  }

private:
  TestHost host;
  std::vector<VstMidiEvent> pending;
  std::vector<char> listStorage;
};
} // namespace

std::unique_ptr<BindingAdapter> MakeVst2Adapter(double sampleRate, int blockFrames) {
  return std::make_unique<Vst2Adapter>(sampleRate, blockFrames);
}
