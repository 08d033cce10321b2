#pragma once

#include "tests/support/EffectHost.h"
#include "vst2/VstAbi.h"

#include <cstdint>
#include <string>
#include <vector>

// A host that knows the plug-in only through the VST 2 interface of the built library. It
// records every call the plug-in makes back and answers as configured.
class TestHost : public EffectHost {
public:
  // Creates one plug-in instance through the named entry point.
  explicit TestHost(const char* entryName = "VSTPluginMain");
  ~TestHost();
  TestHost(const TestHost&) = delete;
  TestHost& operator=(const TestHost&) = delete;

  // Answers the host gives.
  std::string productName;
  VstIntPtr vendorVersion = 0;
  bool suppliesTime = false;
  VstTimeInfo time = {};
  VstIntPtr processLevel = 0;
  VstIntPtr processEventsAnswer = 1;

  // What the callback records: every call (for tests on one thread); only the MIDI passed back,
  // which the processing thread alone hands over, so other threads may call in meanwhile; or
  // nothing, so the host allocates nothing on the audio path.
  enum class Recording { EveryCall, PassedOnMidi, Nothing };
  Recording recording = Recording::EveryCall;
  std::vector<HostCall> calls;

  // Closes the instance now rather than at destruction.
  void Close();

  // A text answer of the dispatcher, read from a 256-byte buffer.
  std::string Text(VstInt32 opcode, VstInt32 index = 0);

  std::vector<HostCall> CallsOf(VstInt32 opcode) const;
  int CountOf(VstInt32 opcode) const;
  // The opcodes of the gesture and automation calls (begin, automate, end), in order.
  std::vector<VstInt32> EditOpcodes() const;
  // Blocks of 512 frames of the same tone on both channels, through processReplacing.
  void ProcessTone(float amplitude, int blocks);
  // MIDI events the plug-in passed back, across all calls.
  std::vector<VstMidiEvent> PassedOnEvents() const;

  // Calls made into any host before it could know the effect record (none are expected).
  static int CallsBeforeRecordKnown();

private:
  static VstIntPtr VSTCALLBACK Callback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                        VstIntPtr value, void* ptr, float opt);
  VstIntPtr Answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
};

// Stereo buffers in the layout the process entries take.
template <typename Sample> struct StereoBuffers {
  explicit StereoBuffers(int frames, Sample fill = 0)
      : left(frames, fill), right(frames, fill), outLeft(frames, fill), outRight(frames, fill) {}
  std::vector<Sample> left, right, outLeft, outRight;
  Sample* in[2];
  Sample* out[2];
  Sample** Inputs() {
    in[0] = left.data();
    in[1] = right.data();
    return in;
  }
  Sample** Outputs() {
    out[0] = outLeft.data();
    out[1] = outRight.data();
    return out;
  }
};
