// The audio path allocates nothing, whatever a block carries: MIDI to pass back, controller 69,
// the transport, parameter changes, more frames than the announced block. This program counts
// every operator new, the module's too, so it runs alone.
#include "tests/bindings/BindingAdapter.h"
#include "tests/support/AllocationCount.h"

namespace {
constexpr double SampleRate = 48000.0;
constexpr int AnnouncedFrames = 256;
constexpr int Frames = 1000;
constexpr int Rounds = 3;

class BindingAllocation : public testing::TestWithParam<Binding> {};

TEST_P(BindingAllocation, ProcessingAllocatesNothing) {
  const long beforeCreation = AllocationCount();
  auto adapter = GetParam().create(SampleRate, AnnouncedFrames);
  // The counter sees the module's allocations.
  ASSERT_GT(AllocationCount() - beforeCreation, 0);
  const std::vector<float> left(Frames, 0.3f);
  const std::vector<float> right(Frames, -0.6f);
  std::vector<float> outLeft(Frames);
  std::vector<float> outRight(Frames);
  adapter->Process(left, right, outLeft, outRight);
  adapter->KeepPassedBackMidi(false);
  adapter->StartTransport(1.5);
  for (int round = 0; round < Rounds; ++round) {
    adapter->QueueMidi({10, 0xB0, 69, static_cast<uint8_t>(40 + round)});
    adapter->QueueMidi({500, 0x90, 60, 100});
    adapter->SetParameter(OmbrixParameter::KelbaEnabled, round % 2);
    const long before = AllocationCount();
    adapter->Process(left, right, outLeft, outRight);
    EXPECT_EQ(AllocationCount() - before, 0) << "round " << round;
  }
}
} // namespace

INSTANTIATE_TEST_SUITE_P(Bindings, BindingAllocation, testing::ValuesIn(AllBindings()),
                         BindingName);
