// The bundle as lilv reads it: identity, ports against the plug-in's own tables, and presets.
#include "lv2/Lv2Entry.h"
#include "lv2/Lv2Ports.h"
#include "tests/lv2/Lv2TestHost.h"

#include <gtest/gtest.h>
#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>
#include <lv2/midi/midi.h>
#include <lv2/presets/presets.h>
#include <lv2/time/time.h>
#include <lv2/units/units.h>

#include <map>
#include <memory>
#include <string>

namespace {
std::string Text(const LilvNode* node) {
  return node ? lilv_node_as_string(node) : "";
}

struct Range {
  float defaultValue = 0.0f;
  float minimum = 0.0f;
  float maximum = 0.0f;
};

Range RangeOf(const LilvPort* port) {
  TestWorld& host = TestWorld::Get();
  LilvNode* values[3] = {};
  lilv_port_get_range(host.Plugin(), port, &values[0], &values[1], &values[2]);
  Range range{lilv_node_as_float(values[0]), lilv_node_as_float(values[1]),
              lilv_node_as_float(values[2])};
  for (LilvNode* value : values) {
    lilv_node_free(value);
  }
  return range;
}

bool HasProperty(const LilvPort* port, const char* uri) {
  TestWorld& host = TestWorld::Get();
  LilvNode* property = host.NewUri(uri);
  const bool has = lilv_port_has_property(host.Plugin(), port, property);
  lilv_node_free(property);
  return has;
}

std::unique_ptr<ILv2Plugin> TablesInstance() {
  const ILv2Host noHost;
  return std::unique_ptr<ILv2Plugin>(CreateLv2Instance(noHost));
}
} // namespace

TEST(Lv2Bundle, NamesTheDistortionOfQuillmarshAtVersion121) {
  TestWorld& host = TestWorld::Get();
  const LilvPlugin* plugin = host.Plugin();
  LilvNode* name = lilv_plugin_get_name(plugin);
  EXPECT_EQ(Text(name), "Ombrix");
  lilv_node_free(name);
  LilvNode* author = lilv_plugin_get_author_name(plugin);
  EXPECT_EQ(Text(author), "Quillmarsh");
  lilv_node_free(author);
  EXPECT_EQ(Text(lilv_plugin_class_get_uri(lilv_plugin_get_class(plugin))),
            LV2_CORE__DistortionPlugin);

  LilvNode* minor = host.NewUri(LV2_CORE__minorVersion);
  LilvNode* micro = host.NewUri(LV2_CORE__microVersion);
  LilvNodes* minors = lilv_plugin_get_value(plugin, minor);
  LilvNodes* micros = lilv_plugin_get_value(plugin, micro);
  EXPECT_EQ(lilv_node_as_int(lilv_nodes_get_first(minors)), 2);
  EXPECT_EQ(lilv_node_as_int(lilv_nodes_get_first(micros)), 1);
  lilv_nodes_free(minors);
  lilv_nodes_free(micros);
  lilv_node_free(minor);
  lilv_node_free(micro);

  // Only the URID map is demanded; every host has it.
  LilvNodes* required = lilv_plugin_get_required_features(plugin);
  ASSERT_EQ(lilv_nodes_size(required), 1u);
  EXPECT_EQ(Text(lilv_nodes_get_first(required)), LV2_URID__map);
  lilv_nodes_free(required);
  EXPECT_TRUE(lilv_plugin_verify(plugin));

  // A host without it gets no instance rather than one that cannot read its events.
  const LV2_Feature* const noFeatures[] = {nullptr};
  EXPECT_EQ(lilv_plugin_instantiate(plugin, 48000.0, noFeatures), nullptr);
}

TEST(Lv2Bundle, PortsFollowTheParameterTable) {
  TestWorld& host = TestWorld::Get();
  std::unique_ptr<ILv2Plugin> tables = TablesInstance();
  ASSERT_TRUE(tables);
  const Lv2PortLayout& layout = tables->Ports();
  EXPECT_EQ(lilv_plugin_get_num_ports(host.Plugin()), layout.PortCount());
  ASSERT_EQ(tables->ParameterCount(), 3);

  for (int i = 0; i < tables->ParameterCount(); ++i) {
    const IParameter& parameter = *tables->Parameter(i);
    SCOPED_TRACE(parameter.Name());
    const std::string symbol = PortSymbol(parameter.Name());
    const LilvPort* input = host.Port(symbol.c_str());
    EXPECT_EQ(lilv_port_get_index(host.Plugin(), input), layout.ControlInput(i));
    LilvNode* name = lilv_port_get_name(host.Plugin(), input);
    EXPECT_EQ(Text(name), parameter.Name());
    lilv_node_free(name);
    for (const LilvPort* port : {input, host.Port((symbol + "_out").c_str())}) {
      const Range range = RangeOf(port);
      EXPECT_EQ(range.defaultValue, static_cast<float>(parameter.DefaultValue()));
      EXPECT_EQ(range.minimum, static_cast<float>(parameter.Minimum()));
      EXPECT_EQ(range.maximum, static_cast<float>(parameter.Maximum()));
    }
  }

  const LilvPort* amount = host.Port("amount_of_distortion");
  EXPECT_EQ(RangeOf(amount).maximum, 99.99f);
  LilvNode* unitKey = host.NewUri(LV2_UNITS__unit);
  LilvNodes* units = lilv_port_get_value(host.Plugin(), amount, unitKey);
  EXPECT_EQ(Text(lilv_nodes_get_first(units)), LV2_UNITS__pc);
  lilv_nodes_free(units);
  lilv_node_free(unitKey);
  EXPECT_FALSE(HasProperty(amount, LV2_CORE__integer));
  EXPECT_TRUE(HasProperty(host.Port("kelba_enabled"), LV2_CORE__toggled));
  EXPECT_EQ(RangeOf(host.Port("kelba_enabled")).defaultValue, 1.0f);
  EXPECT_TRUE(HasProperty(host.Port("kelba"), LV2_CORE__integer));

  LilvNode* audio = host.NewUri(LV2_CORE__AudioPort);
  LilvNode* inputClass = host.NewUri(LV2_CORE__InputPort);
  LilvNode* outputClass = host.NewUri(LV2_CORE__OutputPort);
  EXPECT_EQ(lilv_plugin_get_num_ports_of_class(host.Plugin(), audio, inputClass, nullptr), 2u);
  EXPECT_EQ(lilv_plugin_get_num_ports_of_class(host.Plugin(), audio, outputClass, nullptr), 2u);
  lilv_node_free(audio);
  lilv_node_free(inputClass);
  lilv_node_free(outputClass);

  LilvNode* midi = host.NewUri(LV2_MIDI__MidiEvent);
  LilvNode* position = host.NewUri(LV2_TIME__Position);
  EXPECT_TRUE(lilv_port_supports_event(host.Plugin(), host.Port("events_in"), midi));
  EXPECT_TRUE(lilv_port_supports_event(host.Plugin(), host.Port("events_in"), position));
  EXPECT_TRUE(lilv_port_supports_event(host.Plugin(), host.Port("events_out"), midi));
  // Ardour sends an input that takes MIDI no transport on an audio track.
  EXPECT_TRUE(lilv_port_supports_event(host.Plugin(), host.Port("transport_in"), position));
  EXPECT_FALSE(lilv_port_supports_event(host.Plugin(), host.Port("transport_in"), midi));
  lilv_node_free(midi);
  lilv_node_free(position);
}

namespace {
struct PresetValues {
  std::map<std::string, float> ports;
};

void CollectValue(const char* symbol, void* user, const void* value, uint32_t size, uint32_t) {
  if (size == sizeof(float)) {
    static_cast<PresetValues*>(user)->ports[symbol] = *static_cast<const float*>(value);
  }
}
} // namespace

// Every program as a preset with its name; applying one sets the amount and switches the
// animation off, as selecting the program does.
TEST(Lv2Bundle, TheFiveProgramsArePresets) {
  TestWorld& host = TestWorld::Get();
  LilvNode* presetClass = host.NewUri(LV2_PRESETS__Preset);
  LilvNodes* presets = lilv_plugin_get_related(host.Plugin(), presetClass);
  EXPECT_EQ(lilv_nodes_size(presets), 5u);

  const std::map<std::string, float> expected = {{"Default", 0.0f},
                                                 {"Kinda Clean", 20.0f},
                                                 {"Dirty", 40.0f},
                                                 {"Dirtier", 80.0f},
                                                 {"Is it still music???", 99.99f}};
  std::map<std::string, float> found;
  LILV_FOREACH(nodes, i, presets) {
    const LilvNode* preset = lilv_nodes_get(presets, i);
    lilv_world_load_resource(host.World(), preset);
    LilvState* state = lilv_state_new_from_world(host.World(), host.Uris().MapFeature(), preset);
    ASSERT_NE(state, nullptr);
    PresetValues values;
    lilv_state_emit_port_values(state, CollectValue, &values);
    const std::string label = lilv_state_get_label(state);
    found[label] = values.ports["amount_of_distortion"];
    EXPECT_EQ(values.ports.at("kelba_enabled"), 0.0f) << label;
    EXPECT_EQ(values.ports.count("amount_of_distortion_out"), 0u);

    // Applied to an instance, the preset gives the program's sound.
    TestInstance instance;
    for (const auto& [symbol, value] : values.ports) {
      instance.SetControl(symbol.c_str(), value);
    }
    instance.Run({0.0001f, 0.5f}, {-0.0001f, -0.5f});
    EXPECT_EQ(instance.Reported("amount_of_distortion"), found[label]) << label;
    EXPECT_EQ(instance.Reported("kelba_enabled"), 0.0f);
    lilv_state_free(state);
  }
  EXPECT_EQ(found, expected);
  lilv_nodes_free(presets);
  lilv_node_free(presetClass);
}
