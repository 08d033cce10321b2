#include "clap/ClapTransport.h"

#include <cmath>

namespace {
constexpr double SecondsPerMinute = 60.0;

bool Has(const clap_event_transport& transport, uint32_t flag) {
  return (transport.flags & flag) != 0;
}

bool UsablePosition(double position) {
  return std::isfinite(position) && position >= 0.0;
}
} // namespace

void ClapTransport::Begin(const clap_event_transport* atStart) {
  count = 0;
  if (atStart) {
    records[0] = {0, *atStart};
    count = 1;
  }
}

void ClapTransport::Take(const clap_event_transport& change, int frame) {
  const size_t slot = count < Capacity ? count++ : Capacity - 1;
  records[slot] = {frame, change};
}

void ClapTransport::Describe(ITransportInfo* info, int frame, double sampleRate) const {
  const Record* latest = nullptr;
  for (size_t i = 0; i < count && records[i].frame <= frame; ++i) {
    latest = &records[i];
  }
  if (!latest) {
    return;
  }
  const clap_event_transport& t = latest->transport;
  const bool playing = Has(t, Clap::TransportIsPlaying);
  const double elapsedFrames = playing ? static_cast<double>(frame - latest->frame) : 0.0;
  if (Has(t, Clap::TransportHasTempo) && std::isfinite(t.tempo) && t.tempo > 0.0) {
    info->tempo = t.tempo;
  }
  if (Has(t, Clap::TransportHasSecondsTimeline) && sampleRate > 0.0) {
    const double seconds = static_cast<double>(t.song_pos_seconds) / Clap::FixedPointFactor;
    const double position = seconds * sampleRate + elapsedFrames;
    if (UsablePosition(position)) {
      info->samplePosition = position;
    }
  }
  if (Has(t, Clap::TransportHasBeatsTimeline)) {
    const double beatsPerFrame =
        sampleRate > 0.0 ? info->tempo / SecondsPerMinute / sampleRate : 0.0;
    const double beat = static_cast<double>(t.song_pos_beats) / Clap::FixedPointFactor +
                        elapsedFrames * beatsPerFrame;
    if (UsablePosition(beat)) {
      info->ppqPosition = beat;
    }
    const double barStart = static_cast<double>(t.bar_start) / Clap::FixedPointFactor;
    if (UsablePosition(barStart)) {
      info->lastBarPosition = barStart;
    }
    const double loopStart = static_cast<double>(t.loop_start_beats) / Clap::FixedPointFactor;
    const double loopEnd = static_cast<double>(t.loop_end_beats) / Clap::FixedPointFactor;
    if (Has(t, Clap::TransportIsLoopActive) && UsablePosition(loopStart) &&
        UsablePosition(loopEnd)) {
      info->cycleStart = loopStart;
      info->cycleEnd = loopEnd;
    }
  }
  if (Has(t, Clap::TransportHasTimeSignature) && t.tsig_num > 0 && t.tsig_denom > 0) {
    info->numerator = t.tsig_num;
    info->denominator = t.tsig_denom;
  }
  info->playing = playing;
  info->cycling = Has(t, Clap::TransportIsLoopActive);
}
