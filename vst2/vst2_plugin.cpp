#include "vst2/IVst2Plugin.h"

#include "plugin/HostKind.h"

#include <cstring>

namespace {

void DescribeArrangement(VstSpeakerArrangement* arrangement, int channels) {
  std::memset(arrangement, 0, sizeof(*arrangement));
  arrangement->numChannels = channels;
  switch (channels) {
  case 0:
    arrangement->type = kSpeakerArrEmpty;
    break;
  case 1:
    arrangement->type = kSpeakerArrMono;
    break;
  case 2:
    arrangement->type = kSpeakerArrStereo;
    break;
  default:
    arrangement->type = kSpeakerArrUserDefined;
    break;
  }
}

// The record reports 0xMMMMmmbb as major * 10000 + minor * 100 + third component.
VstInt32 DecimalVersion(int32_t version) {
  const uint32_t bits = static_cast<uint32_t>(version);
  return static_cast<VstInt32>((bits >> 16) * 10000 + ((bits >> 8) & 0xFF) * 100 + (bits & 0xFF));
}

// Hosts whose stereo input limit applies.
bool LimitsToStereoInput(int hostKind) {
  return hostKind == HostForte || hostKind == HostAudition || hostKind == HostOrion ||
         hostKind == HostSawStudio;
}
} // namespace

IVst2Plugin::IVst2Plugin(audioMasterCallback callback, int parameterCount, const char* configText,
                         int presetCount, const char* effectNameText, const char* productNameText,
                         const char* vendorNameText, int32_t versionNumber, int32_t uniqueIdValue,
                         int latency, bool usesStateBlocksFlag, bool isInstrumentFlag)
    : IAudioPlugin(parameterCount, configText, presetCount, effectNameText, productNameText,
                   vendorNameText, versionNumber, uniqueIdValue, latency, usesStateBlocksFlag,
                   isInstrumentFlag, BindingKind::Vst2),
      hostCallback(callback) {
  effect.magic = kEffectMagic;
  effect.dispatcher = VSTDispatcher;
  effect.process = HostProcessAdding;
  effect.setParameter = HostWriteParameter;
  effect.getParameter = HostReadParameter;
  effect.numPrograms = PresetCount();
  effect.numParams = ParameterCount();
  effect.numInputs = InputCount();
  effect.numOutputs = OutputCount();
  effect.flags = effFlagsCanReplacing | effFlagsCanDoubleReplacing;
  effect.initialDelay = 0;
  effect.ioRatio = 1.0f;
  effect.object = this;
  effect.uniqueID = uniqueId;
  effect.version = DecimalVersion(version);
  effect.processReplacing = HostProcessFloat;
  effect.processDoubleReplacing = HostProcessDouble;
  if (LegalIO(1, -1)) {
    effect.flags |= effFlagsCanMono;
  }

  DescribeArrangement(&inputArrangement, InputCount());
  DescribeArrangement(&outputArrangement, OutputCount());

  ConnectInputs(0, InputCount(), true);
  ConnectOutputs(0, OutputCount(), true);
  SetMaxBlockFrames(DefaultBlockFrames);
}

IVst2Plugin::~IVst2Plugin() = default;

IVst2Plugin* IVst2Plugin::FromEffect(AEffect* record) {
  return record ? static_cast<IVst2Plugin*>(record->object) : nullptr;
}

void IVst2Plugin::SetProcessingDelay(int samples) {
  IAudioPlugin::SetProcessingDelay(samples);
  effect.initialDelay = samples;
}

int IVst2Plugin::IdentifyHost() {
  if (hostKind != HostNotIdentified) {
    return hostKind;
  }
  char product[256];
  product[0] = '\0';
  CallHost(audioMasterGetProductString, 0, 0, product);
  product[sizeof(product) - 1] = '\0';
  int32_t versionBits = 0;
  if (product[0] != '\0') {
    const VstIntPtr decimal = CallHost(audioMasterGetVendorVersion);
    if (decimal > 0 && decimal <= INT32_MAX) {
      const int64_t v = decimal;
      versionBits = static_cast<int32_t>((v / 10000) * 65536 + ((v % 10000) / 100) * 256 + v % 100);
    }
  }
  hostKind = LookupHostKind(product);
  hostVersion = versionBits;
  return hostKind;
}

void IVst2Plugin::FirstOpenSetup() {
  if (firstOpenDone) {
    return;
  }
  firstOpenDone = true;
  if (LimitsToStereoInput(IdentifyHost())) {
    if (InputCount() > 2) {
      ConnectInputs(2, InputCount() - 2, false);
    }
    if (OutputCount() > 2) {
      ConnectOutputs(2, OutputCount() - 2, true);
    }
  }
  UpdateChannelCounts();
  OnHostKnown();
}

void IVst2Plugin::UpdateChannelCounts() {
  effect.numInputs = InputCount();
  effect.numOutputs = OutputCount();
  inputArrangement.numChannels = InputCount();
  outputArrangement.numChannels = OutputCount();
}
