#include "effect/Ombrix.h"
#include "effect/SignalMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <vector>

// The vectorised processing against the plain formula, through the effect record as a host
// calls it: every length up to 300 frames at every alignment of the host's buffers, with a
// controller 69 event moving the clip level inside the block.
namespace {
constexpr int LongestBlock = 300;
constexpr int Alignments = 8; // floats: every position within a 32-byte vector

VstIntPtr VSTCALLBACK Host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterProcessEvents ? 1 : 0;
}

template <typename Sample> uint64_t Bits(Sample value) {
  uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof value);
  return bits;
}

template <typename Sample> std::vector<Sample> Samples(std::mt19937& random, int count) {
  const Sample inf = std::numeric_limits<Sample>::infinity();
  const Sample edges[] = {Sample(0.0),  Sample(-0.0), std::numeric_limits<Sample>::quiet_NaN(),
                          inf,          -inf,         Sample(0.5),
                          Sample(-0.5), Sample(1e-6), std::numeric_limits<Sample>::denorm_min()};
  std::uniform_real_distribution<double> loud(-1.5, 1.5);
  std::vector<Sample> samples(static_cast<size_t>(count));
  for (Sample& sample : samples) {
    sample = random() % 4 == 0 ? edges[random() % 9] : static_cast<Sample>(loud(random));
  }
  return samples;
}

class FastPathTest : public ::testing::Test {
protected:
  void SetUp() override {
    plugin = std::make_unique<Ombrix>(Host);
    Dispatch(effOpen);
    Dispatch(effSetBlockSize, 512);
  }
  VstIntPtr Dispatch(VstInt32 opcode, VstIntPtr value = 0, void* ptr = nullptr) {
    AEffect* record = plugin->Effect();
    return record->dispatcher(record, opcode, 0, value, ptr, 0.0f);
  }
  // Sets the amount, queues controller 69 at offset (none when negative) and returns the level
  // before it.
  double Prepare(float amount, int offset, int value) {
    AEffect* record = plugin->Effect();
    record->setParameter(record, Ombrix::ParamAmount, amount);
    if (offset >= 0) {
      VstMidiEvent controller = {};
      controller.type = kVstMidiType;
      controller.byteSize = sizeof(VstMidiEvent);
      controller.deltaFrames = offset;
      controller.midiData[0] = static_cast<char>(0xB0);
      controller.midiData[1] = Ombrix::MidiCcAmount;
      controller.midiData[2] = static_cast<char>(value);
      VstEvents list = {};
      list.numEvents = 1;
      list.events[0] = reinterpret_cast<VstEvent*>(&controller);
      Dispatch(effProcessEvents, 0, &list);
    }
    return plugin->ClipLevel();
  }

  template <typename Sample> void ExpectPlainResults(bool doublePath) {
    std::mt19937 random(1209);
    for (int frames = 0; frames <= LongestBlock; ++frames) {
      for (int shift = 0; shift < Alignments; ++shift) {
        const std::vector<Sample> left = Samples<Sample>(random, frames);
        const std::vector<Sample> right = Samples<Sample>(random, frames);
        const int offset = frames > 0 ? static_cast<int>(random() % frames) : -1;
        const float amount = static_cast<float>(random() % 1000) / 1000.0f;
        const double meterLeft = plugin->MeterLevelLeft();
        const double meterRight = plugin->MeterLevelRight();
        const double before = Prepare(amount, offset, static_cast<int>(random() % 128));

        std::vector<Sample> in(static_cast<size_t>(2 * (frames + Alignments)));
        std::vector<Sample> out(in.size());
        Sample* inputs[2] = {in.data() + shift, in.data() + shift + frames + Alignments};
        Sample* outputs[2] = {out.data() + shift, out.data() + shift + frames + Alignments};
        std::copy(left.begin(), left.end(), inputs[0]);
        std::copy(right.begin(), right.end(), inputs[1]);
        AEffect* record = plugin->Effect();
        if constexpr (sizeof(Sample) == sizeof(double)) {
          record->processDoubleReplacing(record, reinterpret_cast<double**>(inputs),
                                         reinterpret_cast<double**>(outputs), frames);
        } else {
          record->processReplacing(record, reinterpret_cast<float**>(inputs),
                                   reinterpret_cast<float**>(outputs), frames);
        }
        ASSERT_EQ(doublePath, sizeof(Sample) == sizeof(double));
        const double after = plugin->ClipLevel();

        // The plain formula, sample by sample, with the level moving after the event's sample.
        double peaks[2] = {0.0, 0.0};
        double levels[2] = {meterLeft, meterRight};
        for (int channel = 0; channel < 2; ++channel) {
          const std::vector<Sample>& source = channel == 0 ? left : right;
          for (int i = 0; i < frames; ++i) {
            const double level = channel == 0 && i <= offset ? before : after;
            const double y = ClipSample(static_cast<double>(source[static_cast<size_t>(i)]), level);
            peaks[channel] = std::max(peaks[channel], std::fabs(y));
            ASSERT_EQ(Bits(outputs[channel][i]), Bits(static_cast<Sample>(y)))
                << "frames " << frames << " shift " << shift << " channel " << channel << " sample "
                << i;
          }
          levels[0] = SmoothMeterLevel(peaks[0], levels[0]);
          levels[1] = SmoothMeterLevel(peaks[1], levels[1]);
          peaks[0] = levels[0];
          peaks[1] = levels[1];
        }
        ASSERT_EQ(Bits(plugin->MeterLevelLeft()), Bits(levels[0])) << "frames " << frames;
        ASSERT_EQ(Bits(plugin->MeterLevelRight()), Bits(levels[1])) << "frames " << frames;
      }
    }
  }

  std::unique_ptr<Ombrix> plugin;
};
} // namespace

TEST_F(FastPathTest, DoubleProcessingGivesThePlainFormulasResults) {
  ExpectPlainResults<double>(true);
}

TEST_F(FastPathTest, FloatProcessingGivesThePlainFormulasResults) {
  ExpectPlainResults<float>(false);
}

// Single-precision calls run on the host's buffers unless that could change what is read: in
// place they still do, with outputs crossed over the other channel's inputs they stage first.
// Either way the samples are those of separate buffers.
TEST_F(FastPathTest, FloatBuffersSharedWithInputsGiveTheSeparateBuffersResults) {
  std::mt19937 random(69);
  const int frames = 203;
  const std::vector<float> left = Samples<float>(random, frames);
  const std::vector<float> right = Samples<float>(random, frames);
  auto run = [&](bool inPlace, bool crossed) {
    Ombrix fresh(Host);
    AEffect* record = fresh.Effect();
    record->dispatcher(record, effOpen, 0, 0, nullptr, 0.0f);
    record->setParameter(record, Ombrix::ParamAmount, 0.7f);
    std::vector<float> a = left, b = right;
    std::vector<float> outA(frames), outB(frames);
    float* inputs[2] = {a.data(), b.data()};
    float* outputs[2] = {outA.data(), outB.data()};
    if (inPlace) {
      outputs[0] = a.data();
      outputs[1] = b.data();
    } else if (crossed) {
      outputs[0] = b.data();
      outputs[1] = a.data();
    }
    record->processReplacing(record, inputs, outputs, frames);
    const float* first = outputs[0];
    const float* second = outputs[1];
    return std::vector<std::vector<float>>{{first, first + frames}, {second, second + frames}};
  };
  const auto separate = run(false, false);
  const auto inPlace = run(true, false);
  const auto crossed = run(false, true);
  for (int channel = 0; channel < 2; ++channel) {
    for (int i = 0; i < frames; ++i) {
      ASSERT_EQ(Bits(inPlace[channel][i]), Bits(separate[channel][i])) << channel << " " << i;
      ASSERT_EQ(Bits(crossed[channel][i]), Bits(separate[channel][i])) << channel << " " << i;
    }
  }
}
