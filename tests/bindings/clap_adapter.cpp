// Ombrix.clap loaded by file and driven by the project's own CLAP host, with streams that move one
// byte at a time where a host may move few.
#include "tests/bindings/BindingAdapter.h"
#include "tests/clap/ClapTestHost.h"

#include <mutex>
#include <string>

namespace {
constexpr double BeatsPerMinute = 120.0;
constexpr size_t StateWriteChunk = 3;
constexpr size_t StateReadChunk = 1;

class ClapAdapter : public BindingAdapter {
public:
  ClapAdapter(double sampleRate, int blockFrames)
      : host(sampleRate, static_cast<uint32_t>(blockFrames)) {}

  void QueueMidi(const MidiAt& message) override {
    host.QueueMidi(static_cast<uint32_t>(message.frame), message.status, message.data1,
                   MidiLength(message.status) == 3 ? message.data2 : 0);
  }
  void StartTransport(double beat) override { host.Play(beat, BeatsPerMinute); }
  void Process(const std::vector<float>& left, const std::vector<float>& right,
               std::vector<float>& outLeft, std::vector<float>& outRight) override {
    std::lock_guard<std::mutex> guard(hostLock);
    float* in[2] = {const_cast<float*>(left.data()), const_cast<float*>(right.data())};
    float* out[2] = {outLeft.data(), outRight.data()};
    host.Process(in, out, static_cast<uint32_t>(left.size()));
  }
  void KeepPassedBackMidi(bool keep) override { host.KeepOutput(keep); }
  std::vector<MidiAt> TakePassedBackMidi() override {
    std::vector<MidiAt> passed;
    for (const ClapOutEvent& event : host.TakeOutput()) {
      if (event.type == Clap::EventMidi) {
        passed.push_back(
            {static_cast<int>(event.time), event.bytes[0], event.bytes[1], event.bytes[2]});
      }
    }
    return passed;
  }

  // As a host's automation: a value event in the next block, by the index VST 2 gives it.
  void SetParameter(OmbrixParameter parameter, double value) override {
    host.QueueParamValue(0, static_cast<clap_id>(parameter), value);
  }
  void SelectProgram(int program) override {
    const auto* presets = host.PluginExtension<clap_plugin_preset_load>(Clap::PresetLoadId);
    presets->from_location(host.Plugin(), Clap::PresetLocationPlugin, nullptr,
                           std::to_string(program).c_str());
  }
  std::vector<uint8_t> SaveState() override { return host.SaveState(StateWriteChunk); }
  bool LoadState(const std::vector<uint8_t>& state) override {
    std::lock_guard<std::mutex> guard(hostLock);
    return host.LoadState(state, StateReadChunk);
  }
  bool RefusedStateChangesNothing() const override { return true; }

#if OMBRIX_BINDING_X11_EDITOR
  bool OpenEditor(X11TestHost&, Window parent) override {
    return host.OpenEditor(parent);
  }
  void IdleEditor() override {
    host.IdleEditor();
  }
  void CloseEditor() override {
    host.CloseEditor();
  }
  bool ScaleEditor(X11TestHost&, Window, double scale) override {
    const auto* gui = host.PluginExtension<clap_plugin_gui>(Clap::GuiId);
    return gui && gui->set_scale(host.Plugin(), scale);
  }
#endif

private:
  ClapTestHost host;
  std::mutex hostLock;
};
} // namespace

std::unique_ptr<BindingAdapter> MakeClapAdapter(double sampleRate, int blockFrames) {
  return std::make_unique<ClapAdapter>(sampleRate, blockFrames);
}
