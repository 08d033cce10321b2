#include "effect/ClipKernel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int LongestRun = 300;
constexpr int Alignments = 4; // doubles: every position within a 32-byte vector
// Written around every run, so a store outside it shows.
constexpr double Guard = -12345.678;

uint64_t Bits(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

uint32_t Bits(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// Values where a wrong comparison, sign or NaN rule shows, around each level used.
std::vector<double> EdgeValues(double level) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double tiny = std::numeric_limits<double>::denorm_min();
  return {0.0,
          -0.0,
          nan,
          -nan,
          inf,
          -inf,
          level,
          -level,
          std::nextafter(level, 0.0),
          std::nextafter(level, 2.0),
          std::nextafter(-level, 0.0),
          std::nextafter(-level, -2.0),
          tiny,
          -tiny,
          1e300,
          -1e300,
          std::numeric_limits<double>::min(),
          0.5 * level,
          -0.5 * level};
}

// Single-precision samples meet the level between two floats; those two matter most.
template <typename Sample> std::vector<double> EdgeValuesOf(double level) {
  std::vector<double> edges = EdgeValues(level);
  if (sizeof(Sample) == sizeof(float)) {
    const float near = static_cast<float>(level);
    for (float edge : {near, std::nextafter(near, 0.0f), std::nextafter(near, 2.0f),
                       std::numeric_limits<float>::denorm_min()}) {
      edges.push_back(edge);
      edges.push_back(-edge);
    }
  }
  return edges;
}

template <typename Sample>
std::vector<Sample> Samples(std::mt19937& random, double level, int count) {
  const std::vector<double> edges = EdgeValuesOf<Sample>(level);
  std::uniform_real_distribution<double> loud(-2.0, 2.0);
  std::uniform_int_distribution<int> pick(0, 3);
  std::vector<Sample> samples(static_cast<size_t>(count));
  for (Sample& sample : samples) {
    sample = static_cast<Sample>(pick(random) == 0 ? edges[random() % edges.size()] : loud(random));
  }
  return samples;
}

// Runs kernel over every length and every alignment of input and output (apart and in place)
// and compares outputs and peak bit for bit with the plain loop.
template <typename Sample> void ExpectSameAsPlain(ClipKernelOf<Sample> kernel) {
  const Sample guard = static_cast<Sample>(Guard);
  std::mt19937 random(20261209);
  const double levels[] = {1.0, 0.5, 0.50005, 0.0001, 0.8, 0.2};
  for (double level : levels) {
    for (int frames = 0; frames <= LongestRun; ++frames) {
      const std::vector<Sample> source = Samples<Sample>(random, level, frames);
      const double seed = (frames % 3 == 0) ? 0.0 : 0.25 * (frames % 7);
      std::vector<Sample> expected(static_cast<size_t>(frames));
      const double expectedPeak =
          ClipSamplesPlain(source.data(), expected.data(), frames, level, seed);
      for (int inShift = 0; inShift < Alignments; ++inShift) {
        for (int outShift = -1; outShift < Alignments; ++outShift) {
          // outShift -1: the output is the input buffer itself.
          std::vector<Sample> in(static_cast<size_t>(frames + 2 * Alignments), guard);
          std::vector<Sample> out(in.size(), guard);
          std::copy(source.begin(), source.end(), in.begin() + inShift);
          Sample* target = outShift < 0 ? in.data() + inShift : out.data() + outShift;
          const double peak = kernel(in.data() + inShift, target, frames, level, seed);
          ASSERT_EQ(Bits(peak), Bits(expectedPeak)) << "level " << level << " frames " << frames;
          for (int i = 0; i < frames; ++i) {
            ASSERT_EQ(Bits(target[i]), Bits(expected[static_cast<size_t>(i)]))
                << "level " << level << " frames " << frames << " sample " << i << " input "
                << source[static_cast<size_t>(i)];
          }
          if (outShift >= 0) {
            for (int i = 0; i < outShift; ++i) {
              ASSERT_EQ(out[static_cast<size_t>(i)], guard);
            }
            for (size_t i = static_cast<size_t>(outShift + frames); i < out.size(); ++i) {
              ASSERT_EQ(out[i], guard);
            }
          }
        }
      }
    }
  }
}
} // namespace

TEST(ClipKernel, PlainLoopIsTheClipperWithItsPeak) {
  const double in[] = {0.25, 0.75, -0.75, -0.0, std::numeric_limits<double>::quiet_NaN()};
  double out[5];
  EXPECT_EQ(ClipSamplesPlain(in, out, 5, 0.5, 0.0), 1.0);
  EXPECT_EQ(out[0], 0.5);
  EXPECT_EQ(out[1], 1.0);
  EXPECT_EQ(out[2], -1.0);
  EXPECT_TRUE(std::signbit(out[3]));
  EXPECT_EQ(Bits(out[4]), Bits(0.0));
  EXPECT_EQ(ClipSamplesPlain(in, out, 0, 0.5, 0.3), 0.3);
}

// x86: two at a time, and four at a time where the processor has AVX2; other processors have no
// vector forms and run the plain loop alone.
TEST(ClipKernel, EveryVectorFormMatchesThePlainLoop) {
  const std::vector<ClipKernelForm> forms = ClipSamplesVectorForms();
  if (forms.empty()) {
    GTEST_SKIP() << "no vector forms on this processor: ClipSamples is the plain loop";
  }
  for (const ClipKernelForm& form : forms) {
    SCOPED_TRACE(form.name);
    ExpectSameAsPlain<double>(form.kernel);
  }
  for (const ClipKernelFormOf<float>& form : ClipFloatSamplesVectorForms()) {
    SCOPED_TRACE(std::string("float ") + form.name);
    ExpectSameAsPlain<float>(form.kernel);
  }
}

TEST(ClipKernel, ChosenFormMatchesThePlainLoop) {
  ExpectSameAsPlain<double>(ClipSamples);
  ExpectSameAsPlain<float>(ClipSamples);
}

// The one-pass single-precision loop is the double clipper between a widening and a narrowing.
TEST(ClipKernel, FloatLoopIsTheDoubleLoopOnWidenedSamples) {
  std::mt19937 random(9);
  for (double level : {1.0, 0.50005, 0.0001}) {
    const std::vector<float> source = Samples<float>(random, level, 257);
    std::vector<double> widened(source.begin(), source.end());
    std::vector<float> direct(source.size());
    const double peak = ClipSamplesPlain(source.data(), direct.data(), 257, level, 0.125);
    const double widenedPeak = ClipSamplesPlain(widened.data(), widened.data(), 257, level, 0.125);
    EXPECT_EQ(Bits(peak), Bits(widenedPeak));
    for (size_t i = 0; i < source.size(); ++i) {
      ASSERT_EQ(Bits(direct[i]), Bits(static_cast<float>(widened[i]))) << i;
    }
  }
}

// Output one sample behind the input in the same buffer: each result feeds the next input,
// which only the sample-by-sample order gives.
TEST(ClipKernel, OverlappingBuffersKeepTheSampleOrder) {
  std::vector<double> plain(40), fast(40);
  for (int i = 0; i < 40; ++i) {
    plain[static_cast<size_t>(i)] = fast[static_cast<size_t>(i)] = 0.1 * (i % 9) - 0.4;
  }
  const double plainPeak = ClipSamplesPlain(plain.data(), plain.data() + 1, 39, 0.3, 0.0);
  const double fastPeak = ClipSamples(fast.data(), fast.data() + 1, 39, 0.3, 0.0);
  EXPECT_EQ(Bits(plainPeak), Bits(fastPeak));
  for (size_t i = 0; i < plain.size(); ++i) {
    EXPECT_EQ(Bits(plain[i]), Bits(fast[i])) << i;
  }
}
