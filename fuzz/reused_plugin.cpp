#include "fuzz/ReusedPlugin.h"

#include "fuzz/PluginObservation.h"
#include "fuzz/PluginRest.h"

namespace {
constexpr float SampleRate = 44100.0f;
} // namespace

ReusedPlugin::ReusedPlugin(int blockFrames) : blockFrames(blockFrames) {}

ReusedPlugin::Loan::Loan(ReusedPlugin& owner, const uint8_t* data, size_t size)
    : owner(owner), data(data), size(size) {
  if (!owner.host) {
    owner.Make();
  }
}

ReusedPlugin::Loan::~Loan() {
  owner.Reset();
  if (owner.check.Due()) {
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
  ResetCheck::FailOnDifference(PluginObservation::FirstDifference(PluginObservation::Of(*host),
                                                                  PluginObservation::Of(newPlugin)),
                               input, size);
}
