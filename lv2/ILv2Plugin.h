#pragma once

#include "lv2/Lv2Ports.h"
#include "lv2/Lv2Transport.h"
#include "lv2/Lv2Uris.h"
#include "plugin/AudioPlugin.h"

#include <lv2/atom/forge.h>
#include <lv2/core/lv2.h>
#include <lv2/log/logger.h>
#include <lv2/state/state.h>

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

// What an LV2 host gives a new instance: its sample rate and features (either may be missing
// when a tool makes an instance only to read its tables).
struct ILv2Host {
  double sampleRate = 44100.0;
  const LV2_Feature* const* features = nullptr;
};

// What the plug-in asks of its open UI: the editor's gestures reach the host through it, on the
// UI's thread.
class ILv2UiLink {
public:
  virtual ~ILv2UiLink() = default;
  // The touch feature's begin (true) and end (false) of a gesture on a control input.
  virtual void Touch(uint32_t port, bool grabbed) = 0;
  // The host's write function with a control input's new value.
  virtual void WritePort(uint32_t port, float value) = 0;
};

// The LV2 binding of the plug-in base (lv2_plugin.cpp). run() carries the control ports to the
// parameters and runs the audio through the base's block runner (lv2_audio.cpp); the atom inputs'
// MIDI goes to OnMidiEvent, their transport to HostTransport, and MIDI is passed back on the atom
// output (lv2_events.cpp); the state extension stores the bank block and the current program
// (lv2_state.cpp); the UI is the editor in the host's window (lv2_ui.cpp).
class ILv2Plugin : public IAudioPlugin {
public:
  // What the effect's constructor passes on from the host.
  using Host = const ILv2Host*;

  ILv2Plugin(const ILv2Host* host, int parameterCount, const char* configText, int presetCount,
             const char* effectName, const char* productName, const char* vendorName,
             int32_t version, int32_t uniqueId, int latency, bool usesStateBlocks,
             bool isInstrument);
  ~ILv2Plugin() override;

  void BeginHostEdit(int index) override;
  void NotifyHostOfChange(int index, double normalized) override;
  void EndHostEdit(int index) override;
  void NotifyHostOfPresetChange() override {}
  int HostSamplePosition() override;
  double HostTempo() override;
  void HostTimeSignature(int* numerator, int* denominator) override;
  void HostTransport(ITransportInfo* transport) override;
  void EditorSizeChanged(int width, int height) override;
  bool SendMidiEvent(const IMidiEvent* event) override;

  const Lv2PortLayout& Ports() const { return ports; }

  // The UI whose gestures go to the host, or none; set and cleared on the UI's thread, which then
  // is the one thread whose gestures are forwarded (controller 69 moves the amount on the audio
  // thread: the control output reports that).
  void ConnectUi(ILv2UiLink* link);
  bool HasUi() const { return uiLink.load() != nullptr; }

  // The work of the descriptor's entry functions.
  // First setup, the reset, every parameter announced: what a host's open of any plug-in does.
  void Open();
  void ConnectPort(uint32_t port, void* data);
  void Activate();
  void Deactivate();
  void Run(uint32_t frames);
  LV2_State_Status SaveState(LV2_State_Store_Function store, LV2_State_Handle handle);
  LV2_State_Status RestoreState(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle);

private:
  void TakeFeatures(const LV2_Feature* const* features);
  int AnnouncedBlockFrames(const LV2_Feature* const* features) const;

  // run() in its steps.
  void TakeControlPorts();
  void TakeInputEvents(int frames);
  // MIDI (where the port takes it) and transport objects of one atom input.
  void TakeSequence(uint32_t port, int frames, bool takesMidi);
  void TakeMidi(const LV2_Atom_Event* event);
  void ProcessAudio(int frames);
  void ReportControlOutputs();
  void BeginOutputSequence(int frames);
  void EndOutputSequence();

  // The state's steps.
  void ApplyProgram(const void* data, uint32_t size, uint32_t type);
  enum class LogLevel { Note, Warning };
  void Report(LogLevel level, const char* message);

  Lv2PortLayout ports;
  std::vector<void*> portData;
  // The control inputs' values as last taken (NaN before the first run, so it takes them all).
  std::vector<float> lastControl;
  // After a state restore the next run only notes the ports' values: the restored values stand
  // until the host changes a port again.
  bool controlsBaselineOnly = false;

  LV2_URID_Map* uridMap = nullptr;
  LV2_Log_Logger logger = {};
  Lv2Uris uris;
  Lv2Transport transport;

  LV2_Atom_Forge forge = {};
  LV2_Atom_Forge_Frame sequenceFrame = {};
  bool sequenceOpen = false;
  int runFrames = 0;
  int64_t lastOutputFrame = 0;
  IByteBlock stateBlock;
  // The audio ports' buffers of the current run; sized with the ports so run() never allocates.
  std::vector<float*> inputBuffers;
  std::vector<float*> outputBuffers;

  std::atomic<ILv2UiLink*> uiLink{nullptr};
  std::atomic<std::thread::id> uiThread{};
  // The open UI, when the caller is on its thread.
  ILv2UiLink* UiOnThisThread() const;
};
