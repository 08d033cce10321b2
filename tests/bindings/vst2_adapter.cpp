// The VST 2 module loaded by file and driven by the project's VST 2 host (host/vst2/), as a host
// drives it through VSTPluginMain.
#include "host/LoadedLibrary.h"
#include "host/vst2/Vst2Plugin.h"
#include "tests/bindings/BindingAdapter.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {
constexpr double UnscaledDotsPerInch = 96.0;
constexpr size_t MaxEventsPerBlock = 256;
constexpr double BeatsPerMinute = 120.0;
constexpr double SecondsPerMinute = 60.0;

// The effect's parameter indices (the adapter's names are in another order).
int IndexOf(OmbrixParameter parameter) {
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

// Held for the whole program, as a host keeps a library it uses: each instance would load it
// again otherwise, and decode the editor's pictures again.
void KeepModuleLoaded() {
  static std::string error;
  static const std::unique_ptr<LoadedLibrary> module =
      LoadedLibrary::Open(OMBRIX_PLUGIN_FILE, &error);
}

class Vst2Adapter : public BindingAdapter {
public:
  Vst2Adapter(double sampleRate, int blockFrames) : rate(sampleRate) {
    KeepModuleLoaded();
    std::string error;
    plugin = Vst2Plugin::Load(OMBRIX_PLUGIN_FILE, &error);
    EXPECT_TRUE(plugin) << error;
    plugin->KeepMidiPassedBack(true);
    plugin->Start(sampleRate, blockFrames, false, &error);
    // The list is filled in place before each block, so the audio path allocates nothing here.
    pending.reserve(MaxEventsPerBlock);
  }

  void QueueMidi(const MidiAt& message) override {
    HostedEvent event;
    event.frame = message.frame;
    event.midi[0] = message.status;
    event.midi[1] = message.data1;
    event.midi[2] = message.data2;
    pending.push_back(event);
  }
  void StartTransport(double beat) override {
    plugin->SetTransport(static_cast<int64_t>(beat * SecondsPerMinute / BeatsPerMinute * rate),
                         BeatsPerMinute, true);
  }
  void Process(const std::vector<float>& left, const std::vector<float>& right,
               std::vector<float>& outLeft, std::vector<float>& outRight) override {
    float* in[2] = {const_cast<float*>(left.data()), const_cast<float*>(right.data())};
    float* out[2] = {outLeft.data(), outRight.data()};
    plugin->Process(in, out, static_cast<int>(left.size()), pending.data(), pending.size());
    pending.clear();
  }
  void KeepPassedBackMidi(bool keep) override { plugin->KeepMidiPassedBack(keep); }
  std::vector<MidiAt> TakePassedBackMidi() override {
    std::vector<MidiAt> passed;
    for (const HostedEvent& event : plugin->TakeMidiPassedBack()) {
      const uint8_t status = event.midi[0];
      passed.push_back({event.frame, status, event.midi[1],
                        static_cast<uint8_t>(MidiLength(status) == 3 ? event.midi[2] : 0)});
    }
    return passed;
  }

  // As a host types the value: taken exactly, where a normalised float would round it.
  void SetParameter(OmbrixParameter parameter, double value) override {
    char text[64];
    std::snprintf(text, sizeof(text), "%.17g", value);
    plugin->SetFromText(IndexOf(parameter), text);
  }
  void SelectProgram(int program) override { plugin->SelectProgram(program); }
  std::vector<uint8_t> SaveState() override { return plugin->Chunk(false); }
  bool LoadState(const std::vector<uint8_t>& state) override {
    return plugin->SetChunk(false, state);
  }
  bool RefusedStateChangesNothing() const override { return false; }

#if OMBRIX_BINDING_X11_EDITOR
  bool OpenEditor(X11TestHost&, Window parent) override {
    return plugin->OpenEditor(reinterpret_cast<void*>(static_cast<std::uintptr_t>(parent)));
  }
  void IdleEditor() override {
    plugin->IdleEditor();
  }
  void CloseEditor() override {
    plugin->CloseEditor();
  }
  bool ScaleEditor(X11TestHost& x, Window parent, double scale) override {
    // No desktop sets a resolution that is not a positive number.
    if (!(scale > 0.0)) {
      return false;
    }
    x.SetDotsPerInch(static_cast<int>(std::lround(scale * UnscaledDotsPerInch)));
    CloseEditor();
    return OpenEditor(x, parent);
  }
#endif

private:
  double rate;
  std::unique_ptr<Vst2Plugin> plugin;
  std::vector<HostedEvent> pending;
};
} // namespace

std::unique_ptr<BindingAdapter> MakeVst2Adapter(double sampleRate, int blockFrames) {
  return std::make_unique<Vst2Adapter>(sampleRate, blockFrames);
}
