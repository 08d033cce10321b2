#include "clap/ClapEntry.h"

#include "platform/DebugPrint.h"
#include "plugin/HostKind.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {
// A host's version text "MAJOR.MINOR.REVISION" as 0xMMMMmmbb; missing parts count as 0.
int32_t VersionNumber(const char* text) {
  constexpr long FieldLimits[] = {0xFFFF, 0xFF, 0xFF};
  constexpr int FieldShifts[] = {16, 8, 0};
  int32_t version = 0;
  for (int field = 0; field < 3 && text && *text; ++field) {
    char* end = nullptr;
    const long part = std::strtol(text, &end, 10);
    if (end == text || part < 0) {
      break;
    }
    version |= static_cast<int32_t>(std::min(part, FieldLimits[field]) << FieldShifts[field]);
    text = *end == '.' ? end + 1 : nullptr;
  }
  return version;
}

template <typename Extension>
const Extension* HostExtension(const clap_host* host, const char* id) {
  return host && host->get_extension ? static_cast<const Extension*>(host->get_extension(host, id))
                                     : nullptr;
}
} // namespace

IClapPlugin::IClapPlugin(const clap_host* hostRecord, int parameterCount, const char* configText,
                         int presetCount, const char* effectNameText, const char* productNameText,
                         const char* vendorNameText, int32_t versionNumber, int32_t uniqueIdValue,
                         int latency, bool usesStateBlocksFlag, bool isInstrumentFlag)
    : IAudioPlugin(parameterCount, configText, presetCount, effectNameText, productNameText,
                   vendorNameText, versionNumber, uniqueIdValue, latency, usesStateBlocksFlag,
                   isInstrumentFlag, BindingKind::Clap),
      host(hostRecord), hostChannels(InputCount(), OutputCount()) {
  record = ClapPluginRecord(this);
  ConnectInputs(0, InputCount(), true);
  ConnectOutputs(0, OutputCount(), true);
  SetMaxBlockFrames(DefaultBlockFrames);
}

IClapPlugin::~IClapPlugin() = default;

IClapPlugin* IClapPlugin::FromRecord(const clap_plugin* plugin) {
  return plugin ? static_cast<IClapPlugin*>(plugin->plugin_data) : nullptr;
}

// The host is known from here on: its extensions, its name for the host identification, then
// what a host's open of any plug-in does (the reset, every parameter announced).
bool IClapPlugin::Init() {
  IClapHostExtensions& h = hostExtensions;
  h.log = HostExtension<clap_host_log>(host, Clap::LogId);
  h.threadCheck = HostExtension<clap_host_thread_check>(host, Clap::ThreadCheckId);
  h.params = HostExtension<clap_host_params>(host, Clap::ParamsId);
  h.latency = HostExtension<clap_host_latency>(host, Clap::LatencyId);
  h.gui = HostExtension<clap_host_gui>(host, Clap::GuiId);
  h.timers = HostExtension<clap_host_timer_support>(host, Clap::TimerSupportId);
  h.descriptors = HostExtension<clap_host_posix_fd_support>(host, Clap::PosixFdSupportId);
  h.presetLoad = HostExtension<clap_host_preset_load>(host, Clap::PresetLoadId);
  if (!h.presetLoad) {
    h.presetLoad = HostExtension<clap_host_preset_load>(host, Clap::PresetLoadDraftId);
  }
  ExpectMainThread();

  IScopedLock guard(pluginLock);
  if (hostKind == HostNotIdentified) {
    const char* name = host && host->name ? host->name : "";
    hostKind = LookupHostKind(name);
    hostVersion = name[0] != '\0' ? VersionNumber(host->host_version) : 0;
    OnHostKnown();
  }
  OnReset();
  for (int i = 0; i < ParameterCount(); ++i) {
    OnParameterChanged(i);
  }
  return true;
}

bool IClapPlugin::Activate(double rate, uint32_t, uint32_t maxFrames) {
  ExpectMainThread();
  {
    IScopedLock guard(pluginLock);
    if (std::isfinite(rate) && rate > 0.0) {
      sampleRate = rate;
    }
    SetMaxBlockFrames(LimitedBlockFrames(maxFrames > 0 ? maxFrames : DefaultBlockFrames));
    OnReset();
    OnActivation(true);
  }
  const uint32_t latency = LatencyFrames();
  if (latency != reportedLatency && hostExtensions.latency && hostExtensions.latency->changed) {
    hostExtensions.latency->changed(host);
  }
  reportedLatency = latency;
  active = true;
  return true;
}

// Hosts may deactivate without stopping the processing first.
void IClapPlugin::Deactivate() {
  ExpectMainThread();
  if (!active) {
    return;
  }
  IScopedLock guard(pluginLock);
  processing = false;
  active = false;
  OnActivation(false);
  OnReset();
}

bool IClapPlugin::StartProcessing() {
  processing = true;
  return true;
}

void IClapPlugin::StopProcessing() {
  processing = false;
}

void IClapPlugin::Reset() {
  IScopedLock guard(pluginLock);
  OnReset();
}

// What the audio thread asked for the main thread: the host reads the values again.
void IClapPlugin::OnMainThread() {
  if (rescanWanted.exchange(false)) {
    RescanValues();
  }
}

void IClapPlugin::RescanValues() {
  if (hostExtensions.params && hostExtensions.params->rescan) {
    hostExtensions.params->rescan(host, Clap::ParamRescanValues);
  }
}

// Called from the main thread right away, from elsewhere through the host's callback.
void IClapPlugin::NotifyHostOfPresetChange() {
  if (OnAudioThread()) {
    rescanWanted = true;
    if (host && host->request_callback) {
      host->request_callback(host);
    }
    return;
  }
  RescanValues();
}

// The host learns of editor gestures from process or flush: while it does not process, it is
// asked for a flush.
void IClapPlugin::RequestFlush() {
  if (!processing && hostExtensions.params && hostExtensions.params->request_flush) {
    hostExtensions.params->request_flush(host);
  }
}

void IClapPlugin::BeginHostEdit(int index) {
  if (!OnAudioThread() && Parameter(index)) {
    gestures.Push({IGestureRecord::Kind::Begin, index, 0.0});
    RequestFlush();
  }
}

void IClapPlugin::EndHostEdit(int index) {
  if (!OnAudioThread() && Parameter(index)) {
    gestures.Push({IGestureRecord::Kind::End, index, 0.0});
    RequestFlush();
  }
}

// On the audio thread the change comes from a MIDI event the effect delivers (controller 69):
// it goes out with that event. From the editor it travels to the next process or flush.
void IClapPlugin::NotifyHostOfChange(int index, double normalized) {
  IParameter* parameter = Parameter(index);
  if (!parameter) {
    return;
  }
  if (OnAudioThread()) {
    if (pendingCount < PendingCapacity) {
      pending[pendingCount++] = {index, parameter->Value()};
    }
    return;
  }
  gestures.Push({IGestureRecord::Kind::Value, index, normalized});
  RequestFlush();
}

int IClapPlugin::HostSamplePosition() {
  ITransportInfo info;
  HostTransport(&info);
  if (!std::isfinite(info.samplePosition) || info.samplePosition < 0.0) {
    return 0;
  }
  const double rounded = info.samplePosition + 0.5;
  return rounded < std::numeric_limits<int>::max() ? static_cast<int>(rounded)
                                                   : std::numeric_limits<int>::max();
}

double IClapPlugin::HostTempo() {
  ITransportInfo info;
  HostTransport(&info);
  return info.tempo;
}

void IClapPlugin::HostTimeSignature(int* numerator, int* denominator) {
  ITransportInfo info;
  HostTransport(&info);
  *numerator = info.numerator;
  *denominator = info.denominator;
}

// The transport exists only inside process; elsewhere the fresh values stand.
void IClapPlugin::HostTransport(ITransportInfo* info) {
  if (OnAudioThread()) {
    transport.Describe(info, BlockOffset(), sampleRate);
  }
}

void IClapPlugin::EditorSizeChanged(int width, int height) {
  OnEditorResized();
  if (windowOpen && hostExtensions.gui && hostExtensions.gui->request_resize && width > 0 &&
      height > 0) {
    hostExtensions.gui->request_resize(host, static_cast<uint32_t>(width),
                                       static_cast<uint32_t>(height));
  }
}

// The host's thread check, in debug builds: a host that calls a main-thread function elsewhere is
// caught where it happens.
void IClapPlugin::ExpectMainThread() const {
#ifndef NDEBUG
  const clap_host_thread_check* check = hostExtensions.threadCheck;
  assert(!check || !check->is_main_thread || check->is_main_thread(host));
#endif
}

// The binding's own reports go to the host's log, or where other diagnostics go without one.
void IClapPlugin::Log(int32_t severity, const char* message) const {
  if (hostExtensions.log && hostExtensions.log->log) {
    hostExtensions.log->log(host, severity, message);
  } else {
    DebugPrint("%s", message);
  }
}
