#include "vst2/IVst2Plugin.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace {
// Every field HostTransport can take from the host's time record.
constexpr VstIntPtr TransportFields =
    kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstCyclePosValid | kVstTimeSigValid;

bool UsablePosition(double position) {
  return std::isfinite(position) && position >= 0.0;
}
} // namespace

VstIntPtr IVst2Plugin::CallHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                float opt) {
  return hostCallback ? hostCallback(&effect, opcode, index, value, ptr, opt) : 0;
}

const VstTimeInfo* IVst2Plugin::HostTime(VstIntPtr wantedFields) {
  return reinterpret_cast<const VstTimeInfo*>(CallHost(audioMasterGetTime, 0, wantedFields));
}

void IVst2Plugin::BeginHostEdit(int index) {
  CallHost(audioMasterBeginEdit, index);
}

void IVst2Plugin::EndHostEdit(int index) {
  CallHost(audioMasterEndEdit, index);
}

void IVst2Plugin::NotifyHostOfChange(int index, double normalized) {
  CallHost(audioMasterAutomate, index, 0, nullptr, static_cast<float>(normalized));
}

void IVst2Plugin::NotifyHostOfPresetChange() {
  CallHost(audioMasterUpdateDisplay);
}

bool IVst2Plugin::IsOfflineRender() {
  return CallHost(audioMasterGetCurrentProcessLevel) == kVstProcessLevelOffline;
}

int IVst2Plugin::HostSamplePosition() {
  const VstTimeInfo* time = HostTime(0);
  if (!time || !UsablePosition(time->samplePos)) {
    return 0;
  }
  const double rounded = time->samplePos + 0.5;
  return rounded < std::numeric_limits<int>::max() ? static_cast<int>(rounded)
                                                   : std::numeric_limits<int>::max();
}

double IVst2Plugin::HostTempo() {
  if (!hostCallback) {
    return 0.0;
  }
  const VstTimeInfo* time = HostTime(kVstTempoValid);
  if (!time || !(time->flags & kVstTempoValid) || !UsablePosition(time->tempo)) {
    return 0.0;
  }
  return time->tempo;
}

void IVst2Plugin::HostTimeSignature(int* numerator, int* denominator) {
  *numerator = 0;
  *denominator = 0;
  const VstTimeInfo* time = HostTime(kVstTimeSigValid);
  if (time && (time->flags & kVstTimeSigValid) && time->timeSigNumerator >= 0 &&
      time->timeSigDenominator >= 0) {
    *numerator = time->timeSigNumerator;
    *denominator = time->timeSigDenominator;
  }
}

// Positions that are not finite are taken as not supplied: the effect turns the beat position
// into an integer beat number.
void IVst2Plugin::HostTransport(ITransportInfo* transport) {
  const VstTimeInfo* time = HostTime(TransportFields);
  if (!time || !(time->flags & TransportFields)) {
    return;
  }
  transport->samplePosition = time->samplePos;
  if ((time->flags & kVstPpqPosValid) && UsablePosition(time->ppqPos)) {
    transport->ppqPosition = time->ppqPos;
  }
  if ((time->flags & kVstTempoValid) && std::isfinite(time->tempo) && time->tempo > 0.0) {
    transport->tempo = time->tempo;
  }
  if ((time->flags & kVstBarsValid) && UsablePosition(time->barStartPos)) {
    transport->lastBarPosition = time->barStartPos;
  }
  if ((time->flags & kVstCyclePosValid) && UsablePosition(time->cycleStartPos) &&
      UsablePosition(time->cycleEndPos)) {
    transport->cycleStart = time->cycleStartPos;
    transport->cycleEnd = time->cycleEndPos;
  }
  if ((time->flags & kVstTimeSigValid) && time->timeSigNumerator > 0 &&
      time->timeSigDenominator > 0) {
    transport->numerator = time->timeSigNumerator;
    transport->denominator = time->timeSigDenominator;
  }
  transport->playing = (time->flags & kVstTransportPlaying) != 0;
  transport->cycling = (time->flags & kVstTransportCycleActive) != 0;
}
