#pragma once

#include "platform/Lock.h"
#include "tools/render/HostPlatform.h"
#include "vst2/VstAbi.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One VST 2 plug-in instance driven from the command line: loads the library, creates the
// effect through its entry point, answers its calls back and wraps the dispatcher opcodes the
// tool uses. The host renders offline and tells the plug-in so.
//
// Several instances may render at once, each on its own thread, as a host's tracks do; every
// other call (creating, setting up, starting, stopping, closing) is made under ControlLock(),
// as a host makes them from its one main thread.
class PluginHost {
public:
  static IRecursiveLock& ControlLock();

  // Loads the library at path, calls VSTPluginMain (or main) and opens the effect. Null with a
  // one-line reason in error.
  static std::unique_ptr<PluginHost> Load(const std::string& path, std::string* error);

  PluginHost(const PluginHost&) = delete;
  PluginHost& operator=(const PluginHost&) = delete;
  // Switches processing off, closes the effect, then unloads the library.
  ~PluginHost();

  const std::string& Path() const { return path; }
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

  int CurrentProgram();
  // Switches to the program (the plug-in keeps the live values of the one left, as hosts expect).
  void SelectProgram(int index);
  std::string ProgramName(int index);
  std::string CurrentProgramName();
  void RenameCurrentProgram(const std::string& name);

  std::string ParameterName(int index);
  std::string ParameterDisplay(int index);
  std::string ParameterLabel(int index);
  float Normalized(int index);
  void SetNormalized(int index, float value);
  // Whether the plug-in converts texts to values for this parameter.
  bool TakesText(int index);
  // The plug-in reads the text as a value in its own units; false when it refuses the text.
  bool SetFromText(int index, const std::string& text);

  // The plug-in's opaque state for the current program or the whole bank; empty on failure.
  std::vector<uint8_t> Chunk(bool program);
  bool SetChunk(bool program, const std::vector<uint8_t>& bytes);

  // Sample rate, block size and precision, then processing on (effMainsChanged) and started
  // (effStartProcess).
  void Start(double sampleRate, int blockFrames, bool doublePrecision);
  // effStopProcess, then processing off; nothing when not started.
  void Stop();
  // Whether the plug-in answered effSetProcessPrecision with 1 (it knows the call).
  bool PrecisionAccepted() const { return precisionAccepted; }
  // The delay the plug-in reports, in frames; read once it is processing.
  int Latency() const { return effect->initialDelay > 0 ? effect->initialDelay : 0; }

  // Transport for the next block: the position of its first frame and whether it is playing.
  void SetTransport(int64_t samplePosition, double tempo, bool playing);
  // Hands the plug-in the events of the next block; nothing when events is null.
  void SendEvents(VstEvents* events);
  void ProcessFloat(float** inputs, float** outputs, int frames);
  void ProcessDouble(double** inputs, double** outputs, int frames);

  // What the plug-in told the host while running.
  int AutomationCalls() const { return automationCalls; }
  int MidiEventsReceived() const { return midiEventsReceived; }

private:
  PluginHost() = default;
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
  int automationCalls = 0;
  int midiEventsReceived = 0;
};
