// The open UI idles on the host's UI thread while the audio thread runs blocks with controller 69
// and moving ports, and the host hands the UI port events; also run under ThreadSanitizer.
#include "tests/lv2/Lv2UiHost.h"

#include <atomic>
#include <thread>
#include <vector>

namespace {
constexpr int BlockFrames = 128;
constexpr int Blocks = 200;
} // namespace

TEST(Lv2UiStress, TheEditorIdlesWhileTheAudioThreadRuns) {
  X11TestHost x;
  TestInstance instance(BlockFrames);
  instance.RunSilence(BlockFrames);
  OpenUi ui(x, instance);
  ASSERT_TRUE(ui.Opened());

  std::atomic<bool> done{false};
  std::thread audio([&] {
    const std::vector<float> input(BlockFrames, 0.4f);
    for (int block = 0; block < Blocks; ++block) {
      instance.AddMidi(block % BlockFrames, {0xB0, 69, static_cast<uint8_t>(block % 128)});
      instance.SetControl("kelba_enabled", static_cast<float>(block % 2));
      instance.Run(input, input);
    }
    done = true;
  });
  // At least one round, however quickly the audio thread finishes its blocks.
  int events = 0;
  do {
    ui.Idle();
    ui.PortEvent("amount_of_distortion", static_cast<float>(events++ % 100));
  } while (!done.load());
  audio.join();
  ui.Settle();
  // Controller 69 ran on the audio thread: nothing of it was written to the host's ports.
  EXPECT_TRUE(ui.calls.writes.empty());
  EXPECT_GT(events, 0);
}
