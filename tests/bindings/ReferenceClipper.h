#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

// The clipper written plainly: limit to the clip level, then scale the level back to full.
constexpr double MaxAmount = 99.99;
constexpr double FactoryAmounts[] = {0.0, 20.0, 40.0, 80.0, MaxAmount};
constexpr int MidiControllerMaximum = 127;

inline float ReferenceClip(float sample, double amount) {
  const double clipLevel = 1.0 - amount / 100.0;
  return static_cast<float>(std::clamp(static_cast<double>(sample), -clipLevel, clipLevel) /
                            clipLevel);
}

// What controller 69 at this value sets the amount to.
inline double AmountOfController(int value) {
  return static_cast<double>(value) / MidiControllerMaximum * MaxAmount;
}

// A deterministic signal over and around every clip level, with the edge values first.
inline std::vector<float> TestSignal(int frames, uint32_t seed) {
  std::vector<float> signal(static_cast<size_t>(frames));
  for (float& sample : signal) {
    seed = seed * 1664525u + 1013904223u;
    sample = static_cast<float>((static_cast<double>(seed >> 8) / 16777216.0 - 0.5) * 3.0);
  }
  const float edges[] = {0.0f, -0.0f, 1.0f, -1.0f, 0.5f, 1e-30f};
  std::copy(std::begin(edges), std::end(edges), signal.begin());
  return signal;
}
