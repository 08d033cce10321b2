#include "effect/Ombrix.h"

#include "plugin/PluginIdentity.h"

namespace {
constexpr const char* ChannelConfigs = "1-1 2-2";
constexpr int Latency = 0;
constexpr bool KeepsStateBlocks = false;
constexpr bool IsAnInstrument = false;
} // namespace

Ombrix::Ombrix(EffectBinding::Host host)
    : EffectBinding(host, ParamCount, ChannelConfigs, PresetSlots, PluginIdentity().effectName,
                    PluginIdentity().productName, PluginIdentity().vendorName,
                    PluginIdentity().version, PluginIdentity().vst2UniqueId, Latency,
                    KeepsStateBlocks, IsAnInstrument) {
  IParameter* amount = Parameter(ParamAmount);
  amount->DefineContinuous("Amount of Distortion", 0.0, 0.0, 99.99, 0.01, "%");
  amount->SetShape(1.0);
  Parameter(ParamKelba)->DefineInteger("#KELBA", 0);
  Parameter(ParamKelbaEnabled)->DefineInteger("#KELBA Enabled", 1);
  BuildEditorLayout();
  MakeFactoryPresets();
  processesFloatBlocks = true;
}

Ombrix::~Ombrix() = default;

// Every factory preset switches the beat animation off and leaves "#KELBA" at its default.
void Ombrix::MakeFactoryPresets() {
  DefinePreset("Default", 0.0, 0, 0);
  DefinePreset("Kinda Clean", 20.0, 0, 0);
  DefinePreset("Dirty", 40.0, 0, 0);
  DefinePreset("Dirtier", 80.0, 0, 0);
  DefinePreset("Is it still music???", 99.99, 0, 0);
}

void Ombrix::OnParameterChanged(int index) {
  IScopedLock guard(pluginLock);
  if (index == ParamAmount) {
    clipLevel = 1.0 - Parameter(ParamAmount)->Value() / 100.0;
  } else if (index == ParamKelbaEnabled) {
    animateWithTempo = static_cast<int>(Parameter(ParamKelbaEnabled)->Value());
  }
}
