// The automation file's reader and its schedule, on Ombrix's CLAP build: the JSON reader's
// refusals name the place, and the changes a schedule hands out do not depend on the blocks
// they are asked for in.
#include "host/clap/ClapPlugin.h"
#include "tests/tools/RenderTestSupport.h"
#include "tools/render/Automation.h"
#include "tools/render/JsonReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {
constexpr int kRate = 1000;

TEST(JsonReader, ReadsNestedValuesAndNamesThePlaceOfAFault) {
  JsonValue value;
  std::string error;
  ASSERT_TRUE(
      ReadJson("{\"a\": [1, -2.5e1, true, null, \"x\\\"y\\n\\u00e9\\ud83c\\udfb8\"],\n \"b\": {}}",
               &value, &error))
      << error;
  ASSERT_EQ(value.members.size(), 2u);
  const JsonValue& list = value.members[0].second;
  EXPECT_EQ(list.items[1].number, -25.0);
  EXPECT_EQ(list.items[4].text, "x\"y\n\xC3\xA9\xF0\x9F\x8E\xB8");
  EXPECT_EQ(value.Member("b")->Place(), "line 2, column 7");
  const struct {
    std::string text;
    const char* reason;
  } faults[] = {{"{\"a\": [1, 2}", "line 1, column 12: expected ',' or ']'"},
                {"{\"a\": \"open", "line 1, column 12: a string is not closed"},
                {"[1] 2", "line 1, column 5: unexpected text after the end"},
                {"{\"a\": 1e999}", "is not a number"},
                {"\"\\ud83c\"", "without its second half"},
                {"\"\\u12\"", "four hex digits"},
                {"", "ends where a value was expected"},
                {std::string(100, '['), "nested too deeply"}};
  for (const auto& fault : faults) {
    EXPECT_FALSE(ReadJson(fault.text, &value, &error)) << fault.text;
    EXPECT_NE(error.find(fault.reason), std::string::npos) << fault.text << ": " << error;
  }
}

std::vector<HostedEvent> EventsInBlocks(AutomationSchedule schedule, int64_t frames, int block) {
  std::vector<HostedEvent> events;
  for (int64_t start = 0; start < frames; start += block) {
    std::vector<HostedEvent> due;
    schedule.EventsFor(start, block, &due);
    for (HostedEvent& event : due) {
      EXPECT_GE(event.frame, 0);
      EXPECT_LT(event.frame, block);
      event.frame += static_cast<int>(start);
      events.push_back(event);
    }
  }
  return events;
}

TEST(AutomationSchedule, ChangesLandOnTheSameFramesWhateverTheBlocks) {
  const std::string folder = FreshTestFolder();
  const std::string json = R"({"Amount of Distortion": {"points": [[0.01, 10], [0.1, 60]],
                                 "curve": "linear"},
                               "#KELBA": {"points": [[0, 0], [0.05, 1]], "curve": "step",
                                          "normalized": true}})";
  WriteBytes(folder + "a.json", std::vector<uint8_t>(json.begin(), json.end()));
  std::string error;
  std::unique_ptr<ClapPlugin> plugin = ClapPlugin::Load(OMBRIX_CLAP_FILE, &error);
  ASSERT_TRUE(plugin) << error;
  AutomationSchedule schedule;
  ASSERT_TRUE(AutomationSchedule::Load(folder + "a.json", *plugin, kRate, 16, &schedule, &error))
      << error;
  const std::vector<HostedEvent> whole = EventsInBlocks(schedule, 200, 200);
  // The amount: its first value from frame 0, then every 16 frames from the first point to the
  // last, which comes at its own frame; the switch at 0 and at 50.
  std::vector<std::pair<int, int>> expected = {{0, 0}, {0, 2}};
  for (int frame = 10; frame < 100; frame += 16) {
    expected.push_back({frame, 0});
  }
  expected.push_back({50, 2});
  expected.push_back({100, 0});
  std::sort(expected.begin(), expected.end());
  std::vector<std::pair<int, int>> got;
  for (const HostedEvent& event : whole) {
    got.push_back({event.frame, event.parameter});
  }
  std::vector<std::pair<int, int>> sorted = got;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(sorted, expected);
  EXPECT_TRUE(std::is_sorted(got.begin(), got.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; }));
  EXPECT_NEAR(whole.back().normalized, 60.0 / 99.99, 1e-9);
  for (int block : {1, 7, 16, 64}) {
    const std::vector<HostedEvent> split = EventsInBlocks(schedule, 200, block);
    ASSERT_EQ(split.size(), whole.size()) << "blocks of " << block;
    for (size_t i = 0; i < split.size(); ++i) {
      EXPECT_EQ(split[i].frame, whole[i].frame) << "blocks of " << block;
      EXPECT_EQ(split[i].normalized, whole[i].normalized) << "blocks of " << block;
    }
  }
}
} // namespace
