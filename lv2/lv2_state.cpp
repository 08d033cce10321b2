#include "lv2/ILv2Plugin.h"

#include "platform/DebugPrint.h"
#include "plugin/StateHeader.h"

#include <lv2/atom/atom.h>

#include <cstring>

namespace {
// Far beyond any bank this plug-in writes; a larger value is not ours.
constexpr uint32_t LargestStateBytes = 1u << 20;
constexpr uint32_t PortableValue = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
} // namespace

// The bank block as the VST 2 binding hands a host the whole bank: the live values are kept in
// the current program first, so the bank alone brings them back.
LV2_State_Status ILv2Plugin::SaveState(LV2_State_Store_Function store, LV2_State_Handle handle) {
  if (!store || !uridMap) {
    return LV2_STATE_ERR_NO_FEATURE;
  }
  IScopedLock guard(pluginLock);
  bool written = WriteStateHeader(&stateBlock);
  if (written) {
    ModifyCurrentPreset();
    written = SerializePresets(&stateBlock);
  }
  if (!written || stateBlock.Size() == 0) {
    return LV2_STATE_ERR_UNKNOWN;
  }
  LV2_State_Status status =
      store(handle, uris.stateBank, stateBlock.Data(), static_cast<size_t>(stateBlock.Size()),
            uris.atomChunk, PortableValue);
  if (status != LV2_STATE_SUCCESS) {
    return status;
  }
  const int32_t program = currentPreset;
  return store(handle, uris.stateProgram, &program, sizeof(program), uris.atomInt, PortableValue);
}

// A state that is missing, of another kind, not ours or cut short changes nothing.
LV2_State_Status ILv2Plugin::RestoreState(LV2_State_Retrieve_Function retrieve,
                                          LV2_State_Handle handle) {
  if (!retrieve || !uridMap) {
    return LV2_STATE_ERR_NO_FEATURE;
  }
  size_t size = 0;
  uint32_t type = 0;
  uint32_t flags = 0;
  const void* bank = retrieve(handle, uris.stateBank, &size, &type, &flags);
  if (!bank) {
    // Hosts restore this when they apply a preset of port values only: a note, not a warning.
    Report(LogLevel::Note, "Ombrix: the state holds no programs; nothing was changed.\n");
    return LV2_STATE_ERR_NO_PROPERTY;
  }
  if (type != uris.atomChunk || size == 0 || size > LargestStateBytes) {
    Report(LogLevel::Warning,
           "Ombrix: the state's programs are not a bank block; nothing was changed.\n");
    return LV2_STATE_ERR_BAD_TYPE;
  }
  IScopedLock guard(pluginLock);
  if (!ApplyBank(bank, static_cast<uint32_t>(size))) {
    return LV2_STATE_ERR_UNKNOWN;
  }
  size_t programSize = 0;
  uint32_t programType = 0;
  const void* program = retrieve(handle, uris.stateProgram, &programSize, &programType, &flags);
  ApplyProgram(program, static_cast<uint32_t>(programSize), programType);
  RefreshParameterControls();
  controlsBaselineOnly = true;
  return LV2_STATE_SUCCESS;
}

// The bank is read as the VST 2 binding reads a bank block; when it runs short, what was read
// is taken back by reloading the programs and values held before.
bool ILv2Plugin::ApplyBank(const void* data, uint32_t size) {
  if (!stateBlock.Resize(static_cast<int>(size))) {
    Report(LogLevel::Warning, "Ombrix: no memory for the state's programs; nothing was changed.\n");
    return false;
  }
  std::memcpy(stateBlock.Data(), data, size);
  int position = 0;
  if (ReadStateHeader(&stateBlock, &position) < stateVersion) {
    Report(LogLevel::Warning,
           "Ombrix: the state's programs are not an Ombrix bank; nothing was changed.\n");
    return false;
  }
  IByteBlock heldPrograms;
  IByteBlock heldValues;
  if (!SerializePresets(&heldPrograms) || !SerializeParams(&heldValues)) {
    Report(LogLevel::Warning,
           "Ombrix: no memory to keep the programs while reading; nothing was changed.\n");
    return false;
  }
  if (UnserializePresets(&stateBlock, position) >= 0) {
    return true;
  }
  UnserializePresets(&heldPrograms, 0);
  UnserializeParams(&heldValues, 0);
  Report(LogLevel::Warning, "Ombrix: the state's programs are cut short; nothing was changed.\n");
  return false;
}

// A program number that is missing or out of range leaves the program the bank selected.
void ILv2Plugin::ApplyProgram(const void* data, uint32_t size, uint32_t type) {
  if (!data || type != uris.atomInt || size != sizeof(int32_t)) {
    return;
  }
  int32_t program = 0;
  std::memcpy(&program, data, sizeof(program));
  SelectPreset(program);
}

// Without the host's log the message goes where the plug-in's other diagnostics go.
void ILv2Plugin::Report(LogLevel level, const char* message) {
  if (!logger.log) {
    DebugPrint("%s", message);
  } else if (level == LogLevel::Note) {
    lv2_log_note(&logger, "%s", message);
  } else {
    lv2_log_warning(&logger, "%s", message);
  }
}
