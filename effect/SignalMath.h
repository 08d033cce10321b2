#pragma once

#include <cmath>

// Per-sample and per-block arithmetic of the effect, kept apart so it can be checked alone.

// Smoothing coefficients of the meter levels: quick to rise, slow to fall.
constexpr double MeterAttack = 0.6;
constexpr double MeterRelease = 0.05;

// Hard clip at +-clipLevel followed by a gain of 1 / clipLevel, so the result lies in [-1, 1].
// A NaN sample has no level to clip and would poison every later sample of the host's chain:
// it comes out as silence.
inline double ClipSample(double x, double clipLevel) {
  double y;
  if (x >= 0.0) {
    y = x > clipLevel ? clipLevel : x;
  } else if (x < 0.0) {
    y = x < -clipLevel ? -clipLevel : x;
  } else {
    y = 0.0;
  }
  return y / clipLevel;
}

// One smoothing step of a meter level towards the peak of the block just processed.
inline double SmoothMeterLevel(double peak, double level) {
  const double k = level > peak ? MeterRelease : MeterAttack;
  return k * peak + (1.0 - k) * level;
}
