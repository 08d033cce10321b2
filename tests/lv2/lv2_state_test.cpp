// State through lilv as hosts keep it in sessions: into a fresh instance, through state files,
// and refused when it is missing, foreign or cut short.
#include "lv2/ILv2Plugin.h"
#include "lv2/Lv2Identity.h"
#include "tests/lv2/Lv2TestHost.h"

#include <gtest/gtest.h>
#include <lv2/atom/atom.h>
#include <lv2/state/state.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {
const void* PortValue(const char* symbol, void* user, uint32_t* size, uint32_t* type) {
  auto* instance = static_cast<TestInstance*>(user);
  static float value;
  value = instance->Control(symbol);
  *size = sizeof(float);
  *type = TestWorld::Get().Uris().Map(LV2_ATOM__Float);
  return &value;
}

void SetPortValue(const char* symbol, void* user, const void* value, uint32_t size, uint32_t) {
  if (size == sizeof(float)) {
    static_cast<TestInstance*>(user)->SetControl(symbol, *static_cast<const float*>(value));
  }
}

LilvState* Snapshot(TestInstance& instance) {
  TestWorld& host = TestWorld::Get();
  return lilv_state_new_from_instance(host.Plugin(), instance.Lilv(), host.Uris().MapFeature(),
                                      nullptr, nullptr, nullptr, nullptr, PortValue, &instance, 0,
                                      instance.Features());
}

// The properties the plug-in stored, as the host keeps them.
struct StoredState {
  std::map<LV2_URID, std::vector<uint8_t>> values;
  std::map<LV2_URID, LV2_URID> types;
};

LV2_State_Status Store(LV2_State_Handle handle, uint32_t key, const void* value, size_t size,
                       uint32_t type, uint32_t) {
  auto* stored = static_cast<StoredState*>(handle);
  const auto* bytes = static_cast<const uint8_t*>(value);
  stored->values[key].assign(bytes, bytes + size);
  stored->types[key] = type;
  return LV2_STATE_SUCCESS;
}

const void* Retrieve(LV2_State_Handle handle, uint32_t key, size_t* size, uint32_t* type,
                     uint32_t* flags) {
  auto* stored = static_cast<StoredState*>(handle);
  auto found = stored->values.find(key);
  if (found == stored->values.end()) {
    return nullptr;
  }
  *size = found->second.size();
  *type = stored->types[key];
  *flags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
  return found->second.data();
}

const LV2_State_Interface* StateOf(TestInstance& instance) {
  return static_cast<const LV2_State_Interface*>(
      lilv_instance_get_extension_data(instance.Lilv(), LV2_STATE__interface));
}

StoredState Saved(TestInstance& instance) {
  StoredState stored;
  EXPECT_EQ(StateOf(instance)->save(lilv_instance_get_handle(instance.Lilv()), Store, &stored, 0,
                                    instance.Features()),
            LV2_STATE_SUCCESS);
  return stored;
}

LV2_State_Status Restored(TestInstance& instance, StoredState& stored) {
  return StateOf(instance)->restore(lilv_instance_get_handle(instance.Lilv()), Retrieve, &stored, 0,
                                    instance.Features());
}

LV2_URID Key(const std::string& suffix) {
  return TestWorld::Get().Uris().Map((std::string(PluginUri()) + suffix).c_str());
}

// An edited instance: its second program current and renamed (as a host renames a program),
// then amount 33 and the animation off on its ports.
void Edit(TestInstance& instance) {
  instance.RunSilence(16);
  ILv2Plugin* plugin = instance.Plugin();
  {
    IScopedLock guard(plugin->Lock());
    plugin->SelectPreset(1);
    plugin->ModifyCurrentPreset("Renamed and edited");
  }
  instance.SetControl("amount_of_distortion", 33.0f);
  instance.SetControl("kelba_enabled", 0.0f);
  instance.RunSilence(16);
}

void ExpectEdited(TestInstance& instance) {
  instance.RunSilence(16);
  ILv2Plugin* plugin = instance.Plugin();
  EXPECT_EQ(plugin->CurrentPreset(), 1);
  EXPECT_STREQ(plugin->Preset(1)->name, "Renamed and edited");
  EXPECT_EQ(instance.Reported("amount_of_distortion"), 33.0f);
  EXPECT_EQ(instance.Reported("kelba_enabled"), 0.0f);
  instance.Run({0.5f}, {-0.1f});
  EXPECT_FLOAT_EQ(instance.Out(0)[0], 0.5f / 0.67f > 1.0f ? 1.0f : 0.5f / 0.67f);
  EXPECT_FLOAT_EQ(instance.Out(1)[0], -0.1f / 0.67f);
}
} // namespace

TEST(Lv2State, ProgramsAndValuesComeBackInAFreshInstance) {
  TestInstance edited;
  Edit(edited);
  StoredState stored = Saved(edited);
  ASSERT_EQ(stored.values.count(Key("#bank")), 1u);
  EXPECT_EQ(stored.types[Key("#bank")], TestWorld::Get().Uris().Map(LV2_ATOM__Chunk));
  // The bank block: header "tffp", version 1.0.
  const std::vector<uint8_t>& bank = stored.values[Key("#bank")];
  ASSERT_GE(bank.size(), 8u);
  EXPECT_EQ(std::string(bank.begin(), bank.begin() + 4), "tffp");

  // Through lilv, with the port values the host restores.
  LilvState* state = Snapshot(edited);
  ASSERT_NE(state, nullptr);
  TestInstance restored;
  lilv_state_restore(state, restored.Lilv(), SetPortValue, &restored, 0, restored.Features());
  ExpectEdited(restored);

  // A host that restores only the state, its ports left at their defaults.
  TestInstance stateOnly;
  stateOnly.RunSilence(16);
  lilv_state_restore(state, stateOnly.Lilv(), nullptr, nullptr, 0, stateOnly.Features());
  ExpectEdited(stateOnly);
  // The host's next change of a port wins again.
  stateOnly.SetControl("amount_of_distortion", 10.0f);
  stateOnly.RunSilence(4);
  EXPECT_EQ(stateOnly.Reported("amount_of_distortion"), 10.0f);
  lilv_state_free(state);
}

TEST(Lv2State, StateFilesRestoreTheSameInstance) {
  TestWorld& host = TestWorld::Get();
  char directory[] = "/tmp/ombrix-lv2-state-XXXXXX";
  ASSERT_NE(mkdtemp(directory), nullptr);
  {
    TestInstance edited;
    Edit(edited);
    LilvState* state = Snapshot(edited);
    lilv_state_set_label(state, "Edited");
    ASSERT_EQ(lilv_state_save(host.World(), host.Uris().MapFeature(), host.Uris().UnmapFeature(),
                              state, nullptr, directory, "edited.ttl"),
              0);
    lilv_state_free(state);
  }
  const std::string path = std::string(directory) + "/edited.ttl";
  LilvState* loaded =
      lilv_state_new_from_file(host.World(), host.Uris().MapFeature(), nullptr, path.c_str());
  ASSERT_NE(loaded, nullptr);
  TestInstance restored;
  lilv_state_restore(loaded, restored.Lilv(), SetPortValue, &restored, 0, restored.Features());
  ExpectEdited(restored);
  lilv_state_free(loaded);
  std::remove(path.c_str());
  std::remove((std::string(directory) + "/manifest.ttl").c_str());
  rmdir(directory);
}

// A missing, foreign, mistyped or short state leaves programs and values exactly as they were,
// and says so through the host's log.
TEST(Lv2State, StateThatIsNotACompleteBankChangesNothing) {
  TestInstance source;
  Edit(source);
  StoredState good = Saved(source);
  const std::vector<uint8_t> bank = good.values[Key("#bank")];

  StoredState missing;
  StoredState foreign;
  foreign.values[Key("#bank")] = std::vector<uint8_t>(64, 'x');
  foreign.types[Key("#bank")] = TestWorld::Get().Uris().Map(LV2_ATOM__Chunk);
  StoredState mistyped = good;
  mistyped.types[Key("#bank")] = TestWorld::Get().Uris().Map(LV2_ATOM__String);
  StoredState shortBank = good;
  shortBank.values[Key("#bank")].resize(bank.size() - 20);
  StoredState headerOnly = good;
  headerOnly.values[Key("#bank")].resize(8);

  for (StoredState* state : {&missing, &foreign, &mistyped, &shortBank, &headerOnly}) {
    for (bool withLog : {true, false}) {
      TestInstance target(512, withLog);
      target.SetControl("amount_of_distortion", 70.0f);
      target.RunSilence(8);
      const StoredState before = Saved(target);
      EXPECT_NE(Restored(target, *state), LV2_STATE_SUCCESS);
      const StoredState after = Saved(target);
      EXPECT_EQ(after.values, before.values);
      EXPECT_EQ(target.Plugin()->Parameter(0)->Value(), 70.0);
      target.RunSilence(8);
      EXPECT_EQ(target.Reported("amount_of_distortion"), 70.0f);
      if (withLog) {
        ASSERT_EQ(target.Log().Messages().size(), 1u);
        EXPECT_NE(target.Log().Messages()[0].find("nothing was changed"), std::string::npos)
            << target.Log().Messages()[0];
      }
    }
  }

  // A program number out of range leaves the bank's own current program.
  StoredState badProgram = good;
  const int32_t outOfRange = 9;
  std::vector<uint8_t>& program = badProgram.values[Key("#program")];
  program.assign(reinterpret_cast<const uint8_t*>(&outOfRange),
                 reinterpret_cast<const uint8_t*>(&outOfRange) + sizeof(outOfRange));
  TestInstance target;
  EXPECT_EQ(Restored(target, badProgram), LV2_STATE_SUCCESS);
  EXPECT_EQ(target.Plugin()->CurrentPreset(), 0);
  EXPECT_STREQ(target.Plugin()->Preset(1)->name, "Renamed and edited");
}
