#pragma once

#include "clap/ClapAbi.h"
#include "clap/ClapTransport.h"
#include "plugin/AudioPlugin.h"
#include "plugin/GestureQueue.h"
#include "plugin/ParameterPoint.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

// The host's extensions, looked up once in init; any of them may be missing.
struct IClapHostExtensions {
  const clap_host_log* log = nullptr;
  const clap_host_thread_check* threadCheck = nullptr;
  const clap_host_params* params = nullptr;
  const clap_host_latency* latency = nullptr;
  const clap_host_gui* gui = nullptr;
  const clap_host_timer_support* timers = nullptr;
  const clap_host_posix_fd_support* descriptors = nullptr;
  const clap_host_preset_load* presetLoad = nullptr;
};

// The CLAP binding of the plug-in base: the plug-in record and its life (clap_plugin.cpp), process
// and flush with the host's events and the plug-in's own (clap_process.cpp), parameters, ports and
// the small extensions (clap_params.cpp), state (clap_state.cpp), the editor in the host's window
// (clap_gui.cpp) and the factory programs as presets (clap_presets.cpp).
class IClapPlugin : public IAudioPlugin {
public:
  // What the effect's constructor passes on from the host.
  using Host = const clap_host*;

  // The host record is only kept here: CLAP allows no host call before init.
  IClapPlugin(const clap_host* host, int parameterCount, const char* configText, int presetCount,
              const char* effectName, const char* productName, const char* vendorName,
              int32_t version, int32_t uniqueId, int latency, bool usesStateBlocks,
              bool isInstrument);
  ~IClapPlugin() override;

  void BeginHostEdit(int index) override;
  void NotifyHostOfChange(int index, double normalized) override;
  void EndHostEdit(int index) override;
  void NotifyHostOfPresetChange() override;
  bool IsOfflineRender() override { return offlineRender.load(); }
  int HostSamplePosition() override;
  double HostTempo() override;
  void HostTimeSignature(int* numerator, int* denominator) override;
  void HostTransport(ITransportInfo* transport) override;
  void EditorSizeChanged(int width, int height) override;
  bool SendMidiEvent(const IMidiEvent* event) override;
  bool SendSysexEvent(const ISysexEvent* event) override;

  const clap_plugin* Record() const { return &record; }
  static IClapPlugin* FromRecord(const clap_plugin* plugin);

  // The plug-in record's functions.
  bool Init();
  bool Activate(double sampleRate, uint32_t minFrames, uint32_t maxFrames);
  void Deactivate();
  bool StartProcessing();
  void StopProcessing();
  void Reset();
  int32_t Process(const clap_process* process);
  void OnMainThread();

  // Parameters (clap_params.cpp). The three of the effect keep their indices as ids; the bypass
  // has an id of its own.
  static constexpr clap_id BypassParamId = 0x62797073; // 'byps'
  uint32_t ParamCount();
  bool ParamInfo(uint32_t index, clap_param_info* info);
  bool ParamValue(clap_id id, double* value);
  bool ParamValueText(clap_id id, double value, char* display, uint32_t size);
  bool ParamTextValue(clap_id id, const char* display, double* value);
  void Flush(const clap_input_events* in, const clap_output_events* out);
  bool SetRenderMode(int32_t mode);
  // The processing delay hosts compensate, in frames.
  uint32_t LatencyFrames() const { return static_cast<uint32_t>(std::max(ProcessingDelay(), 0)); }

  // State (clap_state.cpp).
  bool SaveState(const clap_ostream* stream);
  bool LoadState(const clap_istream* stream);

  // The editor (clap_gui.cpp), on the main thread.
  bool GuiApiSupported(const char* api, bool floating) const;
  bool GuiCreate(const char* api, bool floating);
  void GuiDestroy();
  // On x11 and win32 a scale of physical pixels per editor pixel (2.0 for 200 %).
  bool GuiSetScale(double scale);
  bool GuiSize(uint32_t* width, uint32_t* height);
  bool GuiSetSize(uint32_t width, uint32_t height);
  bool GuiSetParent(const clap_window* window);
  bool GuiShow();
  bool GuiHide();
  void GuiTimer(clap_id timer);
  void GuiDescriptorReady(int descriptor);

  // Factory programs as presets (clap_presets.cpp).
  bool LoadPreset(uint32_t locationKind, const char* location, const char* loadKey);

private:
  // An output event of any kind this plug-in sends.
  union IOutputEvent {
    clap_event_header header;
    clap_event_param_value value;
    clap_event_param_gesture gesture;
    clap_event_midi midi;
    clap_event_midi_sysex sysex;
  };
  // A value change reported on the audio thread while the effect delivers a MIDI event: it is
  // dated with the event that caused it.
  struct IPendingValue {
    int32_t index = 0;
    double value = 0.0;
  };

  // The effect's parameter a host's id names, or none (clap_params.cpp).
  const IParameter* ParameterOfId(clap_id id);
  // Process and flush in their steps (clap_process.cpp).
  void TakeInputEvents(const clap_input_events* in, int frames);
  void TakeParameterValue(const clap_event_param_value& event, int frame);
  void TakeMidi(const clap_event_midi& event, int frame);
  bool RunAudio(const clap_process* process, int frames);
  void DrainGestures();
  void DatePendingValues(uint32_t time);
  bool StageOutput(const IOutputEvent& event);
  void PushOutput(const clap_output_events* out, int frames);
  bool OnAudioThread() const { return audioThread.load() == std::this_thread::get_id(); }
  // The audio thread of the current process or flush call, set for its length.
  class AudioCall;

  void RequestFlush();
  void RescanValues();
  void ExpectMainThread() const;
  void Log(int32_t severity, const char* message) const;

  // The editor's drive from the host's loop (clap_gui_x11.cpp / clap_gui_win.cpp).
  bool HostCanDriveEditor() const;
  bool StartEditorDrive();
  void StopEditorDrive();

  clap_plugin record = {};
  const clap_host* host = nullptr;
  IClapHostExtensions hostExtensions;

  std::atomic<bool> active{false};
  std::atomic<bool> processing{false};
  std::atomic<bool> offlineRender{false};
  std::atomic<bool> rescanWanted{false};
  std::atomic<double> bypassValue{0.0};
  std::atomic<std::thread::id> audioThread{};
  uint32_t reportedLatency = 0;

  // The host's parameter values of the current call, sized once so process never allocates.
  static constexpr size_t PointCapacity = 1024;
  std::vector<IParameterPoint> points = std::vector<IParameterPoint>(PointCapacity);
  int pointCount = 0;
  // The plug-in's output events of the current call, kept in time order.
  static constexpr size_t OutputCapacity = 2048;
  std::vector<IOutputEvent> output = std::vector<IOutputEvent>(OutputCapacity);
  size_t outputCount = 0;
  static constexpr size_t PendingCapacity = 16;
  IPendingValue pending[PendingCapacity];
  size_t pendingCount = 0;
  uint32_t lastOutputTime = 0;
  // Editor gestures on their way from the main thread to process or flush.
  IGestureQueue<256> gestures;
  // The host's channel pointers of the current call, at most the plug-in's channel count.
  IHostChannelPointers hostChannels;

  ClapTransport transport;
  IByteBlock stateBlock;

  // The editor's window and its drive.
  bool guiCreated = false;
  bool parentKnown = false;
  bool windowOpen = false;
  INativeParent parent;
  clap_id timerId = Clap::InvalidId;
  int watchedDescriptor = -1;
};
