#pragma once

#include "editor/Editor.h"
#include "vst2/VstAbi.h"

#include <mutex>
#include <vector>

// A host for the plug-in linked into the test program: creates it through its entry point and
// reaches it through the effect record, as a host does, and its editor through the plug-in's
// interface, as the window does. Calls back from any thread are recorded under a mutex.
class InProcessHost {
public:
  struct Call {
    VstInt32 opcode = 0;
    VstInt32 index = 0;
    float opt = 0.0f;
    std::vector<VstMidiEvent> midiEvents;
  };

  InProcessHost();
  ~InProcessHost();
  InProcessHost(const InProcessHost&) = delete;
  InProcessHost& operator=(const InProcessHost&) = delete;

  AEffect* effect = nullptr;
  IEditor* editor = nullptr;

  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);
  // Opened at 44100 Hz with processing on.
  void Start(int blockFrames = 512);
  void SendMidi(int offset, int status, int data1, int data2);
  // Processes constant input on both channels; the outputs land in outLeft and outRight.
  void Process(double left, double right, int frames);
  void SetBeat(double ppq);

  std::vector<Call> Calls();
  std::vector<Call> CallsOf(VstInt32 opcode);
  void ClearCalls();

  std::vector<float> outLeft;
  std::vector<float> outRight;

private:
  static VstIntPtr VSTCALLBACK Callback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                        VstIntPtr value, void* ptr, float opt);

  std::mutex mutex;
  std::vector<Call> calls;
  bool suppliesTime = false;
  VstTimeInfo time = {};
};
