#include "tools/render/SignalGenerator.h"

#include "tools/render/AudioFile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kPeak = 0.9;
constexpr double kFadeSeconds = 0.01;

double Fade(int64_t frame, int64_t frames, int sampleRate) {
  const double fadeFrames = std::max(1.0, kFadeSeconds * sampleRate);
  const double fromStart = static_cast<double>(frame) / fadeFrames;
  const double toEnd = static_cast<double>(frames - 1 - frame) / fadeFrames;
  return std::clamp(std::min(fromStart, toEnd), 0.0, 1.0);
}

// Phase of an exponential sweep: the integral of f(t) = f0 * (f1/f0)^(t/T).
double SweepPhase(double t, double seconds, double f0, double f1) {
  const double k = std::log(f1 / f0) / seconds;
  return 2.0 * kPi * f0 * (std::exp(k * t) - 1.0) / k;
}

double ChordSample(double t) {
  constexpr double kFrequencies[] = {110.0, 220.0, 277.18, 329.63};
  double sum = 0.0;
  for (double frequency : kFrequencies) {
    sum += std::sin(2.0 * kPi * frequency * t);
  }
  return sum;
}
} // namespace

bool GenerateSignal(const std::string& kind, double seconds, int sampleRate, int channels,
                    AudioWriter& writer, std::string* error) {
  const int64_t frames = std::max<int64_t>(1, std::llround(seconds * sampleRate));
  const double topFrequency = std::min(20000.0, 0.45 * sampleRate);
  auto rawSample = [&](int64_t frame) {
    const double t = static_cast<double>(frame) / sampleRate;
    return kind == "sweep" ? std::sin(SweepPhase(t, seconds, 20.0, topFrequency)) : ChordSample(t);
  };
  // Two passes, so long signals need no memory beyond one block: the first finds the peak.
  double peak = 0.0;
  for (int64_t frame = 0; frame < frames; ++frame) {
    peak = std::max(peak, std::fabs(rawSample(frame)));
  }
  const double gain = peak > 0.0 ? kPeak / peak : 0.0;
  constexpr int64_t kBlockFrames = 4096;
  std::vector<double> interleaved(static_cast<size_t>(kBlockFrames) * channels);
  for (int64_t start = 0; start < frames; start += kBlockFrames) {
    const int64_t count = std::min(kBlockFrames, frames - start);
    for (int64_t i = 0; i < count; ++i) {
      const int64_t frame = start + i;
      const double sample = rawSample(frame) * gain * Fade(frame, frames, sampleRate);
      for (int channel = 0; channel < channels; ++channel) {
        interleaved[i * channels + channel] = sample;
      }
    }
    if (!writer.Write(interleaved.data(), count, error)) {
      return false;
    }
  }
  return true;
}
