#include "vst3/IVst3Plugin.h"

#include <cmath>
#include <cstring>

// The component state, all little-endian: the bank block's size, the bank block (every program
// and the live values), the current program and the bypass. It never begins with the tags of a
// VST 2 project (a bank this size would be over a gigabyte), so setState tells the two apart.
namespace {
constexpr int64_t SizeBytes = 4;
constexpr int64_t TailBytes = 8;

void AppendLittle32(std::vector<uint8_t>* bytes, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) {
    bytes->push_back(static_cast<uint8_t>(value >> shift));
  }
}

uint32_t Little32(const uint8_t* at) {
  return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 |
         static_cast<uint32_t>(at[2]) << 16 | static_cast<uint32_t>(at[3]) << 24;
}
} // namespace

bool IVst3Plugin::SaveComponentState(std::vector<uint8_t>* bytes) {
  IByteBlock bank;
  int32_t program = 0;
  {
    IScopedLock guard(pluginLock);
    if (!SaveStateBlock(StateBlockKind::Bank, &bank)) {
      return false;
    }
    program = currentPreset;
  }
  bytes->clear();
  bytes->reserve(static_cast<size_t>(SizeBytes + bank.Size() + TailBytes));
  AppendLittle32(bytes, static_cast<uint32_t>(bank.Size()));
  bytes->insert(bytes->end(), bank.Data(), bank.Data() + bank.Size());
  AppendLittle32(bytes, static_cast<uint32_t>(program));
  AppendLittle32(bytes, Bypassed() ? 1u : 0u);
  return true;
}

bool IVst3Plugin::LoadComponentState(const uint8_t* data, int64_t size) {
  if (!data || size < SizeBytes) {
    return false;
  }
  if (LooksLikeVst2Project(data, size)) {
    return LoadVst2Project(data, size);
  }
  const int64_t bankSize = Little32(data);
  if (bankSize <= 0 || bankSize > LargestStateBytes || size != SizeBytes + bankSize + TailBytes) {
    return false;
  }
  IByteBlock staging;
  IScopedLock guard(pluginLock);
  if (LoadStateBlock(StateBlockKind::Bank, data + SizeBytes, bankSize, OlderBlocks::Refuse,
                     ShortBlocks::RollBack, &staging) != StateLoadResult::Loaded) {
    return false;
  }
  const uint8_t* tail = data + SizeBytes + bankSize;
  // A program number out of range leaves the program the bank selected.
  SelectPreset(static_cast<int32_t>(Little32(tail)));
  SetBypass(Little32(tail + 4) != 0);
  RefreshParameterControls();
  return true;
}
