#include "plugin/SampleConversion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {
template <typename Sample> uint64_t Bits(Sample value) {
  uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof value);
  return bits;
}
} // namespace

// Each conversion against a static_cast per sample, for every length up to 80 at every
// alignment within a 32-byte vector, values beyond float's range and below its precision
// included; nothing outside the run is written.
TEST(SampleConversion, EveryLengthAndAlignmentConvertsAsACast) {
  std::mt19937 random(77);
  std::uniform_real_distribution<double> wide(-4.0, 4.0);
  const double edges[] = {0.0,
                          -0.0,
                          1e300,
                          -1e-300,
                          std::numeric_limits<double>::quiet_NaN(),
                          std::numeric_limits<double>::infinity(),
                          1.0 + 1e-12};
  constexpr float Guard = -77.0f;
  for (int frames = 0; frames <= 80; ++frames) {
    for (int shift = 0; shift < 8; ++shift) {
      std::vector<double> doubles(static_cast<size_t>(frames + 16));
      std::vector<float> floats(doubles.size(), Guard);
      std::vector<float> sums(doubles.size(), Guard);
      std::vector<double> widened(doubles.size(), Guard);
      for (int i = 0; i < frames; ++i) {
        const size_t at = static_cast<size_t>(shift + i);
        doubles[at] = random() % 5 == 0 ? edges[random() % 7] : wide(random);
        sums[at] = static_cast<float>(wide(random));
      }
      const std::vector<float> sumsBefore = sums;
      NarrowSamples(doubles.data() + shift, floats.data() + shift, frames);
      AddNarrowedSamples(doubles.data() + shift, sums.data() + shift, frames);
      WidenSamples(floats.data() + shift, widened.data() + shift, frames);
      for (size_t at = 0; at < doubles.size(); ++at) {
        const bool inside =
            at >= static_cast<size_t>(shift) && at < static_cast<size_t>(shift + frames);
        const float narrowed = static_cast<float>(doubles[at]);
        ASSERT_EQ(Bits(floats[at]), Bits(inside ? narrowed : Guard)) << frames << " " << at;
        ASSERT_EQ(Bits(sums[at]), Bits(inside ? sumsBefore[at] + narrowed : Guard));
        ASSERT_EQ(Bits(widened[at]),
                  Bits(inside ? static_cast<double>(floats[at]) : static_cast<double>(Guard)));
      }
    }
  }
}
