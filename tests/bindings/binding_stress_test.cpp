// One plug-in driven by every thread a host brings, through each binding: the audio thread
// processing with MIDI and controller 69, a host thread writing parameters, switching programs
// and saving and loading the state, and the window's thread idling the open editor while the
// pointer drags over it. Under ThreadSanitizer any unguarded hand-over is reported.
#include "tests/bindings/BindingAdapter.h"

#include <atomic>
#include <cmath>
#include <thread>

namespace {
constexpr double SampleRate = 48000.0;
constexpr int BlockFrames = 256;
constexpr int Blocks = 400;
// The audio thread goes on past Blocks until the host thread has loaded the state this often
// (a busy machine may start it late), up to MaxBlocks.
constexpr int MinStateLoads = 3;
constexpr int MaxBlocks = 1000000;
constexpr int EventsPerBlock = 8;
constexpr int FactoryPrograms = 5;
constexpr int WindowPasses = 20;
constexpr int IdleMs = 10;
constexpr uint8_t PolyPressure = 0xA0;

// Polyphonic pressure moves nothing, and carries its serial number in its data bytes.
MidiAt Tagged(int serial, int frame) {
  return {frame, static_cast<uint8_t>(PolyPressure | (serial >> 14 & 0x0F)),
          static_cast<uint8_t>(serial & 0x7F), static_cast<uint8_t>(serial >> 7 & 0x7F)};
}

class BindingStress : public testing::TestWithParam<Binding> {};

TEST_P(BindingStress, HostThreadsDriveOnePluginAtOnce) {
  X11TestHost x;
  auto adapter = GetParam().create(SampleRate, BlockFrames);
  // Playing on an odd beat, so the beat animation has work to do.
  adapter->StartTransport(3.5);
  const Window parent = x.MakeParent(0, 0, 600, 450);
  ASSERT_TRUE(adapter->OpenEditor(x, parent));
  std::atomic<bool> audioDone{false};
  std::atomic<int> stateLoads{0};
  std::atomic<int> failedLoads{0};
  int outOfRange = 0;
  std::vector<MidiAt> expected;

  std::thread audio([&] {
    std::vector<float> left(BlockFrames), right(BlockFrames, -0.4f);
    std::vector<float> outLeft(BlockFrames), outRight(BlockFrames);
    for (int block = 0; block < MaxBlocks && (block < Blocks || stateLoads < MinStateLoads);
         ++block) {
      for (int i = 0; i < EventsPerBlock; ++i) {
        expected.push_back(Tagged(block * EventsPerBlock + i, i * BlockFrames / EventsPerBlock));
      }
      expected.push_back({BlockFrames - 1, 0xB0, 69, static_cast<uint8_t>(block % 128)});
      for (auto event = expected.end() - EventsPerBlock - 1; event != expected.end(); ++event) {
        adapter->QueueMidi(*event);
      }
      std::fill(left.begin(), left.end(), block % 3 == 0 ? 0.9f : 0.2f);
      adapter->Process(left, right, outLeft, outRight);
      for (int i = 0; i < BlockFrames; ++i) {
        outOfRange += !(std::abs(outLeft[i]) <= 1.0f && std::abs(outRight[i]) <= 1.0f);
      }
    }
    audioDone = true;
  });
  std::thread host([&] {
    for (int i = 0; !audioDone; ++i) {
      adapter->SetParameter(OmbrixParameter::Amount, i % 100);
      adapter->SetParameter(OmbrixParameter::KelbaEnabled, i % 2);
      if (i % 10 == 0) {
        adapter->SelectProgram(i / 10 % FactoryPrograms);
      }
      if (i % 10 == 5) {
        failedLoads += !adapter->LoadState(adapter->SaveState());
        ++stateLoads;
      }
      std::this_thread::yield();
    }
  });

  // This thread is the host's window thread.
  int rootX = 0;
  int rootY = 0;
  x.RootPosition(x.Children(parent).front(), &rootX, &rootY);
  for (int pass = 0; !audioDone || pass < WindowPasses; ++pass) {
    x.MovePointer(rootX + 280, rootY + 200 - pass % 40);
    if (pass % 10 == 0) {
      x.Button(1, true);
    } else if (pass % 10 == 5) {
      x.Button(1, false);
    }
    PumpFor([&] { adapter->IdleEditor(); }, IdleMs);
  }
  x.Button(1, false);
  audio.join();
  host.join();
  adapter->CloseEditor();
  x.Destroy(parent);

  EXPECT_EQ(X11TestHost::ErrorsSeen(), 0);
  EXPECT_EQ(outOfRange, 0);
  EXPECT_EQ(failedLoads.load(), 0);
  EXPECT_EQ(adapter->TakePassedBackMidi(), ReachingPlugin(*adapter, expected));

  // The state the threads left behind loads into a fresh instance and saves the same.
  const std::vector<uint8_t> state = adapter->SaveState();
  auto fresh = GetParam().create(SampleRate, BlockFrames);
  EXPECT_TRUE(fresh->LoadState(state));
  EXPECT_EQ(fresh->SaveState(), state);
}
} // namespace

INSTANTIATE_TEST_SUITE_P(Bindings, BindingStress, testing::ValuesIn(AllBindings()), BindingName);
