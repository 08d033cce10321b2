// run() allocates nothing, whatever a block carries: MIDI to pass on, controller 69, a
// transport position, a run longer than the announced block.
#include "tests/lv2/Lv2TestHost.h"
#include "tests/support/AllocationCount.h"

#include <gtest/gtest.h>
#include <lv2/state/state.h>

#include <vector>

namespace {
LV2_State_Status IgnoreStore(LV2_State_Handle, uint32_t, const void*, size_t, uint32_t, uint32_t) {
  return LV2_STATE_SUCCESS;
}
} // namespace

TEST(Lv2AudioPath, RunAllocatesNothing) {
  TestInstance instance(256);
  // The counter sees the module's allocations: its first state save makes the state block.
  const auto* state = static_cast<const LV2_State_Interface*>(
      lilv_instance_get_extension_data(instance.Lilv(), LV2_STATE__interface));
  const long beforeSave = AllocationCount();
  state->save(lilv_instance_get_handle(instance.Lilv()), IgnoreStore, nullptr, 0, nullptr);
  ASSERT_GT(AllocationCount() - beforeSave, 0);

  const std::vector<float> left(1000, 0.3f);
  const std::vector<float> right(1000, -0.6f);
  instance.RunSilence(256);
  for (int round = 0; round < 3; ++round) {
    instance.AddMidi(10, {0xB0, 69, static_cast<uint8_t>(40 + round)});
    instance.AddMidi(500, {0x90, 60, 100});
    instance.AddPosition(0, round, 0.5, 4, 4, 120, 1, 48000 * round);
    instance.SetControl("kelba_enabled", round % 2 == 0 ? 1.0f : 0.0f);
    const long before = AllocationCount();
    instance.Run(left, right);
    EXPECT_EQ(AllocationCount() - before, 0) << round;
    EXPECT_EQ(instance.PassedOn().size(), 2u);
  }
}
