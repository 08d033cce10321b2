#include "lv2/ILv2Plugin.h"

#include <lv2/atom/atom.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/core/lv2_util.h>
#include <lv2/log/log.h>
#include <lv2/options/options.h>
#include <lv2/urid/urid.h>

#include <algorithm>
#include <cmath>
#include <limits>

ILv2Plugin::ILv2Plugin(const ILv2Host* host, int parameterCount, const char* configText,
                       int presetCount, const char* effectNameText, const char* productNameText,
                       const char* vendorNameText, int32_t versionNumber, int32_t uniqueIdValue,
                       int latency, bool usesStateBlocksFlag, bool isInstrumentFlag)
    : IAudioPlugin(parameterCount, configText, presetCount, effectNameText, productNameText,
                   vendorNameText, versionNumber, uniqueIdValue, latency, usesStateBlocksFlag,
                   isInstrumentFlag, BindingKind::Lv2) {
  ports = Lv2PortLayout::Of(*this);
  portData.assign(ports.PortCount(), nullptr);
  inputBuffers.assign(static_cast<size_t>(InputCount()), nullptr);
  outputBuffers.assign(static_cast<size_t>(OutputCount()), nullptr);
  lastControl.assign(static_cast<size_t>(ParameterCount()),
                     std::numeric_limits<float>::quiet_NaN());
  const LV2_Feature* const* features = host ? host->features : nullptr;
  if (host && host->sampleRate > 0.0) {
    SetSampleRate(host->sampleRate);
  }
  TakeFeatures(features);
  ConnectInputs(0, InputCount(), true);
  ConnectOutputs(0, OutputCount(), true);
  SetMaxBlockFrames(AnnouncedBlockFrames(features));
}

ILv2Plugin::~ILv2Plugin() = default;

void ILv2Plugin::TakeFeatures(const LV2_Feature* const* features) {
  uridMap = static_cast<LV2_URID_Map*>(lv2_features_data(features, LV2_URID__map));
  auto* log = static_cast<LV2_Log_Log*>(lv2_features_data(features, LV2_LOG__log));
  lv2_log_logger_init(&logger, uridMap, log);
  uris.Map(uridMap);
  if (uridMap) {
    lv2_atom_forge_init(&forge, uridMap);
  }
}

// The host's largest block when it tells it (else its usual one), limited to what the scratch
// buffers are made for; longer runs go in sub-blocks.
int ILv2Plugin::AnnouncedBlockFrames(const LV2_Feature* const* features) const {
  const auto* options =
      static_cast<const LV2_Options_Option*>(lv2_features_data(features, LV2_OPTIONS__options));
  int nominal = 0;
  int maximum = 0;
  for (const LV2_Options_Option* option = options; option && option->key; ++option) {
    if (option->type != uris.atomInt || option->size != sizeof(int32_t) || !option->value) {
      continue;
    }
    const int32_t value = *static_cast<const int32_t*>(option->value);
    if (option->key == uris.maxBlockLength) {
      maximum = value;
    } else if (option->key == uris.nominalBlockLength) {
      nominal = value;
    }
  }
  const int announced = maximum > 0 ? maximum : nominal;
  return announced > 0 ? LimitedBlockFrames(announced) : DefaultBlockFrames;
}

void ILv2Plugin::Open() {
  IScopedLock guard(pluginLock);
  FirstOpenSetup();
  OnReset();
  for (int i = 0; i < ParameterCount(); ++i) {
    OnParameterChanged(i);
  }
}

void ILv2Plugin::ConnectPort(uint32_t port, void* data) {
  if (port < portData.size()) {
    portData[port] = data;
  }
}

void ILv2Plugin::Activate() {
  OnActivation(true);
}

void ILv2Plugin::Deactivate() {
  IScopedLock guard(pluginLock);
  OnActivation(false);
  OnReset();
}

void ILv2Plugin::ConnectUi(ILv2UiLink* link) {
  uiThread = std::this_thread::get_id();
  uiLink = link;
}

ILv2UiLink* ILv2Plugin::UiOnThisThread() const {
  ILv2UiLink* link = uiLink.load();
  return link && uiThread.load() == std::this_thread::get_id() ? link : nullptr;
}

void ILv2Plugin::BeginHostEdit(int index) {
  if (ILv2UiLink* link = UiOnThisThread(); link && Parameter(index)) {
    link->Touch(ports.ControlInput(index), true);
  }
}

void ILv2Plugin::EndHostEdit(int index) {
  if (ILv2UiLink* link = UiOnThisThread(); link && Parameter(index)) {
    link->Touch(ports.ControlInput(index), false);
  }
}

// An editor gesture writes the host's control input, so the host records it and its next run
// brings the same value back. Changes from elsewhere (controller 69 on the audio thread) are
// reported by the control outputs after each run.
void ILv2Plugin::NotifyHostOfChange(int index, double) {
  ILv2UiLink* link = UiOnThisThread();
  IParameter* parameter = Parameter(index);
  if (!link || !parameter) {
    return;
  }
  float value = 0.0f;
  {
    IScopedLock guard(pluginLock);
    value = static_cast<float>(parameter->Value());
  }
  link->WritePort(ports.ControlInput(index), value);
}

void ILv2Plugin::EditorSizeChanged(int, int) {
  OnEditorResized();
}

int ILv2Plugin::HostSamplePosition() {
  ITransportInfo info;
  transport.Describe(&info, BlockOffset(), sampleRate);
  if (!std::isfinite(info.samplePosition) || info.samplePosition < 0.0) {
    return 0;
  }
  const double rounded = info.samplePosition + 0.5;
  return rounded < std::numeric_limits<int>::max() ? static_cast<int>(rounded)
                                                   : std::numeric_limits<int>::max();
}

double ILv2Plugin::HostTempo() {
  ITransportInfo info;
  transport.Describe(&info, BlockOffset(), sampleRate);
  return info.tempo;
}

void ILv2Plugin::HostTimeSignature(int* numerator, int* denominator) {
  ITransportInfo info;
  transport.Describe(&info, BlockOffset(), sampleRate);
  *numerator = info.numerator;
  *denominator = info.denominator;
}

void ILv2Plugin::HostTransport(ITransportInfo* info) {
  transport.Describe(info, BlockOffset(), sampleRate);
}
