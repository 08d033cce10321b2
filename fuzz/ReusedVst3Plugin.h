#pragma once

#include "fuzz/ResetCheck.h"
#include "tests/vst3/Vst3TestHost.h"
#include "vst3/IVst3Plugin.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// The VST 3 binding's processor side and controller, made as the module's factory makes them,
// with the test host's parameter and event lists and stereo buffers of a test signal within +-1.
class Vst3FuzzHost {
public:
  static constexpr int MaxFrames = 4096;

  Vst3FuzzHost();
  ~Vst3FuzzHost();
  Vst3FuzzHost(const Vst3FuzzHost&) = delete;
  Vst3FuzzHost& operator=(const Vst3FuzzHost&) = delete;

  // One process call of frames (0: a flush without buffers) with the queued changes and events,
  // which are cleared; the outputs and the events passed back stay for inspection.
  void Process(int frames, bool doublePrecision);
  std::vector<uint8_t> SaveState();

  std::shared_ptr<IVst3Plugin> plugin;
  vst3::IEditController* controller = nullptr;
  vst3host::ParameterChanges changes;
  vst3host::EventList inputEvents;
  vst3host::EventList outputEvents;
  std::vector<float> floatOut[2];
  std::vector<double> doubleOut[2];
  int lastFrames = 0;

private:
  std::vector<float> floatIn[2];
  std::vector<double> doubleIn[2];
};

// ReusedPlugin's counterpart for the VST 3 binding: one host for all inputs, brought back after
// each to the state of one just made (the state it saved then, the effect's ReturnToRest for the
// MIDI still queued and the meters, the bypass fade run out). When ResetCheck says so it is
// compared with a new host; any difference fails the run.
class ReusedVst3Plugin {
public:
  ReusedVst3Plugin() = default;
  ReusedVst3Plugin(const ReusedVst3Plugin&) = delete;
  ReusedVst3Plugin& operator=(const ReusedVst3Plugin&) = delete;

  class Loan {
  public:
    Loan(ReusedVst3Plugin& owner, const uint8_t* data, size_t size);
    ~Loan();
    Loan(const Loan&) = delete;
    Loan& operator=(const Loan&) = delete;
    Vst3FuzzHost& Host() { return *owner.host; }

  private:
    ReusedVst3Plugin& owner;
    const uint8_t* data;
    size_t size;
  };

private:
  void Reset();

  ResetCheck check;
  std::unique_ptr<Vst3FuzzHost> host;
  std::vector<uint8_t> freshState;
};

// The last call's outputs: audio finite and within +-1, events passed back within the call.
void CheckVst3Outputs(const Vst3FuzzHost& host);
