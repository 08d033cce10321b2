#include "fuzz/ReusedPlugin.h"

#include "fuzz/PluginObservation.h"
#include "fuzz/PluginRest.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
constexpr float SampleRate = 44100.0f;
constexpr char ArtifactPrefixFlag[] = "-artifact_prefix=";

std::string& LeftoverFile() {
  static std::string file = "reset-leftover-input";
  return file;
}

long CheckIntervalFromEnvironment() {
  const char* text = std::getenv("OMBRIX_FUZZ_CHECK_EVERY");
  const long interval = text ? std::strtol(text, nullptr, 10) : 0;
  return interval > 0 ? interval : ReusedPlugin::DefaultCheckInterval;
}
} // namespace

void ReusedPlugin::TakeArtifactPrefix(int argc, char** argv) {
  const std::string flag = ArtifactPrefixFlag;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument.compare(0, flag.size(), flag) == 0) {
      LeftoverFile() = argument.substr(flag.size()) + "reset-leftover-input";
    }
  }
}

ReusedPlugin::ReusedPlugin(int blockFrames)
    : blockFrames(blockFrames), checkInterval(CheckIntervalFromEnvironment()) {}

ReusedPlugin::Loan::Loan(ReusedPlugin& owner, const uint8_t* data, size_t size)
    : owner(owner), data(data), size(size) {
  if (!owner.host) {
    owner.Make();
  }
}

ReusedPlugin::Loan::~Loan() {
  owner.Reset();
  if (owner.resets++ % owner.checkInterval == 0) {
    owner.CheckAgainstNewPlugin(data, size);
    owner.Reset();
  }
}

void ReusedPlugin::Make() {
  host = std::make_unique<FuzzHost>();
  host->Start(blockFrames);
  // Saving a bank first stores the live values into the current program, as every later look at
  // that program does too, so the bank is all a host can tell of the programs.
  freshBank = host->SaveChunk(false);
  FuzzCheck(!freshBank.empty(), "a fresh plug-in saves its bank");
}

// Host calls where they reach: the sample rate and block size (each also compacts the MIDI queue
// and sizes it for the block), processing off and on, program 0 chosen before the bank (whose load
// re-selects the current program) and the fresh bank, which brings back every program's name and
// values and with program 0 the parameters, and shows them on the editor. The rest first: the
// queue emptied before the block size sizes it, the meters at rest before a block of no frames
// shows them.
void ReusedPlugin::Reset() {
  ReturnPluginToRest(host->effect);
  host->Dispatch(effSetSampleRate, 0, 0, nullptr, SampleRate);
  host->Dispatch(effSetBlockSize, 0, blockFrames);
  host->Process(0);
  host->Dispatch(effMainsChanged, 0, 0);
  host->Dispatch(effMainsChanged, 0, 1);
  if (host->Dispatch(effGetProgram) != 0) {
    host->Dispatch(effSetProgram, 0, 0);
  }
  FuzzCheck(host->LoadChunk(false, freshBank) == 1, "a fresh plug-in's bank loads");
  host->ForgetEvents();
}

void ReusedPlugin::CheckAgainstNewPlugin(const uint8_t* input, size_t size) {
  FuzzHost newPlugin;
  newPlugin.Start(blockFrames);
  const std::string difference = PluginObservation::FirstDifference(
      PluginObservation::Of(*host), PluginObservation::Of(newPlugin));
  if (difference.empty()) {
    return;
  }
  if (std::FILE* file = std::fopen(LeftoverFile().c_str(), "wb")) {
    std::fwrite(input, 1, size, file);
    std::fclose(file);
  }
  std::fprintf(
      stderr,
      "the reset plug-in differs from a new one in %s; the input before the reset is in %s "
      "(with OMBRIX_FUZZ_CHECK_EVERY=1 it is the one that left that behind)\n",
      difference.c_str(), LeftoverFile().c_str());
  FuzzCheck(false, "a reset plug-in looks like a new one");
}
