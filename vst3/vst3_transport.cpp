#include "vst3/IVst3Plugin.h"

#include <cmath>
#include <limits>

namespace {
constexpr double SecondsPerMinute = 60.0;

bool UsablePosition(double position) {
  return std::isfinite(position) && position >= 0.0;
}

bool Has(const vst3::ProcessContext& context, vst3::uint32 flag) {
  return (context.state & flag) != 0;
}

bool TempoOf(const vst3::ProcessContext& context, double* tempo) {
  if (!Has(context, vst3::ProcessContext::kTempoValid) || !std::isfinite(context.tempo) ||
      context.tempo <= 0.0) {
    return false;
  }
  *tempo = context.tempo;
  return true;
}
} // namespace

// The context tells the call's first frame; a sub-block BlockOffset() frames in moves on at the
// tempo told.
void IVst3Plugin::HostTransport(ITransportInfo* transport) {
  if (!context) {
    return;
  }
  const vst3::ProcessContext& now = *context;
  const double offset = BlockOffset();
  transport->samplePosition = static_cast<double>(now.projectTimeSamples) + offset;
  double tempo = 0.0;
  const bool hasTempo = TempoOf(now, &tempo);
  if (hasTempo) {
    transport->tempo = tempo;
  }
  if (Has(now, vst3::ProcessContext::kProjectTimeMusicValid) &&
      UsablePosition(now.projectTimeMusic)) {
    const double beats =
        hasTempo && sampleRate > 0.0 ? offset * tempo / (SecondsPerMinute * sampleRate) : 0.0;
    transport->ppqPosition = now.projectTimeMusic + beats;
  }
  if (Has(now, vst3::ProcessContext::kBarPositionValid) && UsablePosition(now.barPositionMusic)) {
    transport->lastBarPosition = now.barPositionMusic;
  }
  if (Has(now, vst3::ProcessContext::kCycleValid) && UsablePosition(now.cycleStartMusic) &&
      UsablePosition(now.cycleEndMusic)) {
    transport->cycleStart = now.cycleStartMusic;
    transport->cycleEnd = now.cycleEndMusic;
  }
  if (Has(now, vst3::ProcessContext::kTimeSigValid) && now.timeSigNumerator > 0 &&
      now.timeSigDenominator > 0) {
    transport->numerator = now.timeSigNumerator;
    transport->denominator = now.timeSigDenominator;
  }
  transport->playing = Has(now, vst3::ProcessContext::kPlaying);
  transport->cycling = Has(now, vst3::ProcessContext::kCycleActive);
}

int IVst3Plugin::HostSamplePosition() {
  ITransportInfo info;
  HostTransport(&info);
  if (!UsablePosition(info.samplePosition)) {
    return 0;
  }
  const double rounded = info.samplePosition + 0.5;
  return rounded < std::numeric_limits<int>::max() ? static_cast<int>(rounded)
                                                   : std::numeric_limits<int>::max();
}

double IVst3Plugin::HostTempo() {
  double tempo = 0.0;
  return context && TempoOf(*context, &tempo) ? tempo : 0.0;
}

void IVst3Plugin::HostTimeSignature(int* numerator, int* denominator) {
  *numerator = 0;
  *denominator = 0;
  if (context && Has(*context, vst3::ProcessContext::kTimeSigValid) &&
      context->timeSigNumerator > 0 && context->timeSigDenominator > 0) {
    *numerator = context->timeSigNumerator;
    *denominator = context->timeSigDenominator;
  }
}
