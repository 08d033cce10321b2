// The LV2 bundle loaded through lilv and its UI through the X11 UI descriptor, as jalv and
// Ardour load them.
// Before the X headers, whose macros (Bool) would break the atom forge.
#include "tests/lv2/Lv2UiHost.h"

#include "tests/bindings/BindingAdapter.h"

#include <lv2/atom/atom.h>
#include <lv2/core/lv2_util.h>
#include <lv2/options/options.h>
#include <lv2/state/state.h>

#include <cmath>
#include <mutex>
#include <string>
#include <utility>

namespace {
constexpr int FactoryPrograms = 5;
constexpr double BeatsPerBar = 4.0;
constexpr int BeatUnit = 4;
constexpr double BeatsPerMinute = 120.0;
constexpr double Playing = 1.0;
constexpr uint32_t PortableValue = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;

const char* const ParameterSymbols[] = {"amount_of_distortion", "kelba", "kelba_enabled"};

using PortValues = std::vector<std::pair<std::string, float>>;

// The factory programs are the bundle's presets: port values a host applies from presets.ttl.
const std::vector<PortValues>& FactoryPresets() {
  static const std::vector<PortValues> presets = [] {
    TestWorld& host = TestWorld::Get();
    std::vector<PortValues> loaded(FactoryPrograms);
    for (int program = 0; program < FactoryPrograms; ++program) {
      const std::string uri = OMBRIX_LV2_URI "#program-" + std::to_string(program + 1);
      LilvNode* node = host.NewUri(uri.c_str());
      lilv_world_load_resource(host.World(), node);
      LilvState* state = lilv_state_new_from_world(host.World(), host.Uris().MapFeature(), node);
      if (state) {
        lilv_state_emit_port_values(
            state,
            [](const char* symbol, void* user, const void* value, uint32_t size, uint32_t) {
              if (size == sizeof(float)) {
                static_cast<PortValues*>(user)->emplace_back(symbol,
                                                             *static_cast<const float*>(value));
              }
            },
            &loaded[static_cast<size_t>(program)]);
        lilv_state_free(state);
      }
      lilv_node_free(node);
    }
    return loaded;
  }();
  return presets;
}

LV2_URID BankKey() {
  return TestWorld::Get().Uris().Map(OMBRIX_LV2_URI "#bank");
}

LV2_State_Status KeepBank(LV2_State_Handle handle, uint32_t key, const void* value, size_t size,
                          uint32_t, uint32_t) {
  if (key == BankKey()) {
    const auto* bytes = static_cast<const uint8_t*>(value);
    static_cast<std::vector<uint8_t>*>(handle)->assign(bytes, bytes + size);
  }
  return LV2_STATE_SUCCESS;
}

// The bank as the only property a host kept; the current program is left to the bank.
const void* GiveBank(LV2_State_Handle handle, uint32_t key, size_t* size, uint32_t* type,
                     uint32_t* flags) {
  static const uint8_t nothing = 0;
  if (key != BankKey()) {
    return nullptr;
  }
  const auto* bank = static_cast<const std::vector<uint8_t>*>(handle);
  *size = bank->size();
  *type = TestWorld::Get().Uris().Map(LV2_ATOM__Chunk);
  *flags = PortableValue;
  return bank->empty() ? &nothing : bank->data();
}

class Lv2Adapter : public BindingAdapter {
public:
  Lv2Adapter(double sampleRate, int blockFrames) : instance(blockFrames, true, sampleRate) {
    FactoryPresets();
    const auto* extension = lilv_instance_get_extension_data(instance.Lilv(), LV2_STATE__interface);
    state = static_cast<const LV2_State_Interface*>(extension);
  }

  void QueueMidi(const MidiAt& message) override {
    std::vector<uint8_t> bytes = {message.status, message.data1, message.data2};
    bytes.resize(static_cast<size_t>(MidiLength(message.status)));
    instance.AddMidi(message.frame, std::move(bytes));
  }
  void StartTransport(double beat) override {
    const double bar = std::floor(beat / BeatsPerBar);
    instance.AddPosition(0, bar, beat - bar * BeatsPerBar, BeatsPerBar, BeatUnit, BeatsPerMinute,
                         Playing, 0);
  }
  void Process(const std::vector<float>& left, const std::vector<float>& right,
               std::vector<float>& outLeft, std::vector<float>& outRight) override {
    std::lock_guard<std::mutex> guard(hostLock);
    instance.Run(left, right);
    std::copy_n(instance.Out(0).begin(), outLeft.size(), outLeft.begin());
    std::copy_n(instance.Out(1).begin(), outRight.size(), outRight.begin());
    if (keepPassedBack) {
      for (const PassedEvent& event : instance.PassedOn()) {
        MidiAt message;
        message.frame = static_cast<int>(event.frame);
        uint8_t* fields[] = {&message.status, &message.data1, &message.data2};
        for (size_t i = 0; i < event.bytes.size() && i < 3; ++i) {
          *fields[i] = event.bytes[i];
        }
        passedBack.push_back(message);
      }
    }
  }
  void KeepPassedBackMidi(bool keep) override { keepPassedBack = keep; }
  std::vector<MidiAt> TakePassedBackMidi() override { return std::move(passedBack); }

  // Port writes and state restores wait for the run to end, as hosts keep them off run().
  void SetParameter(OmbrixParameter parameter, double value) override {
    std::lock_guard<std::mutex> guard(hostLock);
    instance.SetControl(ParameterSymbols[static_cast<int>(parameter)], static_cast<float>(value));
  }
  void SelectProgram(int program) override {
    std::lock_guard<std::mutex> guard(hostLock);
    for (const auto& [symbol, value] : FactoryPresets().at(static_cast<size_t>(program))) {
      instance.SetControl(symbol.c_str(), value);
    }
  }
  // Saving may run beside run(), as LV2 allows.
  std::vector<uint8_t> SaveState() override {
    std::vector<uint8_t> bank;
    state->save(lilv_instance_get_handle(instance.Lilv()), KeepBank, &bank, 0, instance.Features());
    return bank;
  }
  bool LoadState(const std::vector<uint8_t>& bank) override {
    std::lock_guard<std::mutex> guard(hostLock);
    return state->restore(lilv_instance_get_handle(instance.Lilv()), GiveBank,
                          const_cast<std::vector<uint8_t>*>(&bank), 0,
                          instance.Features()) == LV2_STATE_SUCCESS;
  }
  bool RefusedStateChangesNothing() const override { return true; }

  bool OpenEditor(X11TestHost& x, Window parent) override {
    ui = std::make_unique<OpenUi>(x, instance, true, true, parent);
    return ui->Opened();
  }
  void IdleEditor() override { ui->Idle(); }
  void CloseEditor() override { ui.reset(); }
  bool ScaleEditor(X11TestHost&, Window, double scale) override {
    const auto* options = static_cast<const LV2_Options_Interface*>(
        ui->Descriptor()->extension_data(LV2_OPTIONS__interface));
    const auto* map =
        static_cast<const LV2_URID_Map*>(lv2_features_data(instance.Features(), LV2_URID__map));
    if (!options || !map) {
      return false;
    }
    const float factor = static_cast<float>(scale);
    const LV2_Options_Option set[] = {{LV2_OPTIONS_INSTANCE, 0,
                                       map->map(map->handle, LV2_UI__scaleFactor), sizeof(factor),
                                       map->map(map->handle, LV2_ATOM__Float), &factor},
                                      {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr}};
    return options->set(ui->Handle(), set) == LV2_OPTIONS_SUCCESS;
  }

private:
  TestInstance instance;
  const LV2_State_Interface* state = nullptr;
  std::mutex hostLock;
  bool keepPassedBack = true;
  std::vector<MidiAt> passedBack;
  std::unique_ptr<OpenUi> ui;
};
} // namespace

std::unique_ptr<BindingAdapter> MakeLv2Adapter(double sampleRate, int blockFrames) {
  return std::make_unique<Lv2Adapter>(sampleRate, blockFrames);
}
