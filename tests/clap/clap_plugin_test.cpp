// What only CLAP carries: the entry record and factories, parameter texts and ids, value events
// and controller 69 at their frames, system-exclusive echo, the bypass and presets. The rest is
// the conformance suite's; the editor's tests are in clap_gui_test.cpp.
#include <gtest/gtest.h>

#include "tests/clap/ClapTestHost.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {
constexpr double SampleRate = 48000.0;
constexpr uint32_t Frames = 256;
constexpr clap_id Amount = 0;
constexpr clap_id BypassId = 0x62797073;
constexpr double MaxAmount = 99.99;

double Clipped(double sample, double amount) {
  const double level = 1.0 - amount / 100.0;
  return std::clamp(sample, -level, level) / level;
}

std::vector<double> Ramp(uint32_t frames) {
  std::vector<double> signal(frames);
  for (uint32_t i = 0; i < frames; ++i) {
    signal[i] = std::sin(i * 0.05) * 1.5;
  }
  return signal;
}

double ValueOf(ClapTestHost& host, clap_id id) {
  double value = -1.0;
  host.PluginExtension<clap_plugin_params>(Clap::ParamsId)->get_value(host.Plugin(), id, &value);
  return value;
}

TEST(ClapEntry, OffersOneDescribedPluginAndItsPresetFactory) {
  const clap_plugin_entry* entry = BuiltClapModule().Entry();
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->version.major, 1u);
  const auto* factory = BuiltClapModule().FactoryOf<clap_plugin_factory>(Clap::PluginFactoryId);
  ASSERT_NE(factory, nullptr);
  ASSERT_EQ(factory->get_plugin_count(factory), 1u);
  EXPECT_EQ(factory->get_plugin_descriptor(factory, 1), nullptr);
  const clap_plugin_descriptor* descriptor = factory->get_plugin_descriptor(factory, 0);
  EXPECT_STREQ(descriptor->id, "example.quillmarsh.ombrix");
  EXPECT_STREQ(descriptor->name, "Ombrix");
  EXPECT_STREQ(descriptor->vendor, "Quillmarsh");
  EXPECT_STREQ(descriptor->plugin_version, "1.2.1");
  std::vector<std::string> features;
  for (const char* const* feature = descriptor->features; *feature; ++feature) {
    features.emplace_back(*feature);
  }
  EXPECT_EQ(features, (std::vector<std::string>{"audio-effect", "distortion", "stereo"}));
  // Only the exact id makes an instance; unknown factories are none.
  clap_host host = {};
  EXPECT_EQ(factory->create_plugin(factory, &host, "example.quillmarsh.ombrix2"), nullptr);
  EXPECT_EQ(factory->create_plugin(factory, &host, "example.quillmarsh"), nullptr);
  EXPECT_EQ(entry->get_factory("clap.unknown"), nullptr);
  EXPECT_EQ(entry->get_factory(Clap::PresetDiscoveryFactoryId),
            entry->get_factory(Clap::PresetDiscoveryFactoryDraftId));
  EXPECT_NE(entry->get_factory(Clap::PresetDiscoveryFactoryId), nullptr);
}

TEST(ClapParams, ShowTheVst2TextsAndFlagTheBypass) {
  ClapTestHost host(SampleRate, Frames);
  const auto* params = host.PluginExtension<clap_plugin_params>(Clap::ParamsId);
  const clap_plugin* plugin = host.Plugin();
  ASSERT_EQ(params->count(plugin), 4u);
  clap_param_info info;
  ASSERT_TRUE(params->get_info(plugin, 0, &info));
  EXPECT_STREQ(info.name, "Amount of Distortion");
  EXPECT_EQ(info.max_value, MaxAmount);
  EXPECT_EQ(info.flags & Clap::ParamIsStepped, 0u);
  ASSERT_TRUE(params->get_info(plugin, 1, &info));
  EXPECT_STREQ(info.name, "#KELBA Enabled");
  EXPECT_EQ(info.default_value, 1.0);
  EXPECT_NE(info.flags & Clap::ParamIsStepped, 0u);
  ASSERT_TRUE(params->get_info(plugin, 3, &info));
  EXPECT_EQ(info.id, BypassId);
  EXPECT_NE(info.flags & Clap::ParamIsBypass, 0u);
  EXPECT_FALSE(params->get_info(plugin, 4, &info));

  char text[8];
  ASSERT_TRUE(params->value_to_text(plugin, Amount, 50.0, text, sizeof(text)));
  EXPECT_STREQ(text, "50.00 %");
  // Cut to the host's room, always terminated.
  ASSERT_TRUE(params->value_to_text(plugin, Amount, 50.0, text, 4));
  EXPECT_STREQ(text, "50.");
  double value = 0.0;
  ASSERT_TRUE(params->text_to_value(plugin, Amount, "33.5 %", &value));
  EXPECT_EQ(value, 33.5);
  ASSERT_TRUE(params->text_to_value(plugin, Amount, "250", &value));
  EXPECT_EQ(value, MaxAmount);
  EXPECT_FALSE(params->text_to_value(plugin, 7, "1", &value));
  EXPECT_FALSE(params->value_to_text(plugin, 7, 1.0, text, sizeof(text)));
  EXPECT_FALSE(params->get_value(plugin, 7, &value));
  // No delay to compensate and nothing ringing on.
  EXPECT_EQ(host.PluginExtension<clap_plugin_latency>(Clap::LatencyId)->get(plugin), 0u);
  EXPECT_EQ(host.PluginExtension<clap_plugin_tail>(Clap::TailId)->get(plugin), 0u);
}

// 64-bit buffers shared by input and output: the new amount holds from its frame on.
TEST(ClapProcess, ValueEventsTakeEffectAtTheirFrameInPlace) {
  constexpr uint32_t At = 100;
  ClapTestHost host(SampleRate, Frames);
  const std::vector<double> signal = Ramp(Frames);
  std::vector<double> left = signal;
  std::vector<double> right = signal;
  double* channels[2] = {left.data(), right.data()};
  host.QueueParamValue(At, Amount, 80.0);
  ASSERT_EQ(host.Process(channels, channels, Frames), Clap::ProcessContinue);
  for (uint32_t i = 0; i < Frames; ++i) {
    const double expected = Clipped(signal[i], i < At ? 0.0 : 80.0);
    ASSERT_NEAR(left[i], expected, 1e-12) << i;
    ASSERT_NEAR(right[i], expected, 1e-12) << i;
  }
  EXPECT_EQ(ValueOf(host, Amount), 80.0);
}

TEST(ClapProcess, Controller69IsReportedAtItsFrameBeforeItsEcho) {
  ClapTestHost host(SampleRate, Frames);
  std::vector<float> silence(Frames);
  float* channels[2] = {silence.data(), silence.data()};
  host.QueueMidi(10, 0xB0, 69, 127);
  host.QueueSysex(20, {0xF0, 0x7D, 0x01, 0xF7});
  host.QueueMidi(Frames + 50, 0x90, 60, 100);
  host.Process(channels, channels, Frames);
  const std::vector<ClapOutEvent> out = host.TakeOutput();
  ASSERT_EQ(out.size(), 4u);
  EXPECT_EQ(out[0].type, Clap::EventParamValue);
  EXPECT_EQ(out[0].time, 10u);
  EXPECT_EQ(out[0].paramId, Amount);
  EXPECT_EQ(out[0].value, MaxAmount);
  EXPECT_EQ(out[0].flags, Clap::EventDontRecord);
  EXPECT_EQ(out[1].type, Clap::EventMidi);
  EXPECT_EQ(out[1].time, 10u);
  EXPECT_EQ(out[1].bytes, (std::vector<uint8_t>{0xB0, 69, 127}));
  EXPECT_EQ(out[2].type, Clap::EventMidiSysex);
  EXPECT_EQ(out[2].time, 20u);
  EXPECT_EQ(out[2].bytes, (std::vector<uint8_t>{0xF0, 0x7D, 0x01, 0xF7}));
  // An event dated past the block counts at its last frame instead of waiting for ever.
  EXPECT_EQ(out[3].time, Frames - 1);
  EXPECT_EQ(ValueOf(host, Amount), MaxAmount);
}

TEST(ClapProcess, BypassPassesTheInputOnceFaded) {
  constexpr uint32_t Long = 4096;
  ClapTestHost host(SampleRate, Long);
  const std::vector<double> signal = Ramp(Long);
  std::vector<float> in(signal.begin(), signal.end());
  std::vector<float> out(Long);
  float* inputs[2] = {in.data(), in.data()};
  float* outputs[2] = {out.data(), out.data()};
  host.QueueParamValue(0, Amount, MaxAmount);
  host.QueueParamValue(0, BypassId, 1.0);
  host.Process(inputs, outputs, Long);
  EXPECT_EQ(ValueOf(host, BypassId), 1.0);
  const auto fade = static_cast<uint32_t>(SampleRate / 100.0);
  for (uint32_t i = fade; i < Long; ++i) {
    ASSERT_EQ(out[i], in[i]) << i;
  }
}

TEST(ClapProcess, FlushAppliesValuesWithoutAudio) {
  ClapTestHost host(SampleRate, Frames);
  host.QueueParamValue(0, Amount, 12.5);
  host.Flush();
  EXPECT_EQ(ValueOf(host, Amount), 12.5);
}

// The host's side of preset discovery: it keeps what the provider declares.
struct Indexed {
  int locations = 0;
  std::vector<std::pair<std::string, std::string>> presets;
  std::vector<std::string> pluginIds;
};

TEST(ClapPresets, FactoryProgramsAreListedAndLoadByKey) {
  const auto* factory =
      BuiltClapModule().FactoryOf<clap_preset_discovery_factory>(Clap::PresetDiscoveryFactoryId);
  ASSERT_NE(factory, nullptr);
  ASSERT_EQ(factory->count(factory), 1u);
  Indexed indexed;
  clap_preset_discovery_indexer indexer = {};
  indexer.indexer_data = &indexed;
  indexer.declare_location = [](const clap_preset_discovery_indexer* self,
                                const clap_preset_discovery_location* location) {
    ++static_cast<Indexed*>(self->indexer_data)->locations;
    return location->kind == Clap::PresetLocationPlugin && location->location == nullptr;
  };
  const clap_preset_discovery_provider* provider =
      factory->create(factory, &indexer, factory->get_descriptor(factory, 0)->id);
  ASSERT_NE(provider, nullptr);
  ASSERT_TRUE(provider->init(provider));
  EXPECT_EQ(indexed.locations, 1);
  clap_preset_discovery_metadata_receiver receiver = {};
  receiver.receiver_data = &indexed;
  receiver.begin_preset = [](const clap_preset_discovery_metadata_receiver* self, const char* name,
                             const char* key) {
    static_cast<Indexed*>(self->receiver_data)->presets.emplace_back(name, key);
    return true;
  };
  receiver.add_plugin_id = [](const clap_preset_discovery_metadata_receiver* self,
                              const clap_universal_plugin_id* id) {
    static_cast<Indexed*>(self->receiver_data)
        ->pluginIds.push_back(std::string(id->abi) + ":" + id->id);
  };
  ASSERT_TRUE(provider->get_metadata(provider, Clap::PresetLocationPlugin, nullptr, &receiver));
  provider->destroy(provider);
  ASSERT_EQ(indexed.presets.size(), 5u);
  EXPECT_EQ(indexed.presets[0], std::make_pair(std::string("Default"), std::string("0")));
  EXPECT_EQ(indexed.presets[4].first, "Is it still music???");
  EXPECT_EQ(indexed.pluginIds.front(), "clap:example.quillmarsh.ombrix");

  ClapTestHost host(SampleRate, Frames);
  const auto* load = host.PluginExtension<clap_plugin_preset_load>(Clap::PresetLoadId);
  ASSERT_TRUE(load->from_location(host.Plugin(), Clap::PresetLocationPlugin, nullptr, "3"));
  EXPECT_EQ(ValueOf(host, Amount), 80.0);
  EXPECT_EQ(host.presetsLoaded, std::vector<std::string>{"3"});
  EXPECT_EQ(host.rescans, 1);
  for (const char* bad : {"5", "-1", "3x", ""}) {
    EXPECT_FALSE(load->from_location(host.Plugin(), Clap::PresetLocationPlugin, nullptr, bad))
        << bad;
  }
  EXPECT_EQ(ValueOf(host, Amount), 80.0);
}

TEST(ClapState, ReloadAsksTheHostToRescanAndRefusesAFailingStream) {
  ClapTestHost host(SampleRate, Frames);
  host.QueueParamValue(0, Amount, 42.0);
  host.Flush();
  const std::vector<uint8_t> state = host.SaveState(1);
  ASSERT_FALSE(state.empty());
  host.QueueParamValue(0, Amount, 7.0);
  host.Flush();
  ASSERT_TRUE(host.LoadState(state, 5));
  EXPECT_EQ(ValueOf(host, Amount), 42.0);
  EXPECT_EQ(host.rescans, 1);
  // A stream that reports an error after some bytes.
  const auto* ext = host.PluginExtension<clap_plugin_state>(Clap::StateId);
  int calls = 0;
  const clap_istream failing = {&calls, [](const clap_istream* stream, void* buffer, uint64_t) {
                                  int& count = *static_cast<int*>(stream->ctx);
                                  std::memset(buffer, 0, 1);
                                  return ++count < 3 ? int64_t{1} : int64_t{-1};
                                }};
  EXPECT_FALSE(ext->load(host.Plugin(), &failing));
  EXPECT_EQ(ValueOf(host, Amount), 42.0);
  EXPECT_FALSE(host.logLines.empty());
}

} // namespace
