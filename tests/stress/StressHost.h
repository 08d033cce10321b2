#pragma once

#include "vst2/VstAbi.h"

#include <mutex>
#include <vector>

class IEditor;

// A host for one plug-in made in-process through its entry point. It reaches the plug-in only
// through the effect record, except for the editor, which it drives as the window does. The
// callback may be called from any thread; what it records is guarded by a mutex.
class StressHost {
public:
  StressHost();
  ~StressHost();
  StressHost(const StressHost&) = delete;
  StressHost& operator=(const StressHost&) = delete;

  AEffect* effect = nullptr;
  // The plug-in's editor, or none when it has none of the framework's kind.
  IEditor* editor = nullptr;

  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);
  // Opened at 44100 Hz with the given block size and processing on.
  void Start(int blockFrames);
  // Hands the events to the plug-in in one list, as hosts do before each block.
  void SendEvents(std::vector<VstMidiEvent> events);
  // A copy of the state block the plug-in saves (empty when it saves none).
  std::vector<char> SaveChunk(bool program);
  VstIntPtr LoadChunk(bool program, std::vector<char> block);
  std::vector<float> ParameterValues();

  // MIDI events the plug-in passed back, in the order it passed them.
  std::vector<VstMidiEvent> PassedOn();

private:
  static VstIntPtr VSTCALLBACK Callback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                        VstIntPtr value, void* ptr, float opt);

  std::mutex mutex;
  std::vector<VstMidiEvent> passedOn;
};
