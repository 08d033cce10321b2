#pragma once

#include "clap/ClapAbi.h"
#include "plugin/HostEvents.h"

#include <array>
#include <cstdint>

// The host's transport over one process call: the record of its first frame and those of the
// transport events inside it. Between two records the position moves on with the tempo.
class ClapTransport {
public:
  // The call's first record, or none from a free-running host.
  void Begin(const clap_event_transport* atStart);
  // A change inside the call at frame; beyond the room kept, the last change is replaced.
  void Take(const clap_event_transport& change, int frame);
  // The transport frame frames into the call, in the terms the effect asks for (beat positions in
  // quarter notes). Without a record the fresh values stay.
  void Describe(ITransportInfo* info, int frame, double sampleRate) const;

private:
  struct Record {
    int frame = 0;
    clap_event_transport transport = {};
  };
  static constexpr size_t Capacity = 16;
  std::array<Record, Capacity> records{};
  size_t count = 0;
};
