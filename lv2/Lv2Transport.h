#pragma once

#include "lv2/Lv2Uris.h"
#include "plugin/HostEvents.h"

#include <lv2/atom/atom.h>

#include <cstdint>

// The host's transport as its time:Position objects tell it. Hosts send one when something
// changes, so between them the position moves on with the tempo and speed last told.
class Lv2Transport {
public:
  // Takes what the object holds; it arrived frame frames into the current run.
  void Take(const LV2_Atom_Object* position, const Lv2Uris& uris, int64_t frame, double sampleRate);
  // The transport frames into the current run, in the terms the effect asks for (beat positions
  // in quarter notes). Without any position from the host the record keeps its fresh values.
  void Describe(ITransportInfo* info, int64_t frames, double sampleRate) const;
  // Moves on to the start of the next run.
  void Advance(int64_t frames, double sampleRate);

private:
  double BeatsPerFrame(double sampleRate) const;
  double QuartersPerBeat() const { return 4.0 / beatUnit; }

  bool known = false;
  // Beats since the start, at the start of the current run.
  bool hasBeat = false;
  double beat = 0.0;
  bool hasFrame = false;
  double frame = 0.0;
  bool hasTempo = false;
  double beatsPerMinute = 120.0;
  bool hasSignature = false;
  double beatsPerBar = 4.0;
  int beatUnit = 4;
  double speed = 0.0;
};
