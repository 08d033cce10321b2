#pragma once

#include "host/HostedPlugin.h"
#include "host/vst3/Vst3Host.h"

#include <memory>
#include <string>
#include <vector>

// A VST 3 plug-in behind the format-neutral interface: parameters through the controller (its
// text conversions both ways), the first program list through the unit information and the
// program-change parameter, MIDI controllers through the controller's MIDI mapping, changes and
// events at their frames, rendered in offline mode.
class Vst3Plugin final : public HostedPlugin {
public:
  // A bundle (X.vst3/Contents/<architecture>/...) or the module file itself; null with a
  // one-line reason in error.
  static std::unique_ptr<Vst3Plugin> Load(const std::string& path, std::string* error);
  ~Vst3Plugin() override;

  PluginFormat Format() const override { return PluginFormat::Vst3; }
  const std::string& Location() const override { return path; }
  std::string Name() override { return instance->ClassName(); }
  std::string Vendor() override { return vendor; }
  std::vector<std::string> Buses() override;
  int InputChannels() const override { return instance->InputChannels(); }
  int OutputChannels() const override { return instance->OutputChannels(); }
  bool ProcessesDouble() const override;
  bool ParametersAtFrames() const override { return true; }

  int ParameterCount() override { return static_cast<int>(parameters.size()); }
  std::string ParameterName(int index) override;
  std::string ParameterUnit(int index) override;
  std::string ParameterDisplay(int index) override;
  std::string DisplayAt(int index, double normalized) override;
  double Normalized(int index) override;
  void SetNormalized(int index, double normalized) override;
  bool TakesText(int index) override;
  bool TextToNormalized(int index, const std::string& text, double* normalized) override;

  int ProgramCount() override { return static_cast<int>(programs.size()); }
  std::string ProgramName(int index) override;
  int CurrentProgram() override;
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
  int MidiEventsReceived() const override { return midiPassedBack; }
  int AutomationCalls() const override { return 0; }

private:
  Vst3Plugin() = default;
  void Queue(const HostedEvent* events, size_t count);
  void TakeOutput();
  // Changes made while not processing reach the processor through a flush of their own.
  void DeliverPending();

  std::string path;
  std::string vendor;
  // Declared first so the module outlives the instance made from it.
  std::unique_ptr<vst3host::Module> module;
  std::unique_ptr<vst3host::PluginInstance> instance;
  std::unique_ptr<vst3host::MidiInput> midi;
  std::vector<vst3::ParameterInfo> parameters;
  std::vector<std::string> programs;
  // The parameter that selects a program, or -1.
  int programParameter = -1;
  bool started = false;
  bool pending = false;
  int midiPassedBack = 0;
};

// The module file of a bundle for this build's architecture, or empty with the reason (what was
// found, what was expected) in error.
std::string Vst3ModuleInBundle(const std::string& bundle, std::string* error);
