#include "TestPlugin.h"
#include "plugin/StateHeader.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {
using Bytes = std::vector<uint8_t>;

// Encodings written out by hand, independent of the block's own arithmetic.
const Bytes header = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00};
const Bytes zero = {0, 0, 0, 0, 0, 0, 0, 0};
const Bytes one = {0, 0, 0, 0, 0, 0, 0xF0, 0x3F};
const Bytes twenty = {0, 0, 0, 0, 0, 0, 0x34, 0x40};
const Bytes forty = {0, 0, 0, 0, 0, 0, 0x44, 0x40};
const Bytes eighty = {0, 0, 0, 0, 0, 0, 0x54, 0x40};
const Bytes ninetyNine = {0x8F, 0xC2, 0xF5, 0x28, 0x5C, 0xFF, 0x58, 0x40};

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes joined;
  for (const Bytes& part : parts) {
    joined.insert(joined.end(), part.begin(), part.end());
  }
  return joined;
}

Bytes Int32(int32_t value) {
  const uint32_t bits = static_cast<uint32_t>(value);
  return {static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8),
          static_cast<uint8_t>(bits >> 16), static_cast<uint8_t>(bits >> 24)};
}

Bytes Text(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

Bytes StoredSlot(const std::string& name, Bytes values) {
  return Join({Int32(static_cast<int32_t>(name.size())), Text(name), {1}, values});
}

IByteBlock Block(const Bytes& bytes) {
  IByteBlock block;
  block.AppendBytes(bytes.data(), static_cast<int>(bytes.size()));
  return block;
}

Bytes Contents(const IByteBlock& block) {
  return Bytes(block.Data(), block.Data() + block.Size());
}

const Bytes factoryBank = Join({
    header,
    StoredSlot("Default", Join({zero, zero, zero})),
    StoredSlot("Kinda Clean", Join({twenty, zero, zero})),
    StoredSlot("Dirty", Join({forty, zero, zero})),
    StoredSlot("Dirtier", Join({eighty, zero, zero})),
    StoredSlot("Is it still music???", Join({ninetyNine, zero, zero})),
});

// The three live values.
std::vector<double> Live(TestPlugin& plugin) {
  return {plugin.Parameter(0)->Value(), plugin.Parameter(1)->Value(), plugin.Parameter(2)->Value()};
}

std::vector<double> Stored(const IPresetSlot& slot) {
  std::vector<double> values(3, -1.0);
  int position = 0;
  for (double& value : values) {
    position = slot.state.ReadDouble(position, &value);
  }
  return values;
}

int LoadBank(TestPlugin& plugin, const Bytes& bytes) {
  const IByteBlock block = Block(bytes);
  int position = 0;
  EXPECT_EQ(ReadStateHeader(&block, &position), stateVersion);
  return plugin.UnserializePresets(&block, position);
}

struct FactoryPlugin : TestPlugin {
  FactoryPlugin() { MakeFactoryPresets(); }
};
} // namespace

TEST(ProgramBlock, IsMagicVersionAndEachValueAsADouble) {
  TestPlugin plugin;
  plugin.SetValues(80.0, 1, 0);
  IByteBlock block;
  ASSERT_TRUE(WriteStateHeader(&block));
  ASSERT_TRUE(plugin.SerializeParams(&block));
  EXPECT_EQ(Contents(block), Join({header, eighty, one, zero}));

  TestPlugin other;
  int position = 0;
  EXPECT_EQ(ReadStateHeader(&block, &position), stateVersion);
  EXPECT_EQ(other.UnserializeParams(&block, position), 32);
  EXPECT_EQ(Live(other), (std::vector<double>{80.0, 1.0, 0.0}));
  EXPECT_EQ(other.log, (std::vector<std::string>{"Changed 0", "Changed 1", "Changed 2"}));
}

TEST(ProgramBlock, CutShortRestoresWhatIsThereAndZeroesTheFirstMissingValue) {
  TestPlugin plugin;
  plugin.SetValues(80.0, 1, 1);
  const IByteBlock block = Block(Join({header, forty, {0, 0, 0, 0}}));
  int position = 0;
  ReadStateHeader(&block, &position);
  EXPECT_EQ(plugin.UnserializeParams(&block, position), -1);
  EXPECT_EQ(Live(plugin), (std::vector<double>{40.0, 0.0, 1.0}));
  EXPECT_EQ(plugin.log.size(), 3u) << "every parameter is reported, whatever was read";
}

TEST(ProgramBlock, WithoutHeaderIsReadFromTheFirstByteAndValuesAreClamped) {
  TestPlugin plugin;
  const Bytes nan = {0, 0, 0, 0, 0, 0, 0xF8, 0x7F};
  const Bytes minusOne = {0, 0, 0, 0, 0, 0, 0xF0, 0xBF};
  const IByteBlock block = Block(Join({Int32(0), Int32(0x40590000), minusOne, nan, zero}));
  int position = 0;
  EXPECT_EQ(ReadStateHeader(&block, &position), 0);
  EXPECT_EQ(position, 0);
  // Extra bytes after the last value are ignored.
  EXPECT_EQ(plugin.UnserializeParams(&block, position), 24);
  EXPECT_EQ(Live(plugin), (std::vector<double>{99.99, 0.0, 0.0}));
  EXPECT_EQ(plugin.UnserializeParams(&block, -1), -1);
}

TEST(BankBlock, FactoryBankIs203BytesExactly) {
  FactoryPlugin plugin;
  IByteBlock block;
  ASSERT_TRUE(WriteStateHeader(&block));
  ASSERT_TRUE(plugin.SerializePresets(&block));
  ASSERT_EQ(block.Size(), 203);
  EXPECT_EQ(Contents(block), factoryBank);
}

TEST(BankBlock, UndefinedSlotsStoreNoValues) {
  TestPlugin plugin("1-1 2-2", 2);
  plugin.DefinePreset("A", 1.5, 1, 0);
  IByteBlock block;
  ASSERT_TRUE(plugin.SerializePresets(&block));
  EXPECT_EQ(Contents(block),
            Join({StoredSlot("A", Join({{0, 0, 0, 0, 0, 0, 0xF8, 0x3F}, one, zero})),
                  Int32(5),
                  Text("empty"),
                  {0}}));
}

TEST(BankBlock, RoundTripRestoresSlotsAndReturnsToTheCurrentSlot) {
  FactoryPlugin source;
  source.SelectPreset(3);
  source.SetValues(12.5, 1, 1);
  source.ModifyCurrentPreset("Mine");
  IByteBlock block;
  WriteStateHeader(&block);
  ASSERT_TRUE(source.SerializePresets(&block));

  FactoryPlugin target;
  target.Preset(2)->SetName("stale");
  target.SetValues(1.0, 1, 1);
  int position = 0;
  ReadStateHeader(&block, &position);
  EXPECT_EQ(target.UnserializePresets(&block, position), block.Size());
  for (int i = 0; i < 5; ++i) {
    EXPECT_STREQ(target.Preset(i)->name, source.Preset(i)->name);
    EXPECT_TRUE(target.Preset(i)->defined);
    EXPECT_EQ(Stored(*target.Preset(i)), Stored(*source.Preset(i)));
  }
  EXPECT_STREQ(target.Preset(3)->name, "Mine");
  // The target's current slot is still 0, so the live values are "Default"'s.
  EXPECT_EQ(Live(target), (std::vector<double>{0.0, 0.0, 0.0}));
}

TEST(BankBlock, EmptyNameTakesThePreviousSlotsNameAndZeroByteGivesEmpty) {
  FactoryPlugin plugin;
  const Bytes bank = Join({
      header,
      StoredSlot("First", Join({twenty, one, zero})),
      StoredSlot("", Join({forty, one, zero})),
      Int32(3),
      {0, 'x', 'y'},
      {1},
      Join({eighty, one, zero}),
      Int32(4),
      Text("ab"),
      {0, 'c'},
      {1},
      Join({eighty, one, zero}),
      Int32(0),
      {1},
      Join({eighty, one, zero}),
  });
  EXPECT_EQ(LoadBank(plugin, bank), static_cast<int>(bank.size()));
  EXPECT_STREQ(plugin.Preset(0)->name, "First");
  EXPECT_STREQ(plugin.Preset(1)->name, "First");
  EXPECT_STREQ(plugin.Preset(2)->name, "");
  EXPECT_STREQ(plugin.Preset(3)->name, "ab");
  EXPECT_STREQ(plugin.Preset(4)->name, "ab");
  EXPECT_EQ(Stored(*plugin.Preset(1)), (std::vector<double>{40.0, 1.0, 0.0}));
}

TEST(BankBlock, StoredValuesAreClampedAndLongNamesCut) {
  TestPlugin plugin("1-1 2-2", 1);
  const std::string longName(300, 'n');
  const Bytes huge = {0, 0, 0, 0, 0, 0x88, 0xC3, 0x40}; // 10000
  const Bytes bank = Join({header, StoredSlot(longName, Join({huge, huge, zero}))});
  EXPECT_EQ(LoadBank(plugin, bank), static_cast<int>(bank.size()));
  EXPECT_EQ(std::string(plugin.Preset(0)->name), std::string(255, 'n'));
  EXPECT_EQ(Stored(*plugin.Preset(0)), (std::vector<double>{99.99, 1.0, 0.0}));
  EXPECT_EQ(Live(plugin), (std::vector<double>{99.99, 1.0, 0.0}));
}

TEST(BankBlock, BadNameLengthsEndTheLoadAsShortData) {
  const int32_t lengths[] = {-1, -4, -12, INT_MIN, INT_MAX, INT_MAX - 8, 1000};
  for (int32_t length : lengths) {
    FactoryPlugin plugin;
    const Bytes bank = Join({header,
                             StoredSlot("Good", Join({twenty, one, zero})),
                             Int32(length),
                             Text("Bad"),
                             {1},
                             Join({forty, one, zero})});
    EXPECT_EQ(LoadBank(plugin, bank), -1) << length;
    EXPECT_STREQ(plugin.Preset(0)->name, "Good");
    // The slot read when the data ran short gets the working name and keeps its flag.
    EXPECT_STREQ(plugin.Preset(1)->name, "Good");
    EXPECT_TRUE(plugin.Preset(1)->defined);
    EXPECT_EQ(Stored(*plugin.Preset(1)), (std::vector<double>{20.0, 0.0, 0.0}));
    EXPECT_STREQ(plugin.Preset(2)->name, "Dirty");
    EXPECT_EQ(Live(plugin), (std::vector<double>{20.0, 1.0, 0.0}));
  }
}

TEST(BankBlock, EveryTruncationRunsShortWithoutReadingPastTheEnd) {
  for (size_t cut = 8; cut < factoryBank.size(); ++cut) {
    TestPlugin plugin;
    plugin.SetValues(55.0, 1, 1);
    const Bytes bytes(factoryBank.begin(), factoryBank.begin() + static_cast<long>(cut));
    const IByteBlock block = Block(bytes);
    EXPECT_EQ(plugin.UnserializePresets(&block, 8), -1) << cut;
  }
}

TEST(BankBlock, CorruptedBanksNeverLoopCrashOrOverrun) {
  std::mt19937 random(20240611);
  for (int round = 0; round < 400; ++round) {
    Bytes bytes = factoryBank;
    const int flips = 1 + static_cast<int>(random() % 6);
    for (int i = 0; i < flips; ++i) {
      bytes[8 + random() % (bytes.size() - 8)] = static_cast<uint8_t>(random());
    }
    bytes.resize(8 + random() % (bytes.size() - 7));
    FactoryPlugin plugin;
    const IByteBlock block = Block(bytes);
    const int position = plugin.UnserializePresets(&block, 8);
    EXPECT_TRUE(position == -1 || (position >= 8 && position <= block.Size()));
    for (int i = 0; i < plugin.PresetCount(); ++i) {
      EXPECT_LT(std::strlen(plugin.Preset(i)->name), 256u);
    }
    for (int i = 0; i < 3; ++i) {
      const IParameter* parameter = plugin.Parameter(i);
      EXPECT_TRUE(parameter->Value() >= parameter->Minimum() &&
                  parameter->Value() <= parameter->Maximum());
    }
  }
}

TEST(Presets, DefineFillsTheFirstUndefinedSlotWithUnroundedValues) {
  TestPlugin plugin("1-1 2-2", 2);
  plugin.DefinePreset("One", 12.345678, 7, -3);
  plugin.DefinePreset("Two", 0.0, 1, 0);
  plugin.DefinePreset("Three", 0.0, 1, 0);
  EXPECT_STREQ(plugin.Preset(0)->name, "One");
  EXPECT_EQ(Stored(*plugin.Preset(0)), (std::vector<double>{12.345678, 7.0, -3.0}));
  EXPECT_STREQ(plugin.Preset(1)->name, "Two");
}

TEST(Presets, FirstUserPresetIsNumberedOne) {
  TestPlugin plugin("1-1 2-2", 2);
  plugin.DefinePreset("Factory", 0.0, 0, 0);
  EXPECT_TRUE(plugin.SelectPreset(1));
  EXPECT_STREQ(plugin.Preset(1)->name, "user preset 1");
}

TEST(Presets, SelectRestoresTheSlotAndTellsTheEditor) {
  FactoryPlugin plugin;
  auto* editor = new RecordingEditor(&plugin.log);
  plugin.AttachEditor(editor);
  plugin.log.clear();
  EXPECT_TRUE(plugin.SelectPreset(3));
  EXPECT_EQ(plugin.CurrentPreset(), 3);
  EXPECT_EQ(Live(plugin), (std::vector<double>{80.0, 0.0, 0.0}));
  EXPECT_EQ(plugin.log, (std::vector<std::string>{"Changed 0", "Changed 1", "Changed 2",
                                                  "PresetChange", "Show 0", "Show 1", "Show 2"}));
  EXPECT_EQ(editor->shown.back().value, 0.0);
  EXPECT_FALSE(editor->shown.back().normalized);

  plugin.log.clear();
  EXPECT_FALSE(plugin.SelectPreset(-1));
  EXPECT_FALSE(plugin.SelectPreset(5));
  EXPECT_EQ(plugin.CurrentPreset(), 3);
  EXPECT_TRUE(plugin.log.empty());
}

TEST(Presets, SelectingAnUndefinedSlotCapturesTheLiveValuesAsAUserPreset) {
  FactoryPlugin plugin;
  // A bank that leaves slots 1 and 2 undefined; their old values stay in their state blocks.
  const Bytes bank = Join({header,
                           StoredSlot("Default", Join({zero, zero, zero})),
                           Int32(7),
                           Text("Nothing"),
                           {0},
                           Int32(0),
                           {0},
                           Int32(14),
                           Text("my user preset"),
                           {1},
                           Join({forty, zero, zero}),
                           Int32(0),
                           {1},
                           Join({eighty, zero, zero})});
  EXPECT_EQ(LoadBank(plugin, bank), static_cast<int>(bank.size()));
  EXPECT_FALSE(plugin.Preset(1)->defined);

  plugin.SetValues(33.0, 1, 1);
  EXPECT_TRUE(plugin.SelectPreset(1));
  EXPECT_TRUE(plugin.Preset(1)->defined);
  // "my user preset" and "my user preset" in slots 3 and 4 count: this is the third.
  EXPECT_STREQ(plugin.Preset(1)->name, "user preset 3");
  EXPECT_EQ(Stored(*plugin.Preset(1)), (std::vector<double>{33.0, 1.0, 1.0}));
  EXPECT_EQ(plugin.Preset(1)->state.Size(), 24);

  EXPECT_TRUE(plugin.SelectPreset(0));
  EXPECT_TRUE(plugin.SelectPreset(1));
  EXPECT_EQ(Live(plugin), (std::vector<double>{33.0, 1.0, 1.0}));
}

TEST(Presets, ModifyCurrentStoresLiveValuesAndRenamesOnlyWithAName) {
  FactoryPlugin plugin;
  plugin.SelectPreset(2);
  plugin.SetValues(66.0, 1, 0);
  plugin.ModifyCurrentPreset("");
  EXPECT_STREQ(plugin.Preset(2)->name, "Dirty");
  EXPECT_EQ(Stored(*plugin.Preset(2)), (std::vector<double>{66.0, 1.0, 0.0}));
  plugin.ModifyCurrentPreset();
  EXPECT_EQ(plugin.Preset(2)->state.Size(), 24);
  plugin.ModifyCurrentPreset(std::string(300, 'r').c_str());
  EXPECT_EQ(std::string(plugin.Preset(2)->name), std::string(255, 'r'));

  TestPlugin none("1-1 2-2", 0);
  none.ModifyCurrentPreset("ignored");
  EXPECT_FALSE(none.SelectPreset(0));
}
