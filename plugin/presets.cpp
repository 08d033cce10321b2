#include "plugin/AudioPlugin.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {
const char userPresetText[] = "user preset";
} // namespace

void IPresetSlot::SetName(const char* text) {
  std::snprintf(name, sizeof(name), "%s", text ? text : "");
}

bool IAudioPlugin::SerializeParams(IByteBlock* block) {
  IScopedLock guard(pluginLock);
  for (const IParameter& parameter : parameters) {
    if (!block->AppendDouble(parameter.Value())) {
      return false;
    }
  }
  return true;
}

int IAudioPlugin::UnserializeParams(const IByteBlock* block, int position) {
  IScopedLock guard(pluginLock);
  for (size_t i = 0; i < parameters.size() && position >= 0; ++i) {
    double stored = 0.0;
    position = block->ReadDouble(position, &stored);
    parameters[i].SetClamped(stored);
  }
  for (int i = 0; i < ParameterCount(); ++i) {
    OnParameterChanged(i);
  }
  return position;
}

bool IAudioPlugin::SelectPreset(int index) {
  IPresetSlot* slot = Preset(index);
  if (!slot) {
    return false;
  }
  bool selected = false;
  if (slot->defined) {
    selected = UnserializeParams(&slot->state, 0) > 0;
  } else {
    slot->defined = true;
    int userPresets = 0;
    for (const IPresetSlot& other : presets) {
      if (std::strstr(other.name, userPresetText)) {
        ++userPresets;
      }
    }
    std::snprintf(slot->name, sizeof(slot->name), "%s %d", userPresetText, userPresets + 1);
    // The slot may still hold values from before a bank marked it undefined.
    slot->state.Clear();
    selected = SerializeParams(&slot->state);
  }
  if (selected) {
    currentPreset = index;
    OnHostPresetChange();
    RefreshParameterControls();
  }
  return selected;
}

void IAudioPlugin::DefinePreset(const char* name, ...) {
  IPresetSlot* slot = nullptr;
  for (IPresetSlot& candidate : presets) {
    if (!candidate.defined) {
      slot = &candidate;
      break;
    }
  }
  if (!slot) {
    return;
  }
  slot->defined = true;
  slot->SetName(name);
  slot->state.Clear();
  va_list values;
  va_start(values, name);
  for (const IParameter& parameter : parameters) {
    const double value = IParameter::IsIntegerKind(parameter.Kind())
                             ? static_cast<double>(va_arg(values, int))
                             : va_arg(values, double);
    slot->state.AppendDouble(value);
  }
  va_end(values);
}

void IAudioPlugin::ModifyCurrentPreset(const char* name) {
  IPresetSlot* slot = Preset(currentPreset);
  if (!slot) {
    return;
  }
  slot->state.Clear();
  SerializeParams(&slot->state);
  if (name && name[0] != '\0') {
    slot->SetName(name);
  }
}

bool IAudioPlugin::SerializePresets(IByteBlock* block) {
  for (const IPresetSlot& slot : presets) {
    const int32_t length = static_cast<int32_t>(std::strlen(slot.name));
    const bool written =
        block->AppendInt32(length) && block->AppendBytes(slot.name, length) &&
        block->AppendByte(slot.defined ? 1 : 0) &&
        (!slot.defined || block->AppendBytes(slot.state.Data(), slot.state.Size()));
    if (!written) {
      return false;
    }
  }
  return true;
}

int IAudioPlugin::UnserializePresets(const IByteBlock* block, int position) {
  char workingName[sizeof(IPresetSlot::name)] = {};
  for (IPresetSlot& slot : presets) {
    if (position < 0) {
      break;
    }
    int32_t length = 0;
    const int afterLength = block->ReadInt32(position, &length);
    if (afterLength < 0 || length < 0 || !block->Holds(afterLength, length)) {
      // A length that is negative or reaches past the block is data running short.
      position = -1;
    } else {
      if (length > 0) {
        const char* stored = reinterpret_cast<const char*>(block->Data() + afterLength);
        const void* terminator = std::memchr(stored, '\0', static_cast<size_t>(length));
        const size_t characters =
            terminator ? static_cast<size_t>(static_cast<const char*>(terminator) - stored)
                       : static_cast<size_t>(length);
        const size_t kept = std::min(characters, sizeof(workingName) - 1);
        std::memcpy(workingName, stored, kept);
        workingName[kept] = '\0';
      }
      position = afterLength + length;
    }
    slot.SetName(workingName);

    uint8_t defined = 0;
    position = block->ReadByte(position, &defined);
    if (position < 0) {
      break;
    }
    slot.defined = defined != 0;
    if (slot.defined) {
      position = UnserializeParams(block, position);
      if (position > 0) {
        slot.state.Clear();
        SerializeParams(&slot.state);
      }
    }
  }
  SelectPreset(currentPreset);
  return position;
}
