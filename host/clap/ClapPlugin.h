#pragma once

#include "host/HostedPlugin.h"
#include "host/clap/ClapHost.h"

#include <memory>
#include <string>
#include <vector>

// A CLAP plug-in behind the format-neutral interface: parameters through the params extension
// (values normalised over each parameter's range), presets of the plug-in's own location through
// preset discovery and preset load, events at their frames.
class ClapPlugin final : public HostedPlugin {
public:
  // The file's first plug-in; null with a one-line reason in error.
  static std::unique_ptr<ClapPlugin> Load(const std::string& path, std::string* error);
  ~ClapPlugin() override;

  PluginFormat Format() const override { return PluginFormat::Clap; }
  const std::string& Location() const override { return path; }
  std::string Name() override;
  std::string Vendor() override;
  std::vector<std::string> Buses() override;
  int InputChannels() const override { return static_cast<int>(host->InputChannels()); }
  int OutputChannels() const override { return static_cast<int>(host->OutputChannels()); }
  bool ProcessesDouble() const override;
  bool ParametersAtFrames() const override { return true; }

  int ParameterCount() override { return static_cast<int>(parameters.size()); }
  std::string ParameterName(int index) override;
  std::string ParameterUnit(int) override { return std::string(); }
  std::string ParameterDisplay(int index) override;
  std::string DisplayAt(int index, double normalized) override;
  double Normalized(int index) override;
  void SetNormalized(int index, double normalized) override;
  bool TakesText(int index) override;
  bool TextToNormalized(int index, const std::string& text, double* normalized) override;

  int ProgramCount() override { return static_cast<int>(presets.size()); }
  std::string ProgramName(int index) override;
  int CurrentProgram() override { return currentPreset; }
  bool SelectProgram(int index) override;

  std::vector<uint8_t> SaveState() override;
  bool LoadState(const std::vector<uint8_t>& bytes) override;

  bool Start(double sampleRate, int maxBlockFrames, bool doublePrecision,
             std::string* error) override;
  void Stop() override;
  void SetTransport(int64_t samplePosition, double tempo, bool playing) override;
  void Process(float* const* inputs, float* const* outputs, int frames, const HostedEvent* events,
               size_t eventCount) override;
  void Process(double* const* inputs, double* const* outputs, int frames, const HostedEvent* events,
               size_t eventCount) override;
  int Latency() override;
  int MidiEventsReceived() const override { return host->MidiPassedBack(); }
  int AutomationCalls() const override { return 0; }

private:
  struct Preset {
    std::string name;
    std::string key;
  };
  ClapPlugin() = default;
  void FindPresets();
  void Queue(const HostedEvent* events, size_t count);
  double Plain(int index, double normalized) const;

  std::string path;
  // Declared first so the module outlives the instance made from it.
  std::unique_ptr<ClapModule> module;
  std::unique_ptr<ClapHost> host;
  const clap_plugin_params* params = nullptr;
  std::vector<clap_param_info> parameters;
  std::vector<Preset> presets;
  int currentPreset = -1;
  double sampleRate = 0.0;
};
