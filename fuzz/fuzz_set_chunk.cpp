// effSetChunk with program and bank blocks from the fuzzer, through the dispatcher.
// Input: one byte choosing the kind (bit 0 set: program block, clear: bank), then the block.
#include "fuzz/FuzzBytes.h"
#include "fuzz/FuzzChecks.h"
#include "fuzz/FuzzHost.h"
#include "fuzz/ReusedPlugin.h"

#include <cstring>

namespace {
constexpr int BlockFrames = 64;

std::vector<uint8_t> SavedChunk(FuzzHost& host, bool program) {
  void* data = nullptr;
  const VstIntPtr size = host.Dispatch(effGetChunk, program ? 1 : 0, 0, &data);
  FuzzCheck(size > 0 && data != nullptr, "a state block can always be saved");
  const auto* bytes = static_cast<const uint8_t*>(data);
  return std::vector<uint8_t>(bytes, bytes + size);
}

// Loads a copy of block: the plug-in may keep reading only what it was given.
VstIntPtr Load(FuzzHost& host, bool program, const std::vector<uint8_t>& block) {
  std::vector<uint8_t> copy(block);
  return host.Dispatch(effSetChunk, program ? 1 : 0, static_cast<VstIntPtr>(copy.size()),
                       copy.empty() ? nullptr : copy.data());
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzBytes bytes(data, size);
  const bool program = (bytes.Take<uint8_t>() & 1) != 0;
  const std::vector<uint8_t> block = bytes.TakeRest();

  static ReusedPlugin plugin(BlockFrames);
  ReusedPlugin::Loan loan(plugin, data, size);
  FuzzHost& host = loan.Host();
  Load(host, program, block);
  CheckPluginSane(host);

  // Whatever was loaded, what the plug-in saves then loads back and saves again unchanged:
  // a project stored after a bad load still reopens as it was.
  for (const bool kind : {true, false}) {
    const std::vector<uint8_t> saved = SavedChunk(host, kind);
    FuzzCheck(Load(host, kind, saved) == 1, "a saved block loads");
    const std::vector<uint8_t> again = SavedChunk(host, kind);
    FuzzCheck(Load(host, kind, again) == 1, "a saved block loads twice");
    FuzzCheck(SavedChunk(host, kind) == again, "a saved block round-trips");
  }
  CheckPluginSane(host);
  return 0;
}
