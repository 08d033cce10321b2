#pragma once

#include "platform/DebugWriterUse.h"
#include "platform/Lock.h"
#include "plugin/AttachedEditor.h"
#include "plugin/BindingKind.h"
#include "plugin/ByteBlock.h"
#include "plugin/Channels.h"
#include "plugin/HostEvents.h"
#include "plugin/HostKind.h"
#include "plugin/NativeParent.h"
#include "plugin/Parameter.h"
#include "plugin/ParameterPoint.h"
#include "plugin/PresetSlot.h"
#include "plugin/StateBlock.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

// The host-neutral plug-in: parameters, presets and state, channel pins and buffers, the
// attached editor and the one recursive lock that keeps host threads, the editor and the audio
// thread from seeing half-changed state.
//
// The binding contract. Each format's binding derives from this class and the effect derives
// from the binding (IAudioPlugin -> IVst2Plugin or ILv2Plugin -> Ombrix). A binding:
// - constructs the base with the effect's shape and its own BindingKind, connects the pins and
//   sizes the scratch buffers (SetMaxBlockFrames), and takes its host as `Host` (the one
//   constructor argument the effect passes on);
// - implements the pure virtual host calls below (edits, automation, transport, MIDI out);
// - only translates its format: audio goes through RunHostBlock, a host's parameter values
//   through SetParameterFromHost, state bytes through SaveStateBlock/LoadStateBlock, the editor
//   through OpenEditor/CloseEditor/IdleEditor/EditorKey;
// - declares `CreateEffect(Host)`, which the effect defines, so the binding never depends on it.
// IsPluginBinding<B> (PluginBinding.h) checks this at compile time where the effect is built.
class IAudioPlugin {
public:
  // configText lists the legal channel configurations as "in-out" pairs separated by blanks,
  // for example "1-1 2-2". version is 0xMMMMmmbb.
  IAudioPlugin(int parameterCount, const char* configText, int presetCount, const char* effectName,
               const char* productName, const char* vendorName, int32_t version, int32_t uniqueId,
               int latency, bool usesStateBlocks, bool isInstrument, BindingKind bindingKind);
  IAudioPlugin(const IAudioPlugin&) = delete;
  IAudioPlugin& operator=(const IAudioPlugin&) = delete;

  // Virtual operations, in the order of their slots.
  virtual ~IAudioPlugin();
  virtual void OnReset();
  virtual void OnParameterChanged(int index);
  // Copies input j to output j and zero-fills outputs without an input.
  virtual void ProcessBlock(double** inputs, double** outputs, int frames);
  virtual void ProcessBlockFloat(float** inputs, float** outputs, int frames);
  virtual void OnEditorOpened() {}
  virtual void OnEditorClosing() {}
  virtual void SpareNotifyA() {}
  virtual void OnActivation(bool active);
  // Passes the event straight back to the host.
  virtual void OnMidiEvent(const IMidiEvent* event);
  virtual void OnSysexEvent(const ISysexEvent*) {}
  virtual bool NameForMidiKey(int key, char* name);
  // Appends every parameter's value as a double, in index order.
  virtual bool SerializeParams(IByteBlock* block);
  // Reads the values back from position, each limited to its range, then reports every
  // parameter changed. Returns the position after the values, -1 when the block ran short.
  virtual int UnserializeParams(const IByteBlock* block, int position);
  virtual bool MatchesStoredValues(const double* values, int startIndex);
  virtual void OnEditorResized() {}
  virtual bool SpareQuery() { return false; }
  virtual void OnHostKnown() {}
  virtual void ParameterContextRequest(int, int, int) {}
  // A control's new normalised value: sets it under the lock, then tells the host outside it.
  virtual void SetParameterFromEditor(int index, double normalized);
  virtual void BeginHostEdit(int index) = 0;
  virtual void NotifyHostOfChange(int index, double normalized) = 0;
  virtual void EndHostEdit(int index) = 0;
  virtual void NotifyHostOfPresetChange() = 0;
  virtual bool IsOfflineRender() { return false; }
  virtual int HostSamplePosition() = 0;
  virtual double HostTempo() = 0;
  virtual void HostTimeSignature(int* numerator, int* denominator) = 0;
  virtual void HostTransport(ITransportInfo* transport) = 0;
  virtual int IdentifyHost() { return hostKind; }
  virtual int BindingKind() { return bindingKind; }
  virtual void EditorSizeChanged(int width, int height) = 0;
  virtual void FirstOpenSetup() {}
  // Takes ownership; shows every parameter on it and has it prepare its drawing surface.
  virtual void AttachEditor(IAttachedEditor* newEditor);
  virtual void SetProcessingDelay(int samples) { processingDelay = samples; }
  virtual bool SendMidiEvent(const IMidiEvent* event) = 0;
  virtual bool SendSysexEvent(const ISysexEvent*) { return false; }
  // Shows every parameter's real value on the editor; callers hold the lock.
  virtual void RefreshParameterControls();
  virtual void SpareNotifyB() {}
  virtual void OnHostPresetChange() {}
  // Resizes and zeroes every pin's scratch buffer; nothing happens for the current size.
  virtual void SetMaxBlockFrames(int frames);

  // What the binding's host offers the editor.
  bool HostOffersParameterMenus() { return OffersParameterMenus(Binding()); }
  bool HostResizesEditorFrame() { return HostResizesFrame(Binding()); }
  ::BindingKind Binding() { return static_cast<::BindingKind>(BindingKind()); }

  // The block sizes every binding serves: the size assumed until the host tells its own, and
  // the largest the scratch buffers are made for (longer calls run as sub-blocks of it).
  static constexpr int DefaultBlockFrames = 1024;
  static constexpr int LargestBlockFrames = 65536;
  // A host's announced block size, limited to what the scratch buffers are made for.
  static int LimitedBlockFrames(int64_t announced);

  // How a single-precision host call delivers its outputs.
  enum class OutputDelivery { Replace, Accumulate };
  // One host process call (block_runner.cpp): ProcessBlock runs over sub-blocks of at most
  // MaxBlockFrames frames. The caller holds the plug-in's lock for the whole call, as every
  // binding's process entry does (it also covers the entry's own host calls around the block);
  // taking it again here would cost as much as the bookkeeping of a short block. The host's arrays
  // hold one buffer per connected channel in channel order; a missing array or entry reads as
  // silence and receives nothing. Double buffers are processed in place; single-precision inputs
  // are all staged before any output is written, so a host may pass the same buffers for both.
  void RunHostBlock(double** hostInputs, double** hostOutputs, int frames);
  void RunHostBlock(float** hostInputs, float** hostOutputs, int frames, OutputDelivery delivery);
  // The same with the host's parameter points, in frame order (a point before the one ahead of it
  // counts at that one's frame): each is applied as SetParameterFromHost in normalised units,
  // shown on the editor, right before its frame, so a sub-block ends at every point. Points at the
  // call's end, or of a call without frames (a flush), are applied after the frames.
  void RunHostBlock(double** hostInputs, double** hostOutputs, int frames,
                    const IParameterPoint* points, int pointCount);
  void RunHostBlock(float** hostInputs, float** hostOutputs, int frames, OutputDelivery delivery,
                    const IParameterPoint* points, int pointCount);
  // Frames of the current host call handled before this ProcessBlock: a host's event offsets
  // count from the call's first frame, so an effect subtracts this to find an event's sample.
  int BlockOffset() const { return blockOffset; }

  // A host's new value for a parameter (host_parameter.cpp): limited to the range (integer kinds
  // rounded to their step; NaN carries no value and is ignored), shown on the editor first unless
  // the host's own UI already shows it, set and reported to the effect under the lock. False for
  // an index out of range or a NaN.
  enum class ParameterUnits { Normalized, Real };
  enum class EditorEcho { Show, Skip };
  bool SetParameterFromHost(int index, double value, ParameterUnits units, EditorEcho echo);

  // A format's own bypass (bypass.cpp), from any thread: while on, each output carries its input
  // unchanged; switching fades between the processed and the dry signal over BypassFadeFrames,
  // so it never clicks. The effect keeps running (meters, MIDI). Not part of programs or state.
  void SetBypass(bool on) { bypassRequested.store(on, std::memory_order_relaxed); }
  bool Bypassed() const { return bypassRequested.load(std::memory_order_relaxed); }
  static int BypassFadeFrames(double sampleRate);

  // State blocks as hosts keep them (plugin_state.cpp).
  bool SaveStateBlock(StateBlockKind kind, IByteBlock* block);
  // Reads a block the host kept into staging and from there; a refused block changes nothing,
  // one that runs short what `shortBlocks` says. The editor shows the values of a loaded block.
  StateLoadResult LoadStateBlock(StateBlockKind kind, const void* data, int64_t size,
                                 OlderBlocks older, ShortBlocks shortBlocks, IByteBlock* staging);

  // The editor session a binding drives (editor_session.cpp), all on the host's user-interface
  // thread. The window work runs outside the plug-in's lock (only the effect's open and close
  // notices take it), so the window system's own locks are never taken inside it.
  // OpenEditor answers the editor's native window, or nullptr when none opened.
  void* OpenEditor(const INativeParent& parent);
  // The host's or the system's scale for the editor (2 for 200 %), on the user-interface thread.
  void SetEditorScale(double scale);
  // The same from the window system, for the parent window or, without one, the screen.
  void FollowSystemEditorScale(const INativeParent* parent);
  void CloseEditor();
  void IdleEditor();
  // A host's key in the PC virtual-key numbering; true when a control took it.
  bool EditorKey(int virtualKey, bool down);
  int EditorEventDescriptor();

  // Channels.
  bool LegalIO(int inputCount, int outputCount) const;
  void ConnectInputs(int first, int count, bool connected);
  void ConnectOutputs(int first, int count, bool connected);
  // Converts the host's buffers of the connected inputs among first..first+count-1 into their
  // scratch buffers and points the channels there; only connected inputs consume a host buffer.
  void StageFloatInputs(int first, int count, float** hostInputs, int frames);

  // Presets and state. Callers hold the lock (or the object is still being built).
  bool SelectPreset(int index);
  // One value per parameter in index order: an int for integer kinds, a double otherwise.
  void DefinePreset(const char* name, ...);
  // Stores the live values in the current preset and renames it when a name is given.
  void ModifyCurrentPreset(const char* name = nullptr);
  bool SerializePresets(IByteBlock* block);
  int UnserializePresets(const IByteBlock* block, int position);

  // Accessors. Index lookups answer nullptr out of range.
  IRecursiveLock& Lock() { return pluginLock; }
  int ParameterCount() const { return static_cast<int>(parameters.size()); }
  IParameter* Parameter(int index);
  int PresetCount() const { return static_cast<int>(presets.size()); }
  IPresetSlot* Preset(int index);
  int CurrentPreset() const { return currentPreset; }
  int InputCount() const { return static_cast<int>(inputs.size()); }
  int OutputCount() const { return static_cast<int>(outputs.size()); }
  IInputPin* Input(int index);
  IOutputPin* Output(int index);
  double** InputPointers() { return inputPointers.data(); }
  double** OutputPointers() { return outputPointers.data(); }
  int ChannelConfigCount() const { return static_cast<int>(channelConfigs.size()); }
  const IChannelConfig* ChannelConfig(int index) const;
  const char* EffectName() const { return effectName; }
  const char* ProductName() const { return productName; }
  const char* VendorName() const { return vendorName; }
  int32_t UniqueId() const { return uniqueId; }
  int32_t Version() const { return version; }
  int32_t HostKind() const { return hostKind; }
  int32_t HostVersion() const { return hostVersion; }
  bool UsesStateBlocks() const { return usesStateBlocks; }
  bool IsInstrument() const { return isInstrument; }
  double SampleRate() const { return sampleRate; }
  void SetSampleRate(double rate) { sampleRate = rate; }
  int MaxBlockFrames() const { return maxBlockFrames; }
  int ProcessingDelay() const { return processingDelay; }
  IAttachedEditor* Editor() { return editor.get(); }

protected:
  // Keeps the debug line writer running while the object lives (first member: it outlives the
  // rest, so lines printed while they are destroyed are still written).
  IDebugWriterUse debugWriterUse;
  std::vector<IChannelConfig> channelConfigs;
  IRecursiveLock pluginLock;
  char effectName[128] = {};
  char productName[128] = {};
  char vendorName[128] = {};
  int32_t uniqueId = 0;
  int32_t version = 0;
  int32_t bindingKind = 0;
  int32_t blockOffset = 0;
  int32_t hostKind = HostNotIdentified;
  int32_t hostVersion = 0;
  bool usesStateBlocks = false;
  bool isInstrument = false;
  int32_t currentPreset = 0;
  double sampleRate = 44100.0;
  int32_t maxBlockFrames = 0;
  int32_t processingDelay = 0;
  std::unique_ptr<IAttachedEditor> editor;
  std::vector<IParameter> parameters;
  std::vector<IPresetSlot> presets;
  std::vector<double*> inputPointers;
  std::vector<double*> outputPointers;
  std::vector<IInputPin> inputs;
  std::vector<IOutputPin> outputs;
  // Set by an effect whose ProcessBlockFloat gives exactly ProcessBlock's results on the widened
  // samples, narrowed: single-precision calls then run on the host's buffers in one pass.
  bool processesFloatBlocks = false;

private:
  std::atomic<bool> bypassRequested{false};
  // How much of the dry signal the outputs carry: 0 none (plain processing), 1 only it.
  double bypassMix = 0.0;

  void ParseChannelConfigs(const char* configText);
  // Points the channels at the host's buffers of the sub-block starting at offset (or at
  // silence), for the double-precision path.
  void PointAtHostBuffers(double** hostInputs, double** hostOutputs, int offset, int frames);
  void StageSubBlock(float** hostInputs, float** hostOutputs, int offset, int frames);
  // Whether a single-precision call can run ProcessBlockFloat on the host's own buffers: every
  // channel connected and given, and no output overlapping another channel's input (the staged
  // path reads all inputs before writing any output).
  bool HostFloatBuffersServeDirectly(float** hostInputs, float** hostOutputs, int frames) const;
  void ProcessHostFloatBuffers(float** hostInputs, float** hostOutputs, int offset, int frames);
  void DeliverSubBlock(int frames, OutputDelivery delivery);
  template <typename SubBlockWork>
  void RunInSubBlocks(int frames, const IParameterPoint* points, int pointCount,
                      SubBlockWork&& work);
  // Applies points from next on whose frames are at most frame; answers the first one left.
  int ApplyParameterPoints(const IParameterPoint* points, int pointCount, int next, int frame,
                           int frames);
  // ProcessBlock over the channels as pointed, with the bypass's dry signal mixed in.
  void ProcessSubBlock(int frames);
  void KeepDrySignal(int frames);
  void MixDrySignal(int frames, double target);
  void SizeDryBuffers(size_t frames);
  // StageFloatInputs from offset frames into each host buffer: a sub-block of a longer call.
  void StageFloatInputsAt(int first, int count, float** hostInputs, int offset, int frames);
};
