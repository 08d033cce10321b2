#include "vst3/IVst3Plugin.h"

#include "plugin/HostKind.h"

#include <algorithm>
#include <cmath>

namespace {
// Points a process call may carry for one parameter; a longer queue keeps its first ones and its
// last, which is the value from its frame on.
constexpr int PointsPerQueue = 256;
} // namespace

IVst3Plugin::IVst3Plugin(Host, int parameterCount, const char* configText, int presetCount,
                         const char* effectNameText, const char* productNameText,
                         const char* vendorNameText, int32_t versionNumber, int32_t uniqueIdValue,
                         int latency, bool usesStateBlocksFlag, bool isInstrumentFlag)
    : IAudioPlugin(parameterCount, configText, presetCount, effectNameText, productNameText,
                   vendorNameText, versionNumber, uniqueIdValue, latency, usesStateBlocksFlag,
                   isInstrumentFlag, BindingKind::Vst3),
      hostChannels(InputCount(), OutputCount()) {
  points.reserve(static_cast<size_t>(parameterCount) * PointsPerQueue);
  ConnectInputs(0, InputCount(), true);
  ConnectOutputs(0, OutputCount(), true);
  SetMaxBlockFrames(DefaultBlockFrames);
}

IVst3Plugin::~IVst3Plugin() = default;

void IVst3Plugin::Open() {
  IScopedLock guard(pluginLock);
  FirstOpenSetup();
  OnReset();
  for (int i = 0; i < ParameterCount(); ++i) {
    OnParameterChanged(i);
  }
}

void IVst3Plugin::IdentifyHostByName(const char* name) {
  IScopedLock guard(pluginLock);
  hostKind = LookupHostKind(name);
  OnHostKnown();
}

void IVst3Plugin::SetupProcessing(const vst3::ProcessSetup& setup) {
  IScopedLock guard(pluginLock);
  processMode = setup.processMode;
  sampleSize = setup.symbolicSampleSize;
  if (std::isfinite(setup.sampleRate) && setup.sampleRate > 0.0) {
    sampleRate = setup.sampleRate;
  }
  // A size below one frame is ignored: the buffers keep serving the size announced before.
  if (setup.maxSamplesPerBlock >= 1) {
    SetMaxBlockFrames(LimitedBlockFrames(setup.maxSamplesPerBlock));
  }
  OnReset();
}

void IVst3Plugin::SetActive(bool active) {
  IScopedLock guard(pluginLock);
  OnActivation(active);
  if (!active) {
    OnReset();
  }
}

bool IVst3Plugin::SetChannels(int inputCount, int outputCount) {
  IScopedLock guard(pluginLock);
  if (!LegalIO(inputCount, outputCount)) {
    return false;
  }
  ConnectInputs(0, inputCount, true);
  ConnectInputs(inputCount, InputCount() - inputCount, false);
  ConnectOutputs(0, outputCount, true);
  ConnectOutputs(outputCount, OutputCount() - outputCount, false);
  return true;
}

double IVst3Plugin::ProgramToNormalized(int program) const {
  const int last = PresetCount() - 1;
  return last > 0 ? static_cast<double>(std::clamp(program, 0, last)) / last : 0.0;
}

int IVst3Plugin::ProgramFromNormalized(double normalized) const {
  const int last = PresetCount() - 1;
  if (last <= 0 || std::isnan(normalized)) {
    return 0;
  }
  return static_cast<int>(std::lround(std::clamp(normalized, 0.0, 1.0) * last));
}

void IVst3Plugin::SelectProgramFromHost(int program) {
  IScopedLock guard(pluginLock);
  if (!usesStateBlocks) {
    ModifyCurrentPreset();
  }
  SelectPreset(program);
}

void IVst3Plugin::ConnectEditLink(IVst3EditLink* link) {
  editThread = std::this_thread::get_id();
  editLink = link;
}

IVst3EditLink* IVst3Plugin::LinkOnThisThread() const {
  IVst3EditLink* link = editLink.load();
  return link && editThread.load() == std::this_thread::get_id() ? link : nullptr;
}

// Gestures reach the host only from the view's thread: controller changes elsewhere (program
// switches on the audio thread) come back to the controller through the host.
void IVst3Plugin::BeginHostEdit(int index) {
  if (IVst3EditLink* link = LinkOnThisThread(); link && Parameter(index)) {
    link->BeginEdit(index);
  }
}

void IVst3Plugin::NotifyHostOfChange(int index, double normalized) {
  if (IVst3EditLink* link = LinkOnThisThread(); link && Parameter(index)) {
    link->PerformEdit(index, normalized);
  }
}

void IVst3Plugin::EndHostEdit(int index) {
  if (IVst3EditLink* link = LinkOnThisThread(); link && Parameter(index)) {
    link->EndEdit(index);
  }
}

void IVst3Plugin::EditorSizeChanged(int, int) {
  OnEditorResized();
}
