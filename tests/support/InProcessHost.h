#pragma once

#include "editor/Editor.h"
#include "tests/support/EffectHost.h"
#include "vst2/VstAbi.h"

#include <mutex>
#include <vector>

// A host for the plug-in linked into the test program: creates it through its entry point and
// reaches it through the effect record, as a host does, and its editor through the plug-in's
// interface, as the window does. Calls back from any thread are recorded under a mutex.
class InProcessHost : public EffectHost {
public:
  // What the callback records. A stress test wants only the MIDI passed back: recording every
  // call would lock the host's mutex on every thread that calls back, and those hand-overs
  // would hide the plug-in's own unguarded ones from ThreadSanitizer.
  enum class Recording { EveryCall, PassedOnMidi };

  explicit InProcessHost(Recording recording = Recording::EveryCall);
  ~InProcessHost();
  InProcessHost(const InProcessHost&) = delete;
  InProcessHost& operator=(const InProcessHost&) = delete;

  // The plug-in's editor, or none when it has none of the framework's kind.
  IEditor* editor = nullptr;

  void SendMidi(int offset, int status, int data1, int data2);
  // Processes constant input on both channels; the outputs land in outLeft and outRight.
  void Process(double left, double right, int frames);
  // From now on the transport is playing at 120 bpm, at the given position in beats. With
  // Recording::PassedOnMidi, set it before the threads that process start.
  void SetBeat(double ppq);

  std::vector<HostCall> Calls();
  std::vector<HostCall> CallsOf(VstInt32 opcode);
  void ClearCalls();
  // MIDI events the plug-in passed back, in the order it passed them.
  std::vector<VstMidiEvent> PassedOn();

  std::vector<float> outLeft;
  std::vector<float> outRight;

private:
  static VstIntPtr VSTCALLBACK Callback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                        VstIntPtr value, void* ptr, float opt);

  const Recording recording;
  std::mutex mutex;
  std::vector<HostCall> calls;
  bool suppliesTime = false;
  VstTimeInfo time = {};
};
