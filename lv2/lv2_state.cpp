#include "lv2/ILv2Plugin.h"

#include "platform/DebugPrint.h"

#include <lv2/atom/atom.h>

#include <cstring>

namespace {
constexpr uint32_t PortableValue = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
} // namespace

// The bank block, which brings back every program and the live values, and the current program.
LV2_State_Status ILv2Plugin::SaveState(LV2_State_Store_Function store, LV2_State_Handle handle) {
  if (!store || !uridMap) {
    return LV2_STATE_ERR_NO_FEATURE;
  }
  IScopedLock guard(pluginLock);
  if (!SaveStateBlock(StateBlockKind::Bank, &stateBlock)) {
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
  if (type != uris.atomChunk) {
    Report(LogLevel::Warning,
           "Ombrix: the state's programs are not a bank block; nothing was changed.\n");
    return LV2_STATE_ERR_BAD_TYPE;
  }
  IScopedLock guard(pluginLock);
  switch (LoadStateBlock(StateBlockKind::Bank, bank, static_cast<int64_t>(size),
                         OlderBlocks::Refuse, ShortBlocks::RollBack, &stateBlock)) {
  case StateLoadResult::Loaded:
    break;
  case StateLoadResult::Refused:
    Report(LogLevel::Warning,
           "Ombrix: the state's programs are not a bank block; nothing was changed.\n");
    return LV2_STATE_ERR_BAD_TYPE;
  case StateLoadResult::NotABank:
    Report(LogLevel::Warning,
           "Ombrix: the state's programs are not an Ombrix bank; nothing was changed.\n");
    return LV2_STATE_ERR_UNKNOWN;
  case StateLoadResult::NoMemory:
    Report(LogLevel::Warning, "Ombrix: no memory for the state's programs; nothing was changed.\n");
    return LV2_STATE_ERR_UNKNOWN;
  case StateLoadResult::CutShort:
    Report(LogLevel::Warning, "Ombrix: the state's programs are cut short; nothing was changed.\n");
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
