#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

// FNV-1a over raw bytes: any difference in any bit changes it. Builds and formats that must give
// the same audio and state bit for bit are compared by these fingerprints.
class Fingerprint {
public:
  void Add(const void* data, size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) {
      hash = (hash ^ bytes[i]) * 0x100000001b3ull;
    }
  }
  template <typename T> void Add(const std::vector<T>& values) {
    Add(values.data(), values.size() * sizeof(T));
  }
  uint64_t hash = 0xcbf29ce484222325ull;
};

// The fingerprints' deterministic signal over and around every clip level, with the edge values
// mixed in; the same numbers in either precision, made in that type.
template <typename Sample> std::vector<Sample> FingerprintSignal(int frames, uint32_t seed) {
  std::vector<Sample> signal(static_cast<size_t>(frames));
  for (Sample& sample : signal) {
    seed = seed * 1664525u + 1013904223u;
    sample = static_cast<Sample>((static_cast<double>(seed >> 8) / 16777216.0 - 0.5) * 3.0);
  }
  const Sample edges[] = {Sample(0),  Sample(-0.0), Sample(1),
                          Sample(-1), Sample(0.5),  Sample(1e-30)};
  std::memcpy(signal.data(), edges, sizeof(edges));
  return signal;
}
