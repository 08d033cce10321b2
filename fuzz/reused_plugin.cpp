#include "fuzz/ReusedPlugin.h"

#include "fuzz/PluginObservation.h"
#include "fuzz/PluginRest.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
constexpr float SampleRate = 44100.0f;
constexpr char ArtifactPrefixFlag[] = "-artifact_prefix=";
constexpr char LeftoverName[] = "reset-leftover-input";

std::string& LeftoverFile() {
  static std::string file = LeftoverName;
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
      LeftoverFile() = argument.substr(flag.size()) + LeftoverName;
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
  // Saving the bank first stores the live values into the current program, so this bank holds
  // them there, where a new plug-in still holds the factory values. No host sees the difference:
  // every way to look at the current program's stored values stores the live ones first.
  freshBank = host->SaveChunk(false);
  FuzzCheck(!freshBank.empty(), "a fresh plug-in saves its bank");
}

// First what no host call reaches: the MIDI events still queued and the meter levels. Then the
// sample rate and block size (each also compacts the queue and sizes it for the block), a block of
// no frames (the meters show their rest), processing off and on, program 0 and the fresh bank,
// whose load brings back every program's name and values, re-selects the current program (so
// program 0 comes first) and with it the parameters, and shows them on the editor.
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
