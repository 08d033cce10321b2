#pragma once

#include "host/HostedPlugin.h"
#include "host/lv2/Lv2Host.h"

#include <memory>
#include <string>
#include <vector>

// An LV2 plug-in behind the format-neutral interface, found through lilv among the installed
// plug-ins (LV2_PATH) or in a bundle given by path: control input ports are its parameters
// (normalised over their ranges, scale points as texts), its presets are its programs, its state
// is lilv's description of ports and properties. LV2 changes controls between runs only, so the
// caller splits blocks at parameter changes.
class Lv2Plugin final : public HostedPlugin {
public:
  // A bundle folder (its first plug-in) or a plug-in URI; null with a one-line reason in error.
  static std::unique_ptr<Lv2Plugin> Load(const std::string& bundleOrUri, std::string* error);
  ~Lv2Plugin() override;

  PluginFormat Format() const override { return PluginFormat::Lv2; }
  const std::string& Location() const override { return location; }
  std::string Name() override;
  std::string Vendor() override;
  std::vector<std::string> Buses() override;
  int InputChannels() const override;
  int OutputChannels() const override;
  bool ProcessesDouble() const override { return false; }
  bool ParametersAtFrames() const override { return false; }

  int ParameterCount() override { return static_cast<int>(controls.size()); }
  std::string ParameterName(int index) override;
  std::string ParameterUnit(int index) override;
  std::string ParameterDisplay(int index) override;
  std::string DisplayAt(int index, double normalized) override;
  double Normalized(int index) override;
  void SetNormalized(int index, double normalized) override;
  bool TakesText(int) override { return true; }
  bool TextToNormalized(int index, const std::string& text, double* normalized) override;

  int ProgramCount() override { return static_cast<int>(presets.size()); }
  std::string ProgramName(int index) override;
  int CurrentProgram() override { return currentPreset; }
  bool SelectProgram(int index) override;

  std::vector<uint8_t> SaveState() override;
  bool LoadState(const std::vector<uint8_t>& bytes) override;

  bool Start(double sampleRate, int maxBlockFrames, bool doublePrecision,
             std::string* error) override;
  void Stop() override {}
  void SetTransport(int64_t samplePosition, double tempo, bool playing) override;
  void Process(float* const* inputs, float* const* outputs, int frames, const HostedEvent* events,
               size_t eventCount) override;
  void Process(double* const* inputs, double* const* outputs, int frames, const HostedEvent* events,
               size_t eventCount) override;
  int Latency() override;
  int MidiEventsReceived() const override { return instance->MidiPassedOn(); }
  int AutomationCalls() const override { return 0; }

  // lilv's port callbacks, by symbol.
  void SetPortValue(const char* symbol, float value);
  const float* PortValue(const char* symbol) const;

private:
  struct Control {
    uint32_t port = 0;
    std::string name;
    std::string symbol;
    float minimum = 0.0f;
    float maximum = 1.0f;
    bool integer = false;
    bool toggled = false;
    std::vector<std::pair<float, std::string>> scalePoints;
  };
  struct Preset {
    std::string uri;
    std::string name;
  };
  Lv2Plugin() = default;
  bool Instantiate(double rate, int maxBlockFrames, std::string* error);
  bool Restore(LilvState* state);
  void SettleControls();
  float Plain(int index, double normalized) const;

  std::string location;
  LilvWorld* world = nullptr;
  const LilvPlugin* plugin = nullptr;
  std::unique_ptr<Lv2Instance> instance;
  std::vector<Control> controls;
  std::vector<Preset> presets;
  int currentPreset = -1;
  int latencyPort = -1;
  double sampleRate = 0.0;
  bool playing = false;
  bool controlsChanged = false;
};
