#pragma once

#include "fuzz/FuzzCheck.h"
#include "tests/support/EffectHost.h"
#include "vst2/VstAbi.h"

#include <vector>

// A host for one plug-in made in-process through its entry point and reached only through its
// effect record, as a real host reaches it. Everything the plug-in hands back through the host
// callback is read in full, so a stale or short pointer shows up under AddressSanitizer.
class FuzzHost : public EffectHost {
public:
  FuzzHost();
  ~FuzzHost();
  FuzzHost(const FuzzHost&) = delete;
  FuzzHost& operator=(const FuzzHost&) = delete;

  // Processes frames of a constant signal through the double-precision entry.
  void Process(int frames);

  // Forgets the events passed back so far.
  void ForgetEvents();

  // MIDI events passed back so far, in order.
  std::vector<VstMidiEvent> passedOn;
  int sysexPassedOn = 0;

private:
  static VstIntPtr VSTCALLBACK Callback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                        VstIntPtr value, void* ptr, float opt);
  void TakeEvents(const VstEvents* events);

  std::vector<double> left;
  std::vector<double> right;
};
