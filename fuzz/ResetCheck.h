#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// When a fuzzer that keeps one plug-in for all its inputs compares it, just reset, with a newly
// made one: after the first reset and then every DefaultCheckInterval resets (set
// OMBRIX_FUZZ_CHECK_EVERY=N to change it; 1 checks after every input).
class ResetCheck {
public:
  static constexpr long DefaultCheckInterval = 8192;

  ResetCheck();

  // Counts one reset; true when the comparison is due after it.
  bool Due() { return resets++ % interval == 0; }

  // Where a failed comparison writes the input before the reset: libFuzzer's -artifact_prefix
  // (from the command line), then "reset-leftover-input".
  static void TakeArtifactPrefix(int argc, char** argv);

  // With a difference (Observation::FirstDifference) the run fails, leaving the input behind.
  static void FailOnDifference(const std::string& difference, const uint8_t* input, size_t size);

private:
  long interval;
  long resets = 0;
};
