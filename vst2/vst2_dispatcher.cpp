#include "vst2/IVst2Plugin.h"

#include "plugin/ParameterText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>

namespace {
constexpr VstIntPtr EffectIdentity = 0x4E764566; // 'NvEf'
constexpr VstIntPtr VstVersion = 2400;
constexpr VstIntPtr HostExtensionAnswer = 0xBEEF;
constexpr VstIntPtr CapabilityExtensionAnswer = static_cast<VstIntPtr>(0xBEEF0000u);

// Copies text into a host buffer of capacity bytes, cut so the terminator always fits.
void CopyToHost(void* destination, const char* text, int capacity) {
  const size_t length = text ? strnlen(text, static_cast<size_t>(capacity - 1)) : 0;
  char* out = static_cast<char*>(destination);
  if (length > 0) {
    std::memcpy(out, text, length);
  }
  out[length] = '\0';
}

} // namespace

VstIntPtr VSTCALLBACK IVst2Plugin::VSTDispatcher(AEffect* record, VstInt32 opcode, VstInt32 index,
                                                 VstIntPtr value, void* ptr, float opt) {
  IVst2Plugin* plugin = FromEffect(record);
  if (!plugin) {
    return 0;
  }
  if (opcode == effClose) {
    // Wait for any call still inside the object, then let go before it disappears.
    plugin->pluginLock.Enter();
    plugin->pluginLock.Leave();
    delete plugin;
    return 0;
  }
  if (opcode == effEditIdle) {
    // The editor's window work runs on the host's GUI thread without the lock; every other
    // opcode touches the plug-in's own state.
    plugin->IdleEditor();
    return 0;
  }
  IScopedLock guard(plugin->pluginLock);
  try {
    return plugin->Dispatch(opcode, index, value, ptr, opt);
  } catch (const std::bad_alloc&) {
    // Nothing may unwind into the host.
    return 0;
  }
}

VstIntPtr IVst2Plugin::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                float opt) {
  IParameter* parameter = Parameter(index);
  switch (opcode) {
  case effOpen:
    OpenForHost();
    return 0;
  case effSetProgram:
    SelectProgram(value);
    return 0;
  case effGetProgram:
    return currentPreset;
  case effSetProgramName:
    if (ptr) {
      ModifyCurrentPreset(static_cast<const char*>(ptr));
      OnHostPresetChange();
    }
    return 0;
  case effGetProgramName:
    if (ptr) {
      const IPresetSlot* slot = Preset(currentPreset);
      CopyToHost(ptr, slot ? slot->name : "", kVstProgramNameBytes);
    }
    return 0;
  case effGetParamLabel:
    if (ptr && parameter) {
      CopyToHost(ptr, parameter->UnitLabel(), kVstParamTextBytes);
    }
    return 0;
  case effGetParamDisplay:
    if (ptr && parameter) {
      parameter->FormatValue(parameter->Value(), false, static_cast<char*>(ptr), kVstParamTextBytes,
                             true);
    }
    return 0;
  case effGetParamName:
    if (ptr && parameter) {
      CopyToHost(ptr, parameter->Name(), kVstParamTextBytes);
    }
    return 0;
  case effSetSampleRate:
    // The rate is kept only when it is one; the reset runs either way.
    if (std::isfinite(opt) && opt > 0.0f) {
      sampleRate = opt;
    }
    OnReset();
    return 0;
  case effSetBlockSize:
    // A size below one frame is ignored: the buffers keep serving the size announced before.
    if (value >= 1) {
      SetMaxBlockFrames(LimitedBlockFrames(value));
    }
    OnReset();
    return 0;
  case effMainsChanged:
    OnActivation(value != 0);
    if (value == 0) {
      OnReset();
    }
    return 0;
  case effEditGetRect:
  case effEditOpen:
  case effEditClose:
    return DispatchEditor(opcode, ptr);
  case effEditKeyDown:
  case effEditKeyUp:
    return DispatchEditorKey(opcode == effEditKeyDown, index, value);
  case effIdentify:
    return EffectIdentity;
  case effGetChunk:
    return GetChunk(index != 0, ptr);
  case effSetChunk:
    return SetChunk(index != 0, value, ptr);
  case effProcessEvents:
    if (!ptr) {
      return 0;
    }
    TakeHostEvents(static_cast<const VstEvents*>(ptr));
    return 1;
  case effCanBeAutomated:
    return 1;
  case effString2Parameter:
    return StringToParameter(index, static_cast<const char*>(ptr));
  case effGetProgramNameIndexed: {
    if (!ptr) {
      return 0;
    }
    const IPresetSlot* slot = Preset(index);
    CopyToHost(ptr, slot ? slot->name : "", kVstProgramNameBytes);
    return static_cast<const char*>(ptr)[0] != '\0' ? 1 : 0;
  }
  case effGetInputProperties:
  case effGetOutputProperties:
    return PinProperties(opcode == effGetOutputProperties, index,
                         static_cast<VstPinProperties*>(ptr));
  case effGetPlugCategory:
    return isInstrument ? kPlugCategSynth : kPlugCategEffect;
  case effSetSpeakerArrangement:
    ConnectFromArrangement(false, reinterpret_cast<const VstSpeakerArrangement*>(value));
    ConnectFromArrangement(true, static_cast<const VstSpeakerArrangement*>(ptr));
    return 1;
  case effGetEffectName:
    if (!ptr) {
      return 0;
    }
    CopyToHost(ptr, effectName, kVstEffectNameBytes);
    return 1;
  case effGetVendorString:
    if (!ptr) {
      return 0;
    }
    CopyToHost(ptr, vendorName, kVstVendorTextBytes);
    return 1;
  case effGetProductString:
    if (!ptr) {
      return 0;
    }
    CopyToHost(ptr, productName, kVstProductTextBytes);
    return 1;
  case effVendorSpecific:
    return VendorSpecific(index, value, ptr, opt);
  case effCanDo:
    return CanDo(static_cast<const char*>(ptr));
  case effGetVstVersion:
    return VstVersion;
  case effGetMidiKeyName:
    return MidiKeyNameFor(static_cast<MidiKeyName*>(ptr));
  case effGetSpeakerArrangement:
    if (value) {
      *reinterpret_cast<VstSpeakerArrangement**>(value) = &inputArrangement;
    }
    if (ptr) {
      *static_cast<VstSpeakerArrangement**>(ptr) = &outputArrangement;
    }
    return 1;
  default:
    return 0;
  }
}

void IVst2Plugin::OpenForHost() {
  FirstOpenSetup();
  for (int i = 0; i < ParameterCount(); ++i) {
    OnParameterChanged(i);
  }
}

void IVst2Plugin::SelectProgram(VstIntPtr program) {
  if (!usesStateBlocks) {
    ModifyCurrentPreset();
  }
  const bool fitsInt =
      program >= std::numeric_limits<int>::min() && program <= std::numeric_limits<int>::max();
  SelectPreset(fitsInt ? static_cast<int>(program) : -1);
}

VstIntPtr IVst2Plugin::StringToParameter(int index, const char* text) {
  IParameter* parameter = Parameter(index);
  if (!parameter) {
    return 0;
  }
  if (!text) {
    return 1;
  }
  double value = 0.0;
  if (!ParameterValueFromText(*parameter, text, &value)) {
    return 0;
  }
  SetParameterFromHost(index, value, ParameterUnits::Real, EditorEcho::Show);
  return 1;
}

VstIntPtr IVst2Plugin::PinProperties(bool output, int index, VstPinProperties* properties) {
  const int count = output ? OutputCount() : InputCount();
  if (!properties || index < 0 || index >= count) {
    return 0;
  }
  const std::string& label = output ? Output(index)->label : Input(index)->label;
  if (label.empty()) {
    std::snprintf(properties->label, sizeof(properties->label), output ? "Output %d" : "Input %d",
                  index + 1);
  } else {
    CopyToHost(properties->label, label.c_str(), sizeof(properties->label));
  }
  properties->flags = kVstPinIsActive;
  if (index % 2 == 0 && index < count - 1) {
    properties->flags |= kVstPinIsStereo;
  }
  return 1;
}

void IVst2Plugin::ConnectFromArrangement(bool output, const VstSpeakerArrangement* arrangement) {
  if (!arrangement) {
    return;
  }
  const int count = output ? OutputCount() : InputCount();
  const int used = std::clamp<int>(arrangement->numChannels, 0, count);
  if (output) {
    ConnectOutputs(0, used, true);
    ConnectOutputs(used, count - used, false);
  } else {
    ConnectInputs(0, used, true);
    ConnectInputs(used, count - used, false);
  }
}

VstIntPtr IVst2Plugin::VendorSpecific(int index, VstIntPtr value, void* ptr, float opt) {
  const bool fitsInt = value >= 0 && value <= std::numeric_limits<int>::max();
  const IParameter* parameter = fitsInt ? Parameter(static_cast<int>(value)) : nullptr;
  if (index == effGetParamDisplay) {
    if (!ptr) {
      return 0;
    }
    if (parameter) {
      // The host's normalised value, limited to 0..1 so the text stays a value of the range.
      const double normalized = std::isnan(opt) ? 0.0 : std::clamp<double>(opt, 0.0, 1.0);
      parameter->FormatValue(normalized, true, static_cast<char*>(ptr), kVstParamTextBytes, true);
    }
    return HostExtensionAnswer;
  }
  if (index == effGetParamName) {
    return parameter && parameter->Kind() != IParameter::KindContinuous ? HostExtensionAnswer : 0;
  }
  return 0;
}

VstIntPtr IVst2Plugin::CanDo(const char* capability) const {
  if (!capability) {
    return 0;
  }
  if (std::strcmp(capability, "receiveVstTimeInfo") == 0) {
    return 1;
  }
  for (const char* midiCapability :
       {"sendVstEvents", "sendVstMidiEvent", "receiveVstEvents", "receiveVstMidiEvent"}) {
    if (std::strcmp(capability, midiCapability) == 0) {
      return wantsMidi ? 1 : 0;
    }
  }
  if (std::strcmp(capability, "hasHostExtensions") == 0 ||
      std::strcmp(capability, "hasHostViewAsConfig") == 0) {
    return CapabilityExtensionAnswer;
  }
  return 0;
}

VstIntPtr IVst2Plugin::MidiKeyNameFor(MidiKeyName* key) {
  if (!key) {
    return 0;
  }
  std::memset(key->keyName, 0, sizeof(key->keyName));
  // The effect may write a longer name than the record holds; the copy is cut to fit.
  char name[256] = {};
  const bool named = NameForMidiKey(key->thisKeyNumber, name);
  name[sizeof(name) - 1] = '\0';
  CopyToHost(key->keyName, name, sizeof(key->keyName));
  return named ? 1 : 0;
}
