#pragma once

#include "host/HostedPlugin.h"
#include "host/LoadedLibrary.h"
#include "vst2/VstAbi.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One VST 2 plug-in instance: loads the library, creates the effect through its entry point,
// answers its calls back and wraps the dispatcher opcodes. The host renders offline and tells
// the plug-in so.
class Vst2Plugin final : public HostedPlugin {
public:
  // Loads the library at path, calls VSTPluginMain (or main) and opens the effect. Null with a
  // one-line reason in error.
  static std::unique_ptr<Vst2Plugin> Load(const std::string& path, std::string* error);

  Vst2Plugin(const Vst2Plugin&) = delete;
  Vst2Plugin& operator=(const Vst2Plugin&) = delete;
  // Switches processing off, closes the effect, then unloads the library.
  ~Vst2Plugin() override;

  PluginFormat Format() const override { return PluginFormat::Vst2; }
  const std::string& Location() const override { return path; }
  std::string Name() override { return EffectName(); }
  std::string Vendor() override { return VendorName(); }
  std::vector<std::string> Buses() override;
  int InputChannels() const override { return effect->numInputs; }
  int OutputChannels() const override { return effect->numOutputs; }
  bool ProcessesDouble() const override;
  bool ParametersAtFrames() const override { return false; }
  int ParameterCount() override { return effect->numParams; }
  std::string ParameterUnit(int index) override { return ParameterLabel(index); }
  std::string DisplayAt(int index, double normalized) override;
  double Normalized(int index) override;
  void SetNormalized(int index, double value) override;
  bool TextToNormalized(int index, const std::string& text, double* normalized) override;
  int ProgramCount() override { return effect->numPrograms; }
  // The current program's number, then its chunk or its parameter values, as an .fxp keeps them.
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
  int Latency() override { return effect->initialDelay > 0 ? effect->initialDelay : 0; }
  int MidiEventsReceived() const override { return midiEventsReceived; }
  int AutomationCalls() const override { return automationCalls; }

  // Another function the plug-in's library exports, or null.
  void* LibrarySymbol(const char* name) const { return library->Symbol(name); }
  AEffect* EffectRecord() { return effect; }
  const AEffect& Effect() const { return *effect; }
  bool HasFlag(VstInt32 flag) const { return (effect->flags & flag) != 0; }

  // The editor's size from effEditGetRect; false without an editor.
  bool EditorSize(int* width, int* height);

  std::string EffectName();
  std::string VendorName();
  std::string ProductName();

  int CurrentProgram() override;
  // Switches to the program (the plug-in keeps the live values of the one left, as hosts expect).
  bool SelectProgram(int index) override;
  std::string ProgramName(int index) override;
  std::string CurrentProgramName();
  void RenameCurrentProgram(const std::string& name);

  std::string ParameterName(int index) override;
  std::string ParameterDisplay(int index) override;
  std::string ParameterLabel(int index);
  // Whether the plug-in converts texts to values for this parameter.
  bool TakesText(int index) override;
  // The plug-in reads the text as a value in its own units; false when it refuses the text.
  bool SetFromText(int index, const std::string& text) override;

  // The plug-in's opaque state for the current program or the whole bank; empty on failure.
  std::vector<uint8_t> Chunk(bool program);
  bool SetChunk(bool program, const std::vector<uint8_t>& bytes);

  // Whether the plug-in answered effSetProcessPrecision with 1 (it knows the call).
  bool PrecisionAccepted() const { return precisionAccepted; }

  // The MIDI the plug-in passes back (audioMasterProcessEvents), kept only while keeping is on:
  // keeping allocates.
  void KeepMidiPassedBack(bool keep) { keepMidi = keep; }
  std::vector<HostedEvent> TakeMidiPassedBack();

  // The editor as a child of the host's window (an X11 window id or an HWND), driven by the
  // host's idle calls.
  bool OpenEditor(void* parent);
  void IdleEditor();
  void CloseEditor();

private:
  Vst2Plugin() = default;
  // The block's parameter changes, then its MIDI through effProcessEvents.
  void SendEvents(const HostedEvent* events, size_t count);
  void SendMidi(const HostedEvent* events, size_t count);
  void KeepPassedBack(const VstEvents& events);
  static VstIntPtr VSTCALLBACK HostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                            VstIntPtr value, void* ptr, float opt);
  VstIntPtr Answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr);
  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);
  std::string TextAnswer(VstInt32 opcode, VstInt32 index);

  std::string path;
  std::unique_ptr<LoadedLibrary> library;
  AEffect* effect = nullptr;
  VstTimeInfo timeInfo = {};
  bool processing = false;
  bool precisionAccepted = false;
  bool transportWasPlaying = false;
  // The plug-in may call back from the audio and the editor's threads at once.
  std::atomic<int> automationCalls{0};
  std::atomic<int> midiEventsReceived{0};
  bool keepMidi = false;
  std::vector<HostedEvent> midiPassedBack;
  // The list handed to effProcessEvents, its records and its pointer array, reserved at Start.
  std::vector<VstMidiEvent> midi;
  std::vector<VstMidiSysexEvent> sysex;
  std::vector<VstEvent*> list;
};
