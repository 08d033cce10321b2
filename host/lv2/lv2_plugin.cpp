#include "host/lv2/Lv2Plugin.h"

#include "platform/Lock.h"
#include "plugin/MidiMessage.h"

#include <lv2/core/lv2.h>
#include <lv2/presets/presets.h>
#include <lv2/state/state.h>
#include <lv2/units/units.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {
// Before Start knows the file's rate, the instance runs at this one; Start moves its state over.
constexpr double kDescribeRate = 48000.0;
constexpr int kDescribeBlock = 4096;
constexpr double kSecondsPerMinute = 60.0;
constexpr double kBeatsPerBar = 4.0;
constexpr int kBeatUnit = 4;
constexpr char kStateUri[] = "urn:ombrix-render:state";
constexpr uint32_t kStateFlags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;

// One world for the process: finding every installed plug-in takes long, and lilv's world is
// not to be shared between threads, so every use is under the host control lock.
struct SharedWorld {
  SharedWorld() : world(lilv_world_new()) { lilv_world_load_all(world); }
  LilvWorld* world;
  UridMap uris;
};

SharedWorld& Shared() {
  static SharedWorld shared;
  return shared;
}

std::string NodeText(const LilvNode* node) {
  return node && (lilv_node_is_string(node) || lilv_node_is_uri(node) || lilv_node_is_literal(node))
             ? lilv_node_as_string(node)
             : std::string();
}

std::string TakeText(LilvNode* node) {
  std::string text = NodeText(node);
  lilv_node_free(node);
  return text;
}

bool HasProperty(LilvWorld* world, const LilvPlugin* plugin, const LilvPort* port,
                 const char* uri) {
  LilvNode* node = lilv_new_uri(world, uri);
  const bool has = lilv_port_has_property(plugin, port, node);
  lilv_node_free(node);
  return has;
}

bool IsA(LilvWorld* world, const LilvPlugin* plugin, const LilvPort* port, const char* uri) {
  LilvNode* node = lilv_new_uri(world, uri);
  const bool is = lilv_port_is_a(plugin, port, node);
  lilv_node_free(node);
  return is;
}

std::string LowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// The bundle's folder as lilv names bundles: a file URI ending in a slash.
std::string BundleUri(LilvWorld* world, const std::string& folder) {
  std::error_code code;
  std::string absolute = std::filesystem::absolute(folder, code).lexically_normal().string();
  if (absolute.empty() || absolute.back() != '/') {
    absolute += '/';
  }
  LilvNode* uri = lilv_new_file_uri(world, nullptr, absolute.c_str());
  std::string text = NodeText(uri);
  lilv_node_free(uri);
  return text;
}

const LilvPlugin* FirstInBundle(LilvWorld* world, const std::string& bundle) {
  const LilvPlugins* all = lilv_world_get_all_plugins(world);
  LILV_FOREACH(plugins, i, all) {
    const LilvPlugin* candidate = lilv_plugins_get(all, i);
    if (NodeText(lilv_plugin_get_bundle_uri(candidate)) == bundle) {
      return candidate;
    }
  }
  return nullptr;
}

// Port values as lilv reads them from a description: any numeric atom.
void SetPortCallback(const char* symbol, void* user, const void* value, uint32_t size,
                     uint32_t type) {
  UridMap& uris = Shared().uris;
  float number = 0.0f;
  if (type == uris.Map(LV2_ATOM__Float) && size == sizeof(float)) {
    number = *static_cast<const float*>(value);
  } else if (type == uris.Map(LV2_ATOM__Double) && size == sizeof(double)) {
    number = static_cast<float>(*static_cast<const double*>(value));
  } else if ((type == uris.Map(LV2_ATOM__Int) || type == uris.Map(LV2_ATOM__Bool)) &&
             size == sizeof(int32_t)) {
    number = static_cast<float>(*static_cast<const int32_t*>(value));
  } else if (type == uris.Map(LV2_ATOM__Long) && size == sizeof(int64_t)) {
    number = static_cast<float>(*static_cast<const int64_t*>(value));
  } else {
    return;
  }
  static_cast<Lv2Plugin*>(user)->SetPortValue(symbol, number);
}

const void* GetPortCallback(const char* symbol, void* user, uint32_t* size, uint32_t* type) {
  const float* value = static_cast<const Lv2Plugin*>(user)->PortValue(symbol);
  *size = value ? sizeof(float) : 0;
  *type = value ? Shared().uris.Map(LV2_ATOM__Float) : 0;
  return value;
}
} // namespace

std::unique_ptr<Lv2Plugin> Lv2Plugin::Load(const std::string& bundleOrUri, std::string* error) {
  IScopedLock control(HostControlLock());
  SharedWorld& shared = Shared();
  LilvWorld* world = shared.world;
  std::error_code code;
  const LilvPlugin* found = nullptr;
  if (std::filesystem::is_directory(bundleOrUri, code)) {
    const std::string bundle = BundleUri(world, bundleOrUri);
    found = FirstInBundle(world, bundle);
    // An installed bundle is known already; loading it again would only make lilv complain.
    if (!found) {
      LilvNode* bundleNode = lilv_new_uri(world, bundle.c_str());
      lilv_world_load_bundle(world, bundleNode);
      lilv_node_free(bundleNode);
      found = FirstInBundle(world, bundle);
    }
    if (!found) {
      *error = "cannot load LV2 bundle " + bundleOrUri + ": it describes no plug-in";
      return nullptr;
    }
  } else {
    LilvNode* uri = lilv_new_uri(world, bundleOrUri.c_str());
    found = uri ? lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world), uri) : nullptr;
    lilv_node_free(uri);
    if (!found) {
      *error = "no LV2 plug-in " + bundleOrUri +
               " is installed (searched LV2_PATH and the usual folders)";
      return nullptr;
    }
  }
  std::unique_ptr<Lv2Plugin> plugin(new Lv2Plugin());
  plugin->location = bundleOrUri;
  plugin->world = world;
  plugin->plugin = found;
  const uint32_t ports = lilv_plugin_get_num_ports(found);
  for (uint32_t i = 0; i < ports; ++i) {
    const LilvPort* port = lilv_plugin_get_port_by_index(found, i);
    if (!IsA(world, found, port, LV2_CORE__ControlPort)) {
      continue;
    }
    if (!IsA(world, found, port, LV2_CORE__InputPort)) {
      if (plugin->latencyPort < 0 && HasProperty(world, found, port, LV2_CORE__reportsLatency)) {
        plugin->latencyPort = static_cast<int>(i);
      }
      continue;
    }
    Control control;
    control.port = i;
    control.name = TakeText(lilv_port_get_name(found, port));
    control.symbol = NodeText(lilv_port_get_symbol(found, port));
    LilvNode* minimum = nullptr;
    LilvNode* maximum = nullptr;
    lilv_port_get_range(found, port, nullptr, &minimum, &maximum);
    if (minimum && maximum && lilv_node_as_float(maximum) > lilv_node_as_float(minimum)) {
      control.minimum = lilv_node_as_float(minimum);
      control.maximum = lilv_node_as_float(maximum);
    }
    lilv_node_free(minimum);
    lilv_node_free(maximum);
    control.integer = HasProperty(world, found, port, LV2_CORE__integer) ||
                      HasProperty(world, found, port, LV2_CORE__enumeration);
    control.toggled = HasProperty(world, found, port, LV2_CORE__toggled);
    if (LilvScalePoints* points = lilv_port_get_scale_points(found, port)) {
      LILV_FOREACH(scale_points, p, points) {
        const LilvScalePoint* point = lilv_scale_points_get(points, p);
        control.scalePoints.emplace_back(lilv_node_as_float(lilv_scale_point_get_value(point)),
                                         NodeText(lilv_scale_point_get_label(point)));
      }
      lilv_scale_points_free(points);
    }
    plugin->controls.push_back(control);
  }
  LilvNode* presetClass = lilv_new_uri(world, LV2_PRESETS__Preset);
  LilvNode* label = lilv_new_uri(world, LILV_NS_RDFS "label");
  if (LilvNodes* related = lilv_plugin_get_related(found, presetClass)) {
    LILV_FOREACH(nodes, p, related) {
      const LilvNode* preset = lilv_nodes_get(related, p);
      lilv_world_load_resource(world, preset);
      LilvNodes* labels = lilv_world_find_nodes(world, preset, label, nullptr);
      const std::string name =
          labels && lilv_nodes_size(labels) > 0 ? NodeText(lilv_nodes_get_first(labels)) : "";
      lilv_nodes_free(labels);
      plugin->presets.push_back({NodeText(preset), name.empty() ? NodeText(preset) : name});
    }
    lilv_nodes_free(related);
  }
  lilv_node_free(label);
  lilv_node_free(presetClass);
  std::sort(plugin->presets.begin(), plugin->presets.end(),
            [](const Preset& a, const Preset& b) { return a.uri < b.uri; });
  if (!plugin->Instantiate(kDescribeRate, kDescribeBlock, error)) {
    return nullptr;
  }
  return plugin;
}

Lv2Plugin::~Lv2Plugin() {
  IScopedLock control(HostControlLock());
  instance.reset();
}

bool Lv2Plugin::Instantiate(double rate, int maxBlockFrames, std::string* error) {
  auto made =
      std::make_unique<Lv2Instance>(world, plugin, Shared().uris, maxBlockFrames, true, rate);
  if (!made->Instantiated()) {
    *error = "cannot load LV2 plug-in " + location + ": it did not instantiate at " +
             std::to_string(static_cast<int>(rate)) +
             " Hz (it may need a feature this host does not offer)";
    return false;
  }
  sampleRate = rate;
  instance = std::move(made);
  return true;
}

std::string Lv2Plugin::Name() {
  return TakeText(lilv_plugin_get_name(plugin));
}

std::string Lv2Plugin::Vendor() {
  return TakeText(lilv_plugin_get_author_name(plugin));
}

std::vector<std::string> Lv2Plugin::Buses() {
  return {"audio in: " + std::to_string(InputChannels()) + " port(s)",
          "audio out: " + std::to_string(OutputChannels()) + " port(s)",
          std::string("MIDI in: ") + (instance->MidiPort() >= 0 ? "yes" : "no"),
          "URI: " + NodeText(lilv_plugin_get_uri(plugin))};
}

int Lv2Plugin::InputChannels() const {
  return static_cast<int>(instance->AudioInputs().size());
}

int Lv2Plugin::OutputChannels() const {
  return static_cast<int>(instance->AudioOutputs().size());
}

std::string Lv2Plugin::ParameterName(int index) {
  return controls[static_cast<size_t>(index)].name;
}

std::string Lv2Plugin::ParameterUnit(int index) {
  const LilvPort* port =
      lilv_plugin_get_port_by_index(plugin, controls[static_cast<size_t>(index)].port);
  LilvNode* unitProperty = lilv_new_uri(world, LV2_UNITS__unit);
  LilvNodes* units = lilv_port_get_value(plugin, port, unitProperty);
  lilv_node_free(unitProperty);
  std::string symbol;
  if (units && lilv_nodes_size(units) > 0) {
    LilvNode* symbolProperty = lilv_new_uri(world, LV2_UNITS__symbol);
    symbol = TakeText(lilv_world_get(world, lilv_nodes_get_first(units), symbolProperty, nullptr));
    lilv_node_free(symbolProperty);
  }
  lilv_nodes_free(units);
  return symbol;
}

float Lv2Plugin::Plain(int index, double normalized) const {
  const Control& control = controls[static_cast<size_t>(index)];
  double value = control.minimum + normalized * (control.maximum - control.minimum);
  if (control.integer || control.toggled) {
    value = std::round(value);
  }
  return static_cast<float>(value);
}

std::string Lv2Plugin::DisplayAt(int index, double normalized) {
  const Control& control = controls[static_cast<size_t>(index)];
  const float value = Plain(index, normalized);
  for (const auto& [point, label] : control.scalePoints) {
    if (point == value) {
      return label;
    }
  }
  if (control.toggled) {
    return value > 0.0f ? "on" : "off";
  }
  char text[64];
  std::snprintf(text, sizeof(text), control.integer ? "%.0f" : "%g", static_cast<double>(value));
  return text;
}

std::string Lv2Plugin::ParameterDisplay(int index) {
  return DisplayAt(index, Normalized(index));
}

double Lv2Plugin::Normalized(int index) {
  const Control& control = controls[static_cast<size_t>(index)];
  return (instance->Control(control.port) - control.minimum) / (control.maximum - control.minimum);
}

void Lv2Plugin::SetNormalized(int index, double normalized) {
  instance->SetControl(controls[static_cast<size_t>(index)].port, Plain(index, normalized));
  controlsChanged = true;
}

// A plug-in reads its controls in run() only: one frame of silence lets it take changes in
// before its state is saved.
void Lv2Plugin::SettleControls() {
  if (!controlsChanged) {
    return;
  }
  std::vector<std::vector<float>> silence(
      static_cast<size_t>(std::max(InputChannels(), OutputChannels())), std::vector<float>(1));
  std::vector<float*> channels;
  for (std::vector<float>& channel : silence) {
    channels.push_back(channel.data());
  }
  instance->Run(channels.data(), channels.data(), 1);
  controlsChanged = false;
}

bool Lv2Plugin::TextToNormalized(int index, const std::string& text, double* normalized) {
  const Control& control = controls[static_cast<size_t>(index)];
  double value = 0.0;
  bool known = false;
  for (const auto& [point, label] : control.scalePoints) {
    if (LowerCase(label) == LowerCase(text)) {
      value = point;
      known = true;
    }
  }
  if (!known && control.toggled && (LowerCase(text) == "on" || LowerCase(text) == "off")) {
    value = LowerCase(text) == "on" ? 1.0 : 0.0;
    known = true;
  }
  if (!known) {
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    while (end && *end == ' ') {
      ++end;
    }
    if (text.empty() || !end || *end != '\0' || !std::isfinite(value)) {
      return false;
    }
  }
  *normalized = (value - control.minimum) / (control.maximum - control.minimum);
  return true;
}

std::string Lv2Plugin::ProgramName(int index) {
  return index >= 0 && index < ProgramCount() ? presets[static_cast<size_t>(index)].name : "";
}

void Lv2Plugin::SetPortValue(const char* symbol, float value) {
  for (const Control& control : controls) {
    if (control.symbol == symbol) {
      instance->SetControl(control.port, value);
      controlsChanged = true;
    }
  }
}

const float* Lv2Plugin::PortValue(const char* symbol) const {
  for (const Control& control : controls) {
    if (control.symbol == symbol) {
      return &instance->Controls()[control.port];
    }
  }
  return nullptr;
}

bool Lv2Plugin::Restore(LilvState* state) {
  if (!state) {
    return false;
  }
  lilv_state_restore(state, instance->Lilv(), SetPortCallback, this, 0, instance->Features());
  lilv_state_free(state);
  return true;
}

bool Lv2Plugin::SelectProgram(int index) {
  if (index < 0 || index >= ProgramCount()) {
    return false;
  }
  IScopedLock control(HostControlLock());
  LilvNode* uri = lilv_new_uri(world, presets[static_cast<size_t>(index)].uri.c_str());
  LilvState* state = lilv_state_new_from_world(world, Shared().uris.MapFeature(), uri);
  lilv_node_free(uri);
  if (!Restore(state)) {
    return false;
  }
  currentPreset = index;
  return true;
}

std::vector<uint8_t> Lv2Plugin::SaveState() {
  IScopedLock control(HostControlLock());
  SettleControls();
  UridMap& uris = Shared().uris;
  LilvState* state = lilv_state_new_from_instance(
      plugin, instance->Lilv(), uris.MapFeature(), nullptr, nullptr, nullptr, nullptr,
      GetPortCallback, this, kStateFlags, instance->Features());
  if (!state) {
    return {};
  }
  char* text = lilv_state_to_string(world, uris.MapFeature(), uris.UnmapFeature(), state, kStateUri,
                                    nullptr);
  lilv_state_free(state);
  if (!text) {
    return {};
  }
  std::vector<uint8_t> bytes(text, text + std::strlen(text));
  lilv_free(text);
  return bytes;
}

bool Lv2Plugin::LoadState(const std::vector<uint8_t>& bytes) {
  IScopedLock control(HostControlLock());
  const std::string text(bytes.begin(), bytes.end());
  LilvState* state = lilv_state_new_from_string(world, Shared().uris.MapFeature(), text.c_str());
  if (state && !lilv_node_equals(lilv_state_get_plugin_uri(state), lilv_plugin_get_uri(plugin))) {
    lilv_state_free(state);
    return false;
  }
  return Restore(state);
}

// A new rate needs a new instance: the state moves over from the one made to describe it.
bool Lv2Plugin::Start(double rate, int maxBlockFrames, bool, std::string* error) {
  if (rate == sampleRate && maxBlockFrames <= kDescribeBlock) {
    return true;
  }
  const std::vector<uint8_t> state = SaveState();
  IScopedLock control(HostControlLock());
  if (!Instantiate(rate, maxBlockFrames, error)) {
    return false;
  }
  return state.empty() || LoadState(state);
}

void Lv2Plugin::SetTransport(int64_t samplePosition, double tempo, bool isPlaying) {
  const int port = instance->TimePort();
  // Positions go out when the transport starts, stops or begins: plug-ins count on from there.
  if (port < 0 || (isPlaying == playing && samplePosition != 0)) {
    playing = isPlaying;
    return;
  }
  playing = isPlaying;
  const double beats = static_cast<double>(samplePosition) / sampleRate * tempo / kSecondsPerMinute;
  const double bar = std::floor(beats / kBeatsPerBar);
  instance->AddPosition(static_cast<uint32_t>(port), 0, bar, beats - bar * kBeatsPerBar,
                        kBeatsPerBar, kBeatUnit, tempo, isPlaying ? 1.0 : 0.0, samplePosition);
}

// Parameter changes apply from the block's start: the caller splits blocks at their frames.
void Lv2Plugin::Process(float* const* inputs, float* const* outputs, int frames,
                        const HostedEvent* events, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const HostedEvent& event = events[i];
    if (event.kind == HostedEventKind::Parameter && event.parameter >= 0 &&
        event.parameter < ParameterCount()) {
      SetNormalized(event.parameter, event.normalized);
    } else if (event.kind == HostedEventKind::Midi && Midi::MessageBytes(event.midi[0]) > 0) {
      instance->AddMidi(event.frame, event.midi, Midi::MessageBytes(event.midi[0]));
    } else if (event.kind == HostedEventKind::Sysex) {
      instance->AddMidi(event.frame, event.sysex, static_cast<uint32_t>(event.sysexSize));
    }
  }
  instance->Run(inputs, outputs, frames);
  controlsChanged = false;
}

// LV2 audio is single precision: ProcessesDouble() says so, and callers never ask.
void Lv2Plugin::Process(double* const*, double* const*, int, const HostedEvent*, size_t) {}

int Lv2Plugin::Latency() {
  return latencyPort >= 0
             ? std::max(0, static_cast<int>(instance->Control(static_cast<uint32_t>(latencyPort))))
             : 0;
}
