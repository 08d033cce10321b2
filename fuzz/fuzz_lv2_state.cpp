// The LV2 state interface's restore with the bank property and the program number from the
// fuzzer, then save and restore round trips.
// Input: a flags byte (bit 0: the bank is there, bit 1: it is of another type than a chunk,
// bit 2: the program is there, bit 3: it is a byte short), an int32 program number,
// then the bank's bytes.
#include "fuzz/FuzzBytes.h"
#include "fuzz/ReusedLv2Plugin.h"
#include "lv2/Lv2Uris.h"

#include <lv2/atom/atom.h>

#include <cstring>

namespace {
constexpr uint8_t BankThere = 1;
constexpr uint8_t BankOtherType = 2;
constexpr uint8_t ProgramThere = 4;
constexpr uint8_t ProgramShort = 8;
constexpr int CheckFrames = 64;

// Restores a copy of the state: the plug-in may keep reading only what it was given.
LV2_State_Status Restore(Lv2FuzzHost& host, const Lv2FuzzHost::State& state) {
  const Lv2FuzzHost::State copy(state);
  return host.Restore(copy);
}

void CheckAfterRun(Lv2FuzzHost& host) {
  host.Run(CheckFrames);
  CheckLv2Outputs(host, CheckFrames);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzBytes bytes(data, size);
  const uint8_t flags = bytes.Take<uint8_t>();
  const int32_t program = bytes.Take<int32_t>();
  const std::vector<uint8_t> bank = bytes.TakeRest();

  static ReusedLv2Plugin plugin;
  ReusedLv2Plugin::Loan loan(plugin, data, size);
  Lv2FuzzHost& host = loan.Host();
  const LV2_URID chunk = host.Map(LV2_ATOM__Chunk);
  const LV2_URID integer = host.Map(LV2_ATOM__Int);
  const LV2_URID bankKey = host.Map(StateBankKey().c_str());
  const LV2_URID programKey = host.Map(StateProgramKey().c_str());

  Lv2FuzzHost::State state;
  if (flags & BankThere) {
    state[bankKey] = {bank, (flags & BankOtherType) ? integer : chunk, LV2_STATE_IS_POD};
  }
  if (flags & ProgramThere) {
    std::vector<uint8_t> value(sizeof(program));
    std::memcpy(value.data(), &program, sizeof(program));
    if (flags & ProgramShort) {
      value.pop_back();
    }
    state[programKey] = {value, integer, LV2_STATE_IS_POD};
  }
  Restore(host, state);
  CheckAfterRun(host);

  // Whatever was restored, what the plug-in saves then restores and saves again unchanged:
  // a session stored after a bad restore still reopens as it was.
  const Lv2FuzzHost::State first = host.Save();
  FuzzCheck(Restore(host, first) == LV2_STATE_SUCCESS, "a saved state restores");
  const Lv2FuzzHost::State again = host.Save();
  FuzzCheck(Restore(host, again) == LV2_STATE_SUCCESS, "a saved state restores twice");
  const Lv2FuzzHost::State third = host.Save();
  for (const auto& [key, property] : again) {
    const auto found = third.find(key);
    FuzzCheck(found != third.end() && found->second.value == property.value &&
                  found->second.type == property.type,
              "a saved state round-trips");
  }
  FuzzCheck(third.size() == again.size(), "a saved state round-trips");
  CheckAfterRun(host);
  return 0;
}
