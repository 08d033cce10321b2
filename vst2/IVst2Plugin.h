#pragma once

#include "plugin/AudioPlugin.h"
#include "vst2/VstAbi.h"

#include <cstdint>

// The VST 2 binding of the plug-in base: builds the effect record the host keeps
// (vst2_plugin.cpp), answers the host's opcodes (vst2_dispatcher.cpp), runs the audio and
// parameter entry functions (vst2_audio.cpp), takes and sends MIDI (vst2_events.cpp), moves state
// blocks (vst2_state.cpp), drives the editor (vst2_editor.cpp) and makes every other call back
// into the host (vst2_host_calls.cpp).
class IVst2Plugin : public IAudioPlugin {
public:
  // What the effect's constructor passes on from the host.
  using Host = audioMasterCallback;

  // Fills the effect record, connects every pin and sizes the scratch buffers for 1024 frames.
  IVst2Plugin(audioMasterCallback hostCallback, int parameterCount, const char* configText,
              int presetCount, const char* effectName, const char* productName,
              const char* vendorName, int32_t version, int32_t uniqueId, int latency,
              bool usesStateBlocks, bool isInstrument);
  ~IVst2Plugin() override;

  void BeginHostEdit(int index) override;
  void NotifyHostOfChange(int index, double normalized) override;
  void EndHostEdit(int index) override;
  void NotifyHostOfPresetChange() override;
  bool IsOfflineRender() override;
  int HostSamplePosition() override;
  double HostTempo() override;
  void HostTimeSignature(int* numerator, int* denominator) override;
  void HostTransport(ITransportInfo* transport) override;
  // Asks the host for its product name and version once per object.
  int IdentifyHost() override;
  void EditorSizeChanged(int width, int height) override;
  void FirstOpenSetup() override;
  void AttachEditor(IAttachedEditor* newEditor) override;
  void SetProcessingDelay(int samples) override;
  bool SendMidiEvent(const IMidiEvent* event) override;
  bool SendSysexEvent(const ISysexEvent* event) override;

  // The record handed to the host; it never moves while the object lives.
  AEffect* Effect() { return &effect; }
  static IVst2Plugin* FromEffect(AEffect* record);

  bool WantsMidi() const { return wantsMidi; }

private:
  // Entry functions stored in the effect record.
  static VstIntPtr VSTCALLBACK VSTDispatcher(AEffect* record, VstInt32 opcode, VstInt32 index,
                                             VstIntPtr value, void* ptr, float opt);
  static void VSTCALLBACK HostProcessAdding(AEffect* record, float** inputs, float** outputs,
                                            VstInt32 frames);
  static void VSTCALLBACK HostProcessFloat(AEffect* record, float** inputs, float** outputs,
                                           VstInt32 frames);
  static void VSTCALLBACK HostProcessDouble(AEffect* record, double** inputs, double** outputs,
                                            VstInt32 frames);
  static float VSTCALLBACK HostReadParameter(AEffect* record, VstInt32 index);
  static void VSTCALLBACK HostWriteParameter(AEffect* record, VstInt32 index, float value);

  // Dispatcher work, under pluginLock.
  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
  VstIntPtr DispatchEditor(VstInt32 opcode, void* ptr);
  // effEditKeyDown/effEditKeyUp: 1 when a control of the editor took the key.
  VstIntPtr DispatchEditorKey(bool down, VstInt32 character, VstIntPtr virtualKey);
  void OpenForHost();
  void SelectProgram(VstIntPtr program);
  VstIntPtr GetChunk(bool program, void* ptr);
  VstIntPtr SetChunk(bool program, VstIntPtr size, const void* data);
  VstIntPtr StringToParameter(int index, const char* text);
  VstIntPtr PinProperties(bool output, int index, VstPinProperties* properties);
  void ConnectFromArrangement(bool output, const VstSpeakerArrangement* arrangement);
  VstIntPtr VendorSpecific(int index, VstIntPtr value, void* ptr, float opt);
  VstIntPtr CanDo(const char* capability) const;
  VstIntPtr MidiKeyNameFor(MidiKeyName* key);
  void TakeHostEvents(const VstEvents* events);

  // Audio paths.
  void ProcessDouble(double** hostInputs, double** hostOutputs, int frames);
  void ProcessFloat(float** hostInputs, float** hostOutputs, int frames, bool accumulate);
  void AnnounceMidiWish();

  VstIntPtr CallHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);
  const VstTimeInfo* HostTime(VstIntPtr wantedFields);
  void UpdateChannelCounts();

  audioMasterCallback hostCallback;
  ERect editorRect = {};
  // Between effEditOpen and effEditClose.
  bool editorOpen = false;
  bool screenScaleTaken = false;
  VstSpeakerArrangement inputArrangement = {};
  VstSpeakerArrangement outputArrangement = {};
  bool firstOpenDone = false;
  bool wantsMidi = true;
  IByteBlock programState;
  IByteBlock bankState;
  AEffect effect = {};
};
