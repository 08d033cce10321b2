#pragma once

#include "fuzz/Lv2FuzzHost.h"
#include "fuzz/ResetCheck.h"

#include <cstddef>
#include <cstdint>
#include <memory>

// ReusedPlugin's counterpart for the LV2 binding: one instance for all inputs, brought back after
// each to the state of one just made, through the descriptor and the state interface, and through
// the effect's ReturnToRest for the MIDI still queued and the meters. When ResetCheck says so it
// is compared with a newly made instance (Lv2Observation); any difference fails the run.
class ReusedLv2Plugin {
public:
  ReusedLv2Plugin() = default;
  ReusedLv2Plugin(const ReusedLv2Plugin&) = delete;
  ReusedLv2Plugin& operator=(const ReusedLv2Plugin&) = delete;

  // The instance lent to one input, reset within it when the loan ends (see ReusedPlugin::Loan).
  class Loan {
  public:
    Loan(ReusedLv2Plugin& owner, const uint8_t* data, size_t size);
    ~Loan();
    Loan(const Loan&) = delete;
    Loan& operator=(const Loan&) = delete;
    Lv2FuzzHost& Host() { return *owner.host; }

  private:
    ReusedLv2Plugin& owner;
    const uint8_t* data;
    size_t size;
  };

private:
  void Reset();
  void CheckAgainstNewPlugin(const uint8_t* input, size_t size);

  ResetCheck check;
  std::unique_ptr<Lv2FuzzHost> host;
  Lv2FuzzHost::State freshState;
};

// The MIDI events the effect behind an instance holds for later runs.
int WaitingMidiEvents(LV2_Handle instance);

// Outputs of the last run: audio finite and within +-1, control outputs finite.
void CheckLv2Outputs(const Lv2FuzzHost& host, int frames);
