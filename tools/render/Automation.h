#pragma once

#include "host/HostedPlugin.h"

#include <cstdint>
#include <string>
#include <vector>

// Parameter automation from a file:
//   { "Amount of Distortion": { "points": [[0, 0], [2.5, 99]], "curve": "linear" },
//     "1": { "points": [[0, 1], [1, 0]], "curve": "step", "normalized": true } }
// Keys name a parameter (or give its index as text); points are [seconds, value] pairs in time
// order, values in the parameter's own units read through the plug-in's text conversion, or 0..1
// with "normalized": true. "step" holds each value until the next point; "linear" ramps between
// them in the plug-in's normalised range, as a DAW's automation lane does, sent as a change every
// `resolution` frames. Before the first point the first value holds, after the last the last.
class AutomationSchedule {
public:
  // Reads and checks the file against the plug-in (names, ranges) before any audio is made.
  // False with "FILE: line L, column C: what was wrong" in error.
  static bool Load(const std::string& path, HostedPlugin& plugin, int sampleRate, int resolution,
                   AutomationSchedule* schedule, std::string* error);

  // Appends the changes due in [start, start + frames), frames relative to start, in frame order.
  void EventsFor(int64_t start, int frames, std::vector<HostedEvent>* due);
  // Changes handed out so far.
  size_t Sent() const { return sent; }

private:
  struct Point {
    int64_t frame = 0;
    double normalized = 0.0;
  };
  struct Lane {
    int parameter = 0;
    bool linear = false;
    std::vector<Point> points;
    // The next frame a change is due at.
    int64_t next = 0;
  };
  // The lane's value at a frame and the frame of its change after that one (-1 when none).
  double ValueAt(const Lane& lane, int64_t frame, int64_t* following) const;

  std::vector<Lane> lanes;
  int resolution = 32;
  size_t sent = 0;
};
