#include "lv2/Lv2Transport.h"

#include <lv2/atom/util.h>

#include <cmath>

namespace {
constexpr double MaxBeatsPerBar = 1024.0;

// Hosts write these numbers as any of the four numeric atoms.
bool ReadNumber(const LV2_Atom* atom, const Lv2Uris& uris, double* out) {
  if (!atom) {
    return false;
  }
  double value = 0.0;
  if (atom->type == uris.atomFloat && atom->size >= sizeof(float)) {
    value = reinterpret_cast<const LV2_Atom_Float*>(atom)->body;
  } else if (atom->type == uris.atomDouble && atom->size >= sizeof(double)) {
    value = reinterpret_cast<const LV2_Atom_Double*>(atom)->body;
  } else if (atom->type == uris.atomInt && atom->size >= sizeof(int32_t)) {
    value = reinterpret_cast<const LV2_Atom_Int*>(atom)->body;
  } else if (atom->type == uris.atomLong && atom->size >= sizeof(int64_t)) {
    value = static_cast<double>(reinterpret_cast<const LV2_Atom_Long*>(atom)->body);
  } else {
    return false;
  }
  if (!std::isfinite(value)) {
    return false;
  }
  *out = value;
  return true;
}
} // namespace

void Lv2Transport::Take(const LV2_Atom_Object* position, const Lv2Uris& uris, int64_t at,
                        double sampleRate) {
  const LV2_Atom* bar = nullptr;
  const LV2_Atom* barBeat = nullptr;
  const LV2_Atom* perBar = nullptr;
  const LV2_Atom* unit = nullptr;
  const LV2_Atom* tempo = nullptr;
  const LV2_Atom* rate = nullptr;
  const LV2_Atom* frameAtom = nullptr;
  lv2_atom_object_get(position, uris.timeBar, &bar, uris.timeBarBeat, &barBeat,
                      uris.timeBeatsPerBar, &perBar, uris.timeBeatUnit, &unit,
                      uris.timeBeatsPerMinute, &tempo, uris.timeSpeed, &rate, uris.timeFrame,
                      &frameAtom, 0);
  known = true;

  double value = 0.0;
  if (ReadNumber(perBar, uris, &value) && value > 0.0 && value <= MaxBeatsPerBar) {
    beatsPerBar = value;
    hasSignature = true;
  }
  if (ReadNumber(unit, uris, &value) && value >= 1.0 && value <= 256.0) {
    beatUnit = static_cast<int>(value);
    hasSignature = true;
  }
  if (ReadNumber(tempo, uris, &value) && value > 0.0) {
    beatsPerMinute = value;
    hasTempo = true;
  }
  if (ReadNumber(rate, uris, &value)) {
    speed = value;
  }
  if (ReadNumber(frameAtom, uris, &value)) {
    frame = value - static_cast<double>(at) * speed;
    hasFrame = true;
  }
  double beatInBar = 0.0;
  if (ReadNumber(barBeat, uris, &beatInBar)) {
    double barNumber = hasBeat ? std::floor(beat / beatsPerBar) : 0.0;
    ReadNumber(bar, uris, &barNumber);
    // Kept for the start of the run, where the effect asks for it.
    beat =
        barNumber * beatsPerBar + beatInBar - static_cast<double>(at) * BeatsPerFrame(sampleRate);
    hasBeat = true;
  }
}

double Lv2Transport::BeatsPerFrame(double sampleRate) const {
  return sampleRate > 0.0 ? speed * beatsPerMinute / (60.0 * sampleRate) : 0.0;
}

void Lv2Transport::Describe(ITransportInfo* info, int64_t frames, double sampleRate) const {
  if (!known) {
    return;
  }
  const double offset = static_cast<double>(frames);
  if (hasFrame) {
    info->samplePosition = frame + offset * speed;
  }
  if (hasBeat) {
    const double now = beat + offset * BeatsPerFrame(sampleRate);
    if (now >= 0.0) {
      info->ppqPosition = now * QuartersPerBeat();
      info->lastBarPosition = std::floor(now / beatsPerBar) * beatsPerBar * QuartersPerBeat();
    }
  }
  if (hasTempo) {
    info->tempo = beatsPerMinute;
  }
  if (hasSignature) {
    info->numerator = static_cast<int32_t>(std::lround(beatsPerBar));
    info->denominator = beatUnit;
  }
  info->playing = speed != 0.0;
}

void Lv2Transport::Advance(int64_t frames, double sampleRate) {
  const double length = static_cast<double>(frames);
  if (hasBeat) {
    beat += length * BeatsPerFrame(sampleRate);
  }
  if (hasFrame) {
    frame += length * speed;
  }
}
