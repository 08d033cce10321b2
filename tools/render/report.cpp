#include "tools/render/Report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

void LevelStats::Add(const double* samples, size_t sampleCount) {
  for (size_t i = 0; i < sampleCount; ++i) {
    const double magnitude = std::fabs(samples[i]);
    peak = std::max(peak, magnitude);
    sumOfSquares += samples[i] * samples[i];
  }
  count += static_cast<int64_t>(sampleCount);
}

double LevelStats::Rms() const {
  return count > 0 ? std::sqrt(sumOfSquares / static_cast<double>(count)) : 0.0;
}

std::string FormatLevel(double level) {
  char text[64];
  if (level > 0.0) {
    std::snprintf(text, sizeof(text), "%.4f (%.2f dBFS)", level, 20.0 * std::log10(level));
  } else {
    std::snprintf(text, sizeof(text), "%.4f (-inf dBFS)", level);
  }
  return text;
}

void ProgressBar::Update(double fraction) {
  if (!enabled) {
    return;
  }
  const int percent = static_cast<int>(std::clamp(fraction, 0.0, 1.0) * 100.0);
  if (percent == drawnPercent) {
    return;
  }
  drawnPercent = percent;
  constexpr int kWidth = 40;
  const int filled = percent * kWidth / 100;
  terminal << "\r[" << std::string(filled, '#') << std::string(kWidth - filled, ' ') << "] ";
  terminal << percent << "%" << std::flush;
}

void ProgressBar::Finish() {
  if (enabled && drawnPercent >= 0) {
    terminal << '\r' << std::string(60, ' ') << '\r' << std::flush;
  }
}
