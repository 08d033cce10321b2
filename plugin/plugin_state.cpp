#include "plugin/AudioPlugin.h"

#include "plugin/StateHeader.h"

#include <cstring>

bool IAudioPlugin::SaveStateBlock(StateBlockKind kind, IByteBlock* block) {
  IScopedLock guard(pluginLock);
  if (!WriteStateHeader(block)) {
    return false;
  }
  bool written = false;
  if (kind == StateBlockKind::Program) {
    written = SerializeParams(block);
  } else {
    // The live values go into the current program first, so the bank alone brings them back.
    ModifyCurrentPreset();
    written = SerializePresets(block);
  }
  return written && block->Size() > 0;
}

// The host's pointer cannot be trusted for more bytes than a state of ours can have, and an
// empty block holds no state (read as a short one it would zero the first parameter).
StateLoadResult IAudioPlugin::LoadStateBlock(StateBlockKind kind, const void* data, int64_t size,
                                             OlderBlocks older, ShortBlocks shortBlocks,
                                             IByteBlock* staging) {
  if (!data || size <= 0 || size > LargestStateBytes) {
    return StateLoadResult::Refused;
  }
  IScopedLock guard(pluginLock);
  if (!staging->Resize(static_cast<int>(size))) {
    return StateLoadResult::NoMemory;
  }
  std::memcpy(staging->Data(), data, static_cast<size_t>(size));
  int position = 0;
  const int32_t format = ReadStateHeader(staging, &position);
  const bool isBank = kind == StateBlockKind::Bank && format >= stateVersion;
  if (kind == StateBlockKind::Bank && !isBank && older == OlderBlocks::Refuse) {
    return StateLoadResult::NotABank;
  }
  // What is held now comes back if the block runs short.
  IByteBlock heldPrograms;
  IByteBlock heldValues;
  if (shortBlocks == ShortBlocks::RollBack &&
      (!SerializeParams(&heldValues) || (isBank && !SerializePresets(&heldPrograms)))) {
    return StateLoadResult::NoMemory;
  }
  const int end =
      isBank ? UnserializePresets(staging, position) : UnserializeParams(staging, position);
  if (end < 0 && shortBlocks == ShortBlocks::RollBack) {
    if (isBank) {
      UnserializePresets(&heldPrograms, 0);
    }
    UnserializeParams(&heldValues, 0);
    return StateLoadResult::CutShort;
  }
  // A program block's values go into the current program even when the block ran short: what
  // VST 2 hosts have always seen with KeepWhatWasRead.
  if (!isBank) {
    ModifyCurrentPreset();
  }
  if (end < 0) {
    return StateLoadResult::CutShort;
  }
  RefreshParameterControls();
  return StateLoadResult::Loaded;
}
