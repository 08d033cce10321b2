#include "vst2/PluginEntry.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

// The entry point's work on effects other than Ombrix: this program supplies the factory.
namespace {
int presetSlots = 4;
bool factoryFails = false;

class SmallEffect : public IVst2Plugin {
public:
  SmallEffect()
      : IVst2Plugin(nullptr, 2, "2-2", presetSlots, "Small", "", "Tests", 0x00010000, 1, 0, false,
                    false) {
    Parameter(0)->DefineContinuous("Gain", 3.0, 0.0, 10.0, 0.5, "dB");
    Parameter(1)->DefineInteger("Switch", 1);
    if (presetSlots > 0) {
      DefinePreset("Only", 7.0, 0);
    }
  }
};

double StoredValue(const IPresetSlot& slot, int index) {
  double value = 0.0;
  slot.state.ReadDouble(8 * index, &value);
  return value;
}
} // namespace

IVst2Plugin* CreateEffect(audioMasterCallback) {
  return factoryFails ? nullptr : new SmallEffect();
}

TEST(PluginEntry, UndefinedSlotsBecomeEmptyWithTheDefaults) {
  presetSlots = 4;
  AEffect* record = CreateVstEffect(nullptr);
  ASSERT_NE(record, nullptr);
  auto* plugin = static_cast<IVst2Plugin*>(record->object);
  EXPECT_STREQ(plugin->Preset(0)->name, "Only");
  EXPECT_EQ(StoredValue(*plugin->Preset(0), 0), 7.0);
  for (int i = 1; i < 4; ++i) {
    const IPresetSlot& slot = *plugin->Preset(i);
    EXPECT_TRUE(slot.defined);
    EXPECT_STREQ(slot.name, "Empty");
    EXPECT_EQ(slot.state.Size(), 16);
    EXPECT_EQ(StoredValue(slot, 0), 3.0);
    EXPECT_EQ(StoredValue(slot, 1), 1.0);
  }
  EXPECT_EQ(record->numPrograms, 4);
  record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
}

TEST(PluginEntry, NoPresetSlotsStillReportsOneProgram) {
  presetSlots = 0;
  AEffect* record = CreateVstEffect(nullptr);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->numPrograms, 1);
  // Without a host callback every host query answers nothing.
  EXPECT_EQ(record->dispatcher(record, effOpen, 0, 0, nullptr, 0.0f), 0);
  record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
}

TEST(PluginEntry, NoObjectGivesNoRecordAndReleasesTheLock) {
  factoryFails = true;
  EXPECT_EQ(CreateVstEffect(nullptr), nullptr);
  factoryFails = false;
  // Another thread can still create: the creation lock was let go. (Detached, so a lock held
  // by mistake fails the test instead of hanging it.)
  static std::atomic<bool> created{false};
  presetSlots = 1;
  std::thread([] {
    AEffect* record = CreateVstEffect(nullptr);
    record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
    created = true;
  }).detach();
  for (int wait = 0; wait < 500 && !created; ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_TRUE(created);
}

TEST(PluginEntry, RecordOfTheBindingAlone) {
  presetSlots = 2;
  AEffect* record = CreateVstEffect(nullptr);
  ASSERT_NE(record, nullptr);
  // "2-2" has no one-input configuration: no mono flag.
  EXPECT_EQ(record->flags, 0x1010);
  EXPECT_EQ(record->version, 10000);
  EXPECT_EQ(record->uniqueID, 1);
  record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
}
