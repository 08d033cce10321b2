#pragma once

#include "plugin/AudioPlugin.h"
#include "plugin/ParameterPoint.h"
#include "vst3/Vst3Abi.h"

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

// What the plug-in asks of the controller whose view shows its editor: the editor's gestures
// reach the host's component handler through it, on the view's thread.
class IVst3EditLink {
public:
  virtual ~IVst3EditLink() = default;
  virtual void BeginEdit(int index) = 0;
  virtual void PerformEdit(int index, double normalized) = 0;
  virtual void EndEdit(int index) = 0;
};

// The VST 3 binding of the plug-in base (vst3_plugin.cpp). The processor component runs one
// instance (vst3_processor.cpp), the controller another for its parameter and program tables
// (vst3_controller.cpp); the view shows the processor's editor where the two are linked.
// process() carries parameter points, program changes and bypass to the base and runs the audio
// through its block runner (vst3_audio.cpp); events in and out (vst3_events.cpp); the transport
// from the process context (vst3_transport.cpp); the component state (vst3_state.cpp).
class IVst3Plugin : public IAudioPlugin {
public:
  // Nothing the object needs at creation: hosts introduce themselves at initialize.
  struct Creation {};
  using Host = const Creation*;

  // The host-visible parameters after the plug-in's own: the program list and the bypass.
  int ProgramParameterId() const { return ParameterCount(); }
  int BypassParameterId() const { return ParameterCount() + 1; }
  int HostParameterCount() const { return ParameterCount() + 2; }

  IVst3Plugin(Host host, int parameterCount, const char* configText, int presetCount,
              const char* effectName, const char* productName, const char* vendorName,
              int32_t version, int32_t uniqueId, int latency, bool usesStateBlocks,
              bool isInstrument);
  ~IVst3Plugin() override;

  void BeginHostEdit(int index) override;
  void NotifyHostOfChange(int index, double normalized) override;
  void EndHostEdit(int index) override;
  void NotifyHostOfPresetChange() override {}
  bool IsOfflineRender() override { return processMode == vst3::kOffline; }
  int HostSamplePosition() override;
  double HostTempo() override;
  void HostTimeSignature(int* numerator, int* denominator) override;
  void HostTransport(ITransportInfo* transport) override;
  void EditorSizeChanged(int width, int height) override;
  bool SendMidiEvent(const IMidiEvent* event) override;
  bool SendSysexEvent(const ISysexEvent* event) override;

  // First setup, the reset, every parameter announced: what a host's open of any plug-in does.
  void Open();
  // The host's name from its application interface, as the other formats identify their host.
  void IdentifyHostByName(const char* name);

  // The processor's calls.
  void SetupProcessing(const vst3::ProcessSetup& setup);
  void SetActive(bool active);
  // Channels of the one input and output bus; false for an arrangement the effect cannot take.
  bool SetChannels(int inputs, int outputs);
  vst3::tresult Process(vst3::ProcessData& data);

  // Normalised value of a program number, and back (rounded to the nearest program).
  double ProgramToNormalized(int program) const;
  int ProgramFromNormalized(double normalized) const;
  // The program switch of a host: the live values go into the current program first, as VST 2
  // hosts have always seen it.
  void SelectProgramFromHost(int program);

  // A component state is the bank block and a few words: anything much larger is not ours.
  static constexpr int64_t LargestComponentState = LargestStateBytes + 64;
  // The component state: the bank block, the current program and the bypass. A state that is
  // empty, cut short or not ours changes nothing; so does a VST 2 project that is not Ombrix's.
  bool SaveComponentState(std::vector<uint8_t>* bytes);
  bool LoadComponentState(const uint8_t* data, int64_t size);

  // The controller whose view shows this editor, or none; set and cleared on the view's thread,
  // which then is the one thread whose gestures are forwarded.
  void ConnectEditLink(IVst3EditLink* link);

private:
  void ReadParameterChanges(vst3::IParameterChanges* changes, int frames);
  void TakeQueue(vst3::IParamValueQueue* queue, int frames);
  void AddPoint(int index, int32_t frame, double normalized);
  void TakeInputEvents(vst3::IEventList* events);
  void TakeEvent(const vst3::Event& event);
  void RunAudio(vst3::ProcessData& data);
  // A project of the VST 2 build (vst2_project_state.cpp): the wrapper some hosts put around it,
  // a bank of parameter programs (either version) or a single program.
  static bool LooksLikeVst2Project(const uint8_t* data, int64_t size);
  bool LoadVst2Project(const uint8_t* data, int64_t size);
  IVst3EditLink* LinkOnThisThread() const;

  int32_t processMode = vst3::kRealtime;
  int32_t sampleSize = vst3::kSample32;
  // The current call's parameter points, made room for once so process() never allocates.
  std::vector<IParameterPoint> points;
  // The current call's output list and transport, valid during process() only.
  vst3::IEventList* outputEvents = nullptr;
  const vst3::ProcessContext* context = nullptr;
  int callFrames = 0;
  // Channel pointer arrays of the current call, sized with the pins.
  IHostChannelPointers hostChannels;
  std::atomic<IVst3EditLink*> editLink{nullptr};
  std::atomic<std::thread::id> editThread{};
};
