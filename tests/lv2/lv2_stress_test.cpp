// The audio thread runs blocks with MIDI, controller 69 and moving ports while a host thread
// saves the state, as LV2 lets hosts do at once; also run under ThreadSanitizer.
#include "tests/lv2/Lv2TestHost.h"

#include <gtest/gtest.h>
#include <lv2/state/state.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

namespace {
constexpr int BlockFrames = 128;
constexpr int Blocks = 300;
// The audio thread goes on past Blocks until the host thread has saved this often (a busy
// machine may start the host thread late), up to MaxBlocks.
constexpr int MinSaves = 3;
constexpr int MaxBlocks = 1000000;
constexpr int EventsPerBlock = 6;

struct SavedBank {
  std::atomic<int> saves{0};
  std::atomic<int> bad{0};
};

LV2_State_Status CheckBank(LV2_State_Handle handle, uint32_t key, const void* value, size_t size,
                           uint32_t, uint32_t) {
  auto* saved = static_cast<SavedBank*>(handle);
  if (key == TestWorld::Get().Uris().Map(OMBRIX_LV2_URI "#bank")) {
    ++saved->saves;
    // Header, then five programs of a name, a flag and three values.
    saved->bad += size < 8 + 5 * (4 + 1 + 24) || std::memcmp(value, "tffp", 4) != 0;
  }
  return LV2_STATE_SUCCESS;
}
} // namespace

TEST(Lv2Stress, StateSavesWhileTheAudioThreadRuns) {
  TestInstance instance(BlockFrames);
  const auto* state = static_cast<const LV2_State_Interface*>(
      lilv_instance_get_extension_data(instance.Lilv(), LV2_STATE__interface));
  LV2_Handle handle = lilv_instance_get_handle(instance.Lilv());
  instance.RunSilence(BlockFrames);

  std::atomic<bool> running{true};
  SavedBank saved;
  std::thread host([&] {
    while (running.load()) {
      state->save(handle, CheckBank, &saved, 0, instance.Features());
    }
  });

  int passed = 0;
  int blocks = 0;
  const std::vector<float> input(BlockFrames, 0.25f);
  for (int block = 0; block < MaxBlocks && (block < Blocks || saved.saves.load() < MinSaves);
       ++block) {
    ++blocks;
    for (int e = 0; e < EventsPerBlock; ++e) {
      instance.AddMidi(e * 20, {0xA0, static_cast<uint8_t>(e), static_cast<uint8_t>(block & 0x7F)});
    }
    instance.AddMidi(5, {0xB0, 69, static_cast<uint8_t>(block % 128)});
    instance.SetControl("amount_of_distortion", static_cast<float>(block % 10) * 10.0f);
    instance.Run(input, input);
    passed += static_cast<int>(instance.PassedOn().size());
  }
  running = false;
  host.join();
  EXPECT_EQ(passed, blocks * (EventsPerBlock + 1));
  EXPECT_GE(saved.saves.load(), MinSaves);
  EXPECT_EQ(saved.bad.load(), 0);
}
