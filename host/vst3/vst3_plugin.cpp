#include "host/vst3/Vst3Plugin.h"

#include "platform/Lock.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>

namespace {
constexpr double kSecondsPerMinute = 60.0;
// A state save before the first render applies pending changes through a short setup.
constexpr double kFlushRate = 48000.0;
constexpr int kFlushBlock = 512;

// ASCII and the Basic Multilingual Plane as UTF-16, as parameter texts need.
void ToUtf16(const std::string& text, vst3::String128 out) {
  size_t written = 0;
  for (size_t i = 0; i < text.size() && written + 1 < 128;) {
    const auto lead = static_cast<unsigned char>(text[i]);
    char32_t code = lead;
    size_t length = 1;
    if (lead >= 0xE0 && i + 2 < text.size()) {
      code = ((lead & 0x0Fu) << 12) | ((static_cast<unsigned char>(text[i + 1]) & 0x3Fu) << 6) |
             (static_cast<unsigned char>(text[i + 2]) & 0x3Fu);
      length = 3;
    } else if (lead >= 0xC0 && i + 1 < text.size()) {
      code = ((lead & 0x1Fu) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3Fu);
      length = 2;
    }
    out[written++] = static_cast<vst3::char16>(code);
    i += length;
  }
  out[written] = 0;
}
} // namespace

std::unique_ptr<Vst3Plugin> Vst3Plugin::Load(const std::string& path, std::string* error) {
  IScopedLock control(HostControlLock());
  std::string reason;
  const std::string file = Vst3ModuleInBundle(path, &reason);
  if (file.empty()) {
    *error = "cannot load VST 3 plug-in " + path + ": " + reason;
    return nullptr;
  }
  std::unique_ptr<Vst3Plugin> plugin(new Vst3Plugin());
  plugin->path = path;
  plugin->module = std::make_unique<vst3host::Module>(file, &reason);
  if (!plugin->module->Loaded()) {
    *error = "cannot load VST 3 plug-in " + path + ": " + reason;
    return nullptr;
  }
  vst3::PFactoryInfo factoryInfo{};
  if (plugin->module->Factory()->getFactoryInfo(&factoryInfo) == vst3::kResultOk) {
    plugin->vendor =
        std::string(factoryInfo.vendor, strnlen(factoryInfo.vendor, sizeof(factoryInfo.vendor)));
  }
  plugin->instance = std::make_unique<vst3host::PluginInstance>(plugin->module->Factory());
  if (!plugin->instance->Made()) {
    *error = "cannot load VST 3 plug-in " + path +
             ": no audio effect with a processor and a controller could be made";
    return nullptr;
  }
  vst3::IEditController* controller = plugin->instance->controller;
  plugin->midi = std::make_unique<vst3host::MidiInput>(controller);
  for (vst3::int32 i = 0; i < controller->getParameterCount(); ++i) {
    vst3::ParameterInfo info{};
    if (controller->getParameterInfo(i, &info) == vst3::kResultOk) {
      if (info.flags & vst3::ParameterInfo::kIsProgramChange) {
        plugin->programParameter = static_cast<int>(plugin->parameters.size());
      }
      plugin->parameters.push_back(info);
    }
  }
  if (auto* units = vst3host::Query<vst3::IUnitInfo>(controller, vst3::IUnitInfo_iid)) {
    vst3::ProgramListInfo list{};
    if (units->getProgramListCount() > 0 &&
        units->getProgramListInfo(0, &list) == vst3::kResultOk) {
      for (vst3::int32 i = 0; i < list.programCount; ++i) {
        vst3::String128 name = {};
        units->getProgramName(list.id, i, name);
        plugin->programs.push_back(vst3host::Utf8(name));
      }
    }
    units->release();
  }
  return plugin;
}

// The instance goes before the module it was made from.
Vst3Plugin::~Vst3Plugin() {
  IScopedLock control(HostControlLock());
  midi.reset();
  instance.reset();
  module.reset();
}

std::vector<std::string> Vst3Plugin::Buses() {
  std::vector<std::string> buses;
  for (vst3::MediaType type : {vst3::kAudio, vst3::kEvent}) {
    for (vst3::BusDirection direction : {vst3::kInput, vst3::kOutput}) {
      const vst3::int32 count = instance->processor->getBusCount(type, direction);
      for (vst3::int32 i = 0; i < count; ++i) {
        vst3::BusInfo info{};
        if (instance->processor->getBusInfo(type, direction, i, &info) != vst3::kResultOk) {
          continue;
        }
        buses.push_back(std::string(type == vst3::kAudio ? "audio " : "event ") +
                        (direction == vst3::kInput ? "in " : "out ") + std::to_string(i) + ": " +
                        vst3host::Utf8(info.name) + ", " + std::to_string(info.channelCount) +
                        " channels" + (i == 0 && type == vst3::kAudio ? " (rendered)" : ""));
      }
    }
  }
  return buses;
}

bool Vst3Plugin::ProcessesDouble() const {
  return instance->audio->canProcessSampleSize(vst3::kSample64) == vst3::kResultTrue;
}

std::string Vst3Plugin::ParameterName(int index) {
  return vst3host::Utf8(parameters[static_cast<size_t>(index)].title);
}

std::string Vst3Plugin::ParameterUnit(int index) {
  return vst3host::Utf8(parameters[static_cast<size_t>(index)].units);
}

std::string Vst3Plugin::DisplayAt(int index, double normalized) {
  vst3::String128 text = {};
  instance->controller->getParamStringByValue(parameters[static_cast<size_t>(index)].id, normalized,
                                              text);
  return vst3host::Utf8(text);
}

std::string Vst3Plugin::ParameterDisplay(int index) {
  return DisplayAt(index, Normalized(index));
}

double Vst3Plugin::Normalized(int index) {
  return instance->controller->getParamNormalized(parameters[static_cast<size_t>(index)].id);
}

// As a host's edit: the controller shows it, the processor gets it with the next block.
void Vst3Plugin::SetNormalized(int index, double normalized) {
  const vst3::ParamID id = parameters[static_cast<size_t>(index)].id;
  instance->controller->setParamNormalized(id, normalized);
  instance->changes.Add(id, 0, normalized);
  pending = true;
}

bool Vst3Plugin::TakesText(int index) {
  double normalized = 0.0;
  return TextToNormalized(index, ParameterDisplay(index), &normalized);
}

bool Vst3Plugin::TextToNormalized(int index, const std::string& text, double* normalized) {
  vst3::String128 typed = {};
  ToUtf16(text, typed);
  vst3::ParamValue value = 0.0;
  if (instance->controller->getParamValueByString(parameters[static_cast<size_t>(index)].id, typed,
                                                  &value) != vst3::kResultOk ||
      !std::isfinite(value)) {
    return false;
  }
  *normalized = value;
  return true;
}

std::string Vst3Plugin::ProgramName(int index) {
  return index >= 0 && index < ProgramCount() ? programs[static_cast<size_t>(index)] : "";
}

int Vst3Plugin::CurrentProgram() {
  if (programParameter < 0 || programs.empty()) {
    return -1;
  }
  const int last = std::max(ProgramCount() - 1, 1);
  return static_cast<int>(std::lround(Normalized(programParameter) * last));
}

bool Vst3Plugin::SelectProgram(int index) {
  if (programParameter < 0 || index < 0 || index >= ProgramCount()) {
    return false;
  }
  const int last = std::max(ProgramCount() - 1, 1);
  SetNormalized(programParameter, static_cast<double>(index) / last);
  return true;
}

void Vst3Plugin::DeliverPending() {
  if (!pending || started) {
    return;
  }
  if (instance->Setup(kFlushRate, kFlushBlock, vst3::kSample32, vst3::kOffline)) {
    instance->Flush();
    instance->Shutdown();
  }
  pending = false;
}

std::vector<uint8_t> Vst3Plugin::SaveState() {
  DeliverPending();
  return instance->SaveState();
}

bool Vst3Plugin::LoadState(const std::vector<uint8_t>& bytes) {
  DeliverPending();
  return instance->LoadState(bytes) == vst3::kResultOk;
}

bool Vst3Plugin::Start(double sampleRate, int maxBlockFrames, bool doublePrecision,
                       std::string* error) {
  IScopedLock control(HostControlLock());
  if (!instance->Setup(sampleRate, maxBlockFrames,
                       doublePrecision ? vst3::kSample64 : vst3::kSample32, vst3::kOffline)) {
    *error = Name() + " refused to process at " + std::to_string(static_cast<int>(sampleRate)) +
             " Hz with blocks of " + std::to_string(maxBlockFrames);
    return false;
  }
  started = true;
  pending = false;
  return true;
}

void Vst3Plugin::Stop() {
  IScopedLock control(HostControlLock());
  instance->Shutdown();
}

void Vst3Plugin::SetTransport(int64_t samplePosition, double tempo, bool playing) {
  vst3::ProcessContext& context = instance->context;
  context.state = vst3::ProcessContext::kTempoValid | vst3::ProcessContext::kProjectTimeMusicValid |
                  vst3::ProcessContext::kTimeSigValid;
  if (playing) {
    context.state |= vst3::ProcessContext::kPlaying;
  }
  context.tempo = tempo;
  context.projectTimeSamples = samplePosition;
  context.projectTimeMusic =
      static_cast<double>(samplePosition) / context.sampleRate * tempo / kSecondsPerMinute;
  context.timeSigNumerator = 4;
  context.timeSigDenominator = 4;
}

void Vst3Plugin::Queue(const HostedEvent* events, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const HostedEvent& event = events[i];
    vst3::ParamID id = 0;
    double value = 0.0;
    vst3::Event note;
    switch (event.kind) {
    case HostedEventKind::Parameter:
      if (event.parameter >= 0 && event.parameter < ParameterCount()) {
        instance->changes.Add(parameters[static_cast<size_t>(event.parameter)].id, event.frame,
                              event.normalized);
      }
      break;
    case HostedEventKind::Midi:
      if (midi->ControllerChange(event.midi[0], event.midi[1], event.midi[2], &id, &value)) {
        instance->changes.Add(id, event.frame, value);
      } else if (vst3host::MidiInput::EventFor(event.frame, event.midi[0], event.midi[1],
                                               event.midi[2], &note)) {
        instance->inputEvents.addEvent(&note);
      }
      break;
    case HostedEventKind::Sysex:
      break;
    }
  }
}

void Vst3Plugin::TakeOutput() {
  midiPassedBack += static_cast<int>(instance->outputEvents.events.size());
  instance->outputEvents.events.clear();
}

void Vst3Plugin::Process(float* const* inputs, float* const* outputs, int frames,
                         const HostedEvent* events, size_t count) {
  Queue(events, count);
  instance->Process(inputs, outputs, frames);
  TakeOutput();
}

void Vst3Plugin::Process(double* const* inputs, double* const* outputs, int frames,
                         const HostedEvent* events, size_t count) {
  Queue(events, count);
  instance->Process64(inputs, outputs, frames);
  TakeOutput();
}

int Vst3Plugin::Latency() {
  return static_cast<int>(instance->audio->getLatencySamples());
}

std::string Vst3ModuleInBundle(const std::string& bundle, std::string* error) {
  namespace fs = std::filesystem;
  std::error_code code;
  if (fs::is_regular_file(bundle, code)) {
    return bundle;
  }
  const fs::path root(bundle);
  const std::string stem =
      root.filename().empty() ? root.parent_path().stem().string() : root.stem().string();
  const fs::path contents = root / "Contents";
  const fs::path module =
      contents / vst3host::ArchitectureFolder() / (stem + vst3host::ModuleExtension());
  if (fs::is_regular_file(module, code)) {
    return module.string();
  }
  std::string found;
  for (const fs::directory_entry& entry : fs::directory_iterator(contents, code)) {
    if (entry.is_directory(code) && entry.path().filename() != "Resources") {
      found += (found.empty() ? "" : ", ") + entry.path().filename().string();
    }
  }
  *error = "the bundle has no module for this build's architecture (expected Contents/" +
           std::string(vst3host::ArchitectureFolder()) + "/" + stem + vst3host::ModuleExtension() +
           ", found " + (found.empty() ? std::string("no architecture folder") : found) + ")";
  return std::string();
}
