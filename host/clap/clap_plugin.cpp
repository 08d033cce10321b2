#include "host/clap/ClapPlugin.h"

#include "platform/Lock.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {
constexpr size_t kTextBytes = 256;
// Streams move at most this many bytes a call, as hosts' streams do.
constexpr size_t kStreamChunk = 65536;
constexpr double kSecondsPerMinute = 60.0;
} // namespace

std::unique_ptr<ClapPlugin> ClapPlugin::Load(const std::string& path, std::string* error) {
  IScopedLock control(HostControlLock());
  std::unique_ptr<ClapPlugin> plugin(new ClapPlugin());
  plugin->path = path;
  std::string reason;
  plugin->module = ClapModule::Open(path, &reason);
  if (!plugin->module) {
    *error = "cannot load CLAP plug-in " + path + ": " + reason;
    return nullptr;
  }
  const auto* factory = plugin->module->FactoryOf<clap_plugin_factory>(Clap::PluginFactoryId);
  if (!factory || factory->get_plugin_count(factory) == 0) {
    *error = "cannot load CLAP plug-in " + path + ": its factory offers no plug-in";
    return nullptr;
  }
  plugin->host = std::make_unique<ClapHost>(factory);
  if (!plugin->host->Plugin()) {
    *error = "cannot load CLAP plug-in " + path + ": the plug-in did not initialise";
    return nullptr;
  }
  plugin->host->KeepOutput(false);
  plugin->params = plugin->host->PluginExtension<clap_plugin_params>(Clap::ParamsId);
  const uint32_t count = plugin->params ? plugin->params->count(plugin->host->Plugin()) : 0;
  for (uint32_t i = 0; i < count; ++i) {
    clap_param_info info = {};
    if (plugin->params->get_info(plugin->host->Plugin(), i, &info)) {
      plugin->parameters.push_back(info);
    }
  }
  plugin->FindPresets();
  return plugin;
}

// The instance goes before the module it was made from.
ClapPlugin::~ClapPlugin() {
  IScopedLock control(HostControlLock());
  host.reset();
  module.reset();
}

std::string ClapPlugin::Name() {
  return host->Plugin()->desc->name ? host->Plugin()->desc->name : "";
}

std::string ClapPlugin::Vendor() {
  return host->Plugin()->desc->vendor ? host->Plugin()->desc->vendor : "";
}

std::vector<std::string> ClapPlugin::Buses() {
  std::vector<std::string> buses;
  const auto* ports = host->PluginExtension<clap_plugin_audio_ports>(Clap::AudioPortsId);
  for (bool input : {true, false}) {
    const uint32_t count = ports ? ports->count(host->Plugin(), input) : 0;
    for (uint32_t i = 0; i < count; ++i) {
      clap_audio_port_info info = {};
      if (ports->get(host->Plugin(), i, input, &info)) {
        buses.push_back(std::string(input ? "audio in " : "audio out ") + std::to_string(i) + ": " +
                        info.name + ", " + std::to_string(info.channel_count) + " channels" +
                        (i == 0 ? " (rendered)" : ""));
      }
    }
  }
  const auto* notes = host->PluginExtension<clap_plugin_note_ports>(Clap::NotePortsId);
  const uint32_t noteInputs = notes ? notes->count(host->Plugin(), true) : 0;
  buses.push_back("note/MIDI in: " + std::to_string(noteInputs) + " port(s)");
  return buses;
}

bool ClapPlugin::ProcessesDouble() const {
  const auto* ports = host->PluginExtension<clap_plugin_audio_ports>(Clap::AudioPortsId);
  clap_audio_port_info info = {};
  return ports && ports->count(host->Plugin(), false) > 0 &&
         ports->get(host->Plugin(), 0, false, &info) &&
         (info.flags & Clap::AudioPortSupports64Bits);
}

double ClapPlugin::Plain(int index, double normalized) const {
  const clap_param_info& info = parameters[static_cast<size_t>(index)];
  return info.min_value + normalized * (info.max_value - info.min_value);
}

std::string ClapPlugin::ParameterName(int index) {
  return parameters[static_cast<size_t>(index)].name;
}

std::string ClapPlugin::DisplayAt(int index, double normalized) {
  char text[kTextBytes] = {};
  const double value = Plain(index, normalized);
  if (!params->value_to_text(host->Plugin(), parameters[static_cast<size_t>(index)].id, value, text,
                             kTextBytes)) {
    std::snprintf(text, sizeof(text), "%g", value);
  }
  text[kTextBytes - 1] = '\0';
  return text;
}

std::string ClapPlugin::ParameterDisplay(int index) {
  return DisplayAt(index, Normalized(index));
}

double ClapPlugin::Normalized(int index) {
  const clap_param_info& info = parameters[static_cast<size_t>(index)];
  double value = info.default_value;
  params->get_value(host->Plugin(), info.id, &value);
  const double span = info.max_value - info.min_value;
  return span > 0.0 ? (value - info.min_value) / span : 0.0;
}

// Outside processing the value goes in through the params extension's flush.
void ClapPlugin::SetNormalized(int index, double normalized) {
  host->QueueParamValue(0, parameters[static_cast<size_t>(index)].id, Plain(index, normalized));
  host->Flush();
}

bool ClapPlugin::TakesText(int index) {
  double value = 0.0;
  return params->text_to_value(host->Plugin(), parameters[static_cast<size_t>(index)].id,
                               ParameterDisplay(index).c_str(), &value);
}

bool ClapPlugin::TextToNormalized(int index, const std::string& text, double* normalized) {
  const clap_param_info& info = parameters[static_cast<size_t>(index)];
  double value = 0.0;
  if (!params->text_to_value(host->Plugin(), info.id, text.c_str(), &value) ||
      !std::isfinite(value)) {
    return false;
  }
  const double span = info.max_value - info.min_value;
  *normalized = span > 0.0 ? (value - info.min_value) / span : 0.0;
  return true;
}

namespace {
struct Found {
  std::vector<std::pair<std::string, std::string>> presets;
};
} // namespace

// The presets the plug-in declares in its own location (not in files).
void ClapPlugin::FindPresets() {
  const auto* factory =
      module->FactoryOf<clap_preset_discovery_factory>(Clap::PresetDiscoveryFactoryId);
  if (!factory || factory->count(factory) == 0) {
    return;
  }
  Found found;
  clap_preset_discovery_indexer indexer = {};
  indexer.version = Clap::Version;
  indexer.name = "ombrix-render";
  indexer.vendor = "Quillmarsh";
  indexer.url = "";
  indexer.indexer_version = "1";
  indexer.indexer_data = &found;
  indexer.declare_filetype = [](const clap_preset_discovery_indexer*,
                                const clap_preset_discovery_filetype*) { return true; };
  indexer.declare_location = [](const clap_preset_discovery_indexer*,
                                const clap_preset_discovery_location*) { return true; };
  indexer.declare_soundpack = [](const clap_preset_discovery_indexer*,
                                 const clap_preset_discovery_soundpack*) { return true; };
  indexer.get_extension = [](const clap_preset_discovery_indexer*, const char*) {
    return static_cast<const void*>(nullptr);
  };
  const clap_preset_discovery_provider* provider =
      factory->create(factory, &indexer, factory->get_descriptor(factory, 0)->id);
  if (!provider) {
    return;
  }
  if (provider->init(provider)) {
    clap_preset_discovery_metadata_receiver receiver = {};
    receiver.receiver_data = &found;
    receiver.on_error = [](const clap_preset_discovery_metadata_receiver*, int32_t, const char*) {};
    receiver.begin_preset = [](const clap_preset_discovery_metadata_receiver* self,
                               const char* name, const char* key) {
      static_cast<Found*>(self->receiver_data)
          ->presets.emplace_back(name ? name : "", key ? key : "");
      return true;
    };
    receiver.add_plugin_id = [](const clap_preset_discovery_metadata_receiver*,
                                const clap_universal_plugin_id*) {};
    receiver.set_soundpack_id = [](const clap_preset_discovery_metadata_receiver*, const char*) {};
    receiver.set_flags = [](const clap_preset_discovery_metadata_receiver*, uint32_t) {};
    receiver.add_creator = [](const clap_preset_discovery_metadata_receiver*, const char*) {};
    receiver.set_description = [](const clap_preset_discovery_metadata_receiver*, const char*) {};
    receiver.set_timestamps = [](const clap_preset_discovery_metadata_receiver*, uint64_t,
                                 uint64_t) {};
    receiver.add_feature = [](const clap_preset_discovery_metadata_receiver*, const char*) {};
    receiver.add_extra_info = [](const clap_preset_discovery_metadata_receiver*, const char*,
                                 const char*) {};
    provider->get_metadata(provider, Clap::PresetLocationPlugin, nullptr, &receiver);
  }
  provider->destroy(provider);
  for (const auto& [name, key] : found.presets) {
    presets.push_back({name, key});
  }
}

std::string ClapPlugin::ProgramName(int index) {
  return index >= 0 && index < ProgramCount() ? presets[static_cast<size_t>(index)].name : "";
}

bool ClapPlugin::SelectProgram(int index) {
  const auto* load = host->PluginExtension<clap_plugin_preset_load>(Clap::PresetLoadId);
  if (index < 0 || index >= ProgramCount() || !load ||
      !load->from_location(host->Plugin(), Clap::PresetLocationPlugin, nullptr,
                           presets[static_cast<size_t>(index)].key.c_str())) {
    return false;
  }
  currentPreset = index;
  return true;
}

std::vector<uint8_t> ClapPlugin::SaveState() {
  return host->PluginExtension<clap_plugin_state>(Clap::StateId) ? host->SaveState(kStreamChunk)
                                                                 : std::vector<uint8_t>();
}

bool ClapPlugin::LoadState(const std::vector<uint8_t>& bytes) {
  return host->PluginExtension<clap_plugin_state>(Clap::StateId) &&
         host->LoadState(bytes, kStreamChunk);
}

bool ClapPlugin::Start(double rate, int maxBlockFrames, bool, std::string* error) {
  IScopedLock control(HostControlLock());
  sampleRate = rate;
  if (!host->Activate(rate, static_cast<uint32_t>(maxBlockFrames))) {
    *error = Name() + " refused to activate at " + std::to_string(static_cast<int>(rate)) +
             " Hz with blocks of " + std::to_string(maxBlockFrames);
    return false;
  }
  return true;
}

void ClapPlugin::Stop() {
  IScopedLock control(HostControlLock());
  host->Deactivate();
}

void ClapPlugin::SetTransport(int64_t samplePosition, double tempo, bool playing) {
  if (!playing) {
    host->NoTransport();
    return;
  }
  host->Play(static_cast<double>(samplePosition) / sampleRate * tempo / kSecondsPerMinute, tempo);
}

void ClapPlugin::Queue(const HostedEvent* events, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const HostedEvent& event = events[i];
    const auto frame = static_cast<uint32_t>(event.frame);
    switch (event.kind) {
    case HostedEventKind::Midi:
      host->QueueMidi(frame, event.midi[0], event.midi[1], event.midi[2]);
      break;
    case HostedEventKind::Sysex:
      host->QueueSysex(frame, std::vector<uint8_t>(event.sysex, event.sysex + event.sysexSize));
      break;
    case HostedEventKind::Parameter:
      if (event.parameter >= 0 && event.parameter < ParameterCount()) {
        host->QueueParamValue(frame, parameters[static_cast<size_t>(event.parameter)].id,
                              Plain(event.parameter, event.normalized));
      }
      break;
    }
  }
}

void ClapPlugin::Process(float* const* inputs, float* const* outputs, int frames,
                         const HostedEvent* events, size_t count) {
  Queue(events, count);
  host->Process(inputs, outputs, static_cast<uint32_t>(frames));
}

void ClapPlugin::Process(double* const* inputs, double* const* outputs, int frames,
                         const HostedEvent* events, size_t count) {
  Queue(events, count);
  host->Process(inputs, outputs, static_cast<uint32_t>(frames));
}

int ClapPlugin::Latency() {
  const auto* latency = host->PluginExtension<clap_plugin_latency>(Clap::LatencyId);
  return latency ? static_cast<int>(latency->get(host->Plugin())) : 0;
}
