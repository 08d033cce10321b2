#pragma once

#include "fuzz/FuzzHost.h"
#include "fuzz/ResetCheck.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// The one plug-in a fuzzing process keeps for all its inputs: making one per input costs more
// than the input itself. After each input it is brought back to the state of one just made and
// opened, through host calls, and through the effect's ReturnToRest for the little no host call
// reaches (PluginRest.h). When ResetCheck says so, what a host can see of it is compared with a
// newly made plug-in (PluginObservation); any difference fails the run.
class ReusedPlugin {
public:
  explicit ReusedPlugin(int blockFrames);
  ReusedPlugin(const ReusedPlugin&) = delete;
  ReusedPlugin& operator=(const ReusedPlugin&) = delete;

  // The plug-in lent to one input, reset when the loan ends. The reset runs within the input, so
  // what the input made the plug-in allocate is released within it too: libFuzzer suspects a leak
  // (and scans the whole heap) after an input that allocates more than it releases.
  class Loan {
  public:
    Loan(ReusedPlugin& owner, const uint8_t* data, size_t size);
    ~Loan();
    Loan(const Loan&) = delete;
    Loan& operator=(const Loan&) = delete;
    FuzzHost& Host() { return *owner.host; }

  private:
    ReusedPlugin& owner;
    const uint8_t* data;
    size_t size;
  };

private:
  void Make();
  void Reset();
  // input: the one whose leftovers the reset had to clear, written out when the check fails.
  void CheckAgainstNewPlugin(const uint8_t* input, size_t size);

  int blockFrames;
  ResetCheck check;
  std::unique_ptr<FuzzHost> host;
  std::vector<unsigned char> freshBank;
};
