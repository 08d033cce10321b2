#include "host/clap/ClapHost.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr size_t EventRoom = 1024;
constexpr double FixedPoint = 2147483648.0;

uint32_t CLAP_ABI InputSize(const clap_input_events* list) {
  return static_cast<uint32_t>(static_cast<const std::vector<const void*>*>(list->ctx)->size());
}

const clap_event_header* CLAP_ABI InputGet(const clap_input_events* list, uint32_t index) {
  const auto* events = static_cast<const std::vector<const void*>*>(list->ctx);
  return index < events->size() ? static_cast<const clap_event_header*>((*events)[index]) : nullptr;
}

clap_event_header Header(uint32_t size, uint32_t time, uint16_t type) {
  return {size, time, Clap::CoreEventSpace, type, 0};
}
} // namespace

ClapHost::ClapHost(const clap_plugin_factory* factory, const char* pluginId) {
  host.version = Clap::Version;
  host.host_data = this;
  host.name = "Ombrix host";
  host.vendor = "Quillmarsh";
  host.url = "";
  host.host_version = "1.0.0";
  host.get_extension = HostExtension;
  host.request_restart = [](const clap_host*) {};
  host.request_process = [](const clap_host*) {};
  host.request_callback = [](const clap_host*) {};
  queued.reserve(EventRoom);
  taking.reserve(EventRoom);
  const clap_plugin_descriptor* first = factory && factory->get_plugin_count(factory) > 0
                                            ? factory->get_plugin_descriptor(factory, 0)
                                            : nullptr;
  if (!pluginId && !first) {
    return;
  }
  plugin = factory->create_plugin(factory, &host, pluginId ? pluginId : first->id);
  if (plugin && !plugin->init(plugin)) {
    plugin->destroy(plugin);
    plugin = nullptr;
  }
  const auto* ports =
      plugin ? PluginExtension<clap_plugin_audio_ports>(Clap::AudioPortsId) : nullptr;
  for (bool input : {true, false}) {
    clap_audio_port_info info = {};
    if (ports && ports->count(plugin, input) > 0 && ports->get(plugin, 0, input, &info)) {
      (input ? inputChannels : outputChannels) = info.channel_count;
    }
  }
}

ClapHost::~ClapHost() {
  if (plugin) {
    CloseEditor();
    Deactivate();
    plugin->destroy(plugin);
  }
}

bool ClapHost::Activate(double sampleRate, uint32_t maxFrames) {
  Deactivate();
  rate = sampleRate;
  steadyTime = 0;
  if (!plugin || !plugin->activate(plugin, sampleRate, 1, maxFrames)) {
    return false;
  }
  if (!plugin->start_processing(plugin)) {
    plugin->deactivate(plugin);
    return false;
  }
  active = true;
  return true;
}

void ClapHost::Deactivate() {
  if (active) {
    plugin->stop_processing(plugin);
    plugin->deactivate(plugin);
    active = false;
  }
}

ClapHost& ClapHost::From(const clap_host* host) {
  return *static_cast<ClapHost*>(host->host_data);
}

template <typename Event> void ClapHost::Queue(const Event& event) {
  static_assert(sizeof(Event) <= sizeof(EventSlot::bytes));
  EventSlot slot = {};
  std::memcpy(slot.bytes, &event, sizeof(event));
  std::lock_guard<std::mutex> guard(eventLock);
  queued.push_back(slot);
}

void ClapHost::QueueParamValue(uint32_t time, clap_id id, double value) {
  clap_event_param_value event = {};
  event.header = Header(sizeof(event), time, Clap::EventParamValue);
  event.param_id = id;
  event.note_id = -1;
  event.port_index = -1;
  event.channel = -1;
  event.key = -1;
  event.value = value;
  Queue(event);
}

void ClapHost::QueueMidi(uint32_t time, uint8_t status, uint8_t data1, uint8_t data2) {
  clap_event_midi event = {};
  event.header = Header(sizeof(event), time, Clap::EventMidi);
  event.data[0] = status;
  event.data[1] = data1;
  event.data[2] = data2;
  Queue(event);
}

void ClapHost::QueueSysex(uint32_t time, std::vector<uint8_t> bytes) {
  std::lock_guard<std::mutex> guard(eventLock);
  sysexBytes.push_back(std::move(bytes));
  clap_event_midi_sysex event = {};
  event.header = Header(sizeof(event), time, Clap::EventMidiSysex);
  event.buffer = sysexBytes.back().data();
  event.size = static_cast<uint32_t>(sysexBytes.back().size());
  EventSlot slot = {};
  std::memcpy(slot.bytes, &event, sizeof(event));
  queued.push_back(slot);
}

void ClapHost::QueueRaw(const void* bytes, size_t size) {
  EventSlot slot = {};
  std::memcpy(slot.bytes, bytes, std::min(size, sizeof(slot.bytes)));
  std::lock_guard<std::mutex> guard(eventLock);
  queued.push_back(slot);
}

void ClapHost::Play(double beat, double tempo) {
  playing = true;
  transport = {};
  transport.header = Header(sizeof(transport), 0, Clap::EventTransport);
  transport.flags = Clap::TransportHasTempo | Clap::TransportHasBeatsTimeline |
                    Clap::TransportHasTimeSignature | Clap::TransportIsPlaying;
  transport.song_pos_beats = static_cast<int64_t>(beat * FixedPoint);
  transport.tempo = tempo;
  transport.tsig_num = 4;
  transport.tsig_denom = 4;
}

int32_t ClapHost::Process(float* const* in, float* const* out, uint32_t frames) {
  clap_audio_buffer input = {const_cast<float**>(in), nullptr, inputChannels, 0, 0};
  clap_audio_buffer output = {const_cast<float**>(out), nullptr, outputChannels, 0, ~0ull};
  return RunProcess(&input, &output, frames);
}

int32_t ClapHost::Process(double* const* in, double* const* out, uint32_t frames) {
  clap_audio_buffer input = {nullptr, const_cast<double**>(in), inputChannels, 0, 0};
  clap_audio_buffer output = {nullptr, const_cast<double**>(out), outputChannels, 0, ~0ull};
  return RunProcess(&input, &output, frames);
}

namespace {
// The lists a call hands the plug-in: the events as pointers, and the output kept by the host.
struct CallLists {
  std::vector<const void*> pointers;
  clap_input_events in = {};
  clap_output_events out = {};
};

} // namespace

bool CLAP_ABI ClapHost::Push(const clap_output_events* list, const clap_event_header* header) {
  ClapHost& self = *static_cast<ClapHost*>(list->ctx);
  if (header->type == Clap::EventMidi || header->type == Clap::EventMidiSysex) {
    ++self.midiPassedBack;
  }
  if (!self.keepOutput) {
    return true;
  }
  std::vector<ClapOutEvent>* output = &self.output;
  ClapOutEvent event;
  event.type = header->type;
  event.time = header->time;
  event.flags = header->flags;
  switch (header->type) {
  case Clap::EventParamValue: {
    const auto* value = reinterpret_cast<const clap_event_param_value*>(header);
    event.paramId = value->param_id;
    event.value = value->value;
    break;
  }
  case Clap::EventParamGestureBegin:
  case Clap::EventParamGestureEnd:
    event.paramId = reinterpret_cast<const clap_event_param_gesture*>(header)->param_id;
    break;
  case Clap::EventMidi: {
    const auto* midi = reinterpret_cast<const clap_event_midi*>(header);
    event.bytes.assign(midi->data, midi->data + 3);
    break;
  }
  case Clap::EventMidiSysex: {
    const auto* sysex = reinterpret_cast<const clap_event_midi_sysex*>(header);
    event.bytes.assign(sysex->buffer, sysex->buffer + sysex->size);
    break;
  }
  default:
    break;
  }
  output->push_back(std::move(event));
  return true;
}

int32_t ClapHost::RunProcess(clap_audio_buffer* input, clap_audio_buffer* outputBuffer,
                             uint32_t frames) {
  {
    std::lock_guard<std::mutex> guard(eventLock);
    std::swap(queued, taking);
    std::swap(sysexBytes, takingSysex);
  }
  static thread_local CallLists lists;
  lists.pointers.reserve(EventRoom);
  lists.pointers.clear();
  for (const EventSlot& slot : taking) {
    lists.pointers.push_back(slot.bytes);
  }
  lists.in = {&lists.pointers, InputSize, InputGet};
  lists.out = {this, Push};
  clap_process process = {};
  process.steady_time = steadyTime;
  process.frames_count = frames;
  process.transport = playing ? &transport : nullptr;
  process.audio_inputs = input;
  process.audio_outputs = outputBuffer;
  process.audio_inputs_count = inputChannels > 0 ? 1 : 0;
  process.audio_outputs_count = outputChannels > 0 ? 1 : 0;
  process.in_events = &lists.in;
  process.out_events = &lists.out;
  const int32_t status = plugin->process(plugin, &process);
  steadyTime += frames;
  if (playing) {
    transport.song_pos_beats +=
        static_cast<int64_t>(frames / rate * transport.tempo / 60.0 * FixedPoint);
  }
  taking.clear();
  takingSysex.clear();
  return status;
}

void ClapHost::Flush() {
  const auto* params = PluginExtension<clap_plugin_params>(Clap::ParamsId);
  {
    std::lock_guard<std::mutex> guard(eventLock);
    std::swap(queued, taking);
  }
  CallLists lists;
  for (const EventSlot& slot : taking) {
    lists.pointers.push_back(slot.bytes);
  }
  lists.in = {&lists.pointers, InputSize, InputGet};
  lists.out = {this, Push};
  params->flush(plugin, &lists.in, &lists.out);
  taking.clear();
}

std::vector<ClapOutEvent> ClapHost::TakeOutput() {
  return std::move(output);
}

namespace {
struct Stream {
  std::vector<uint8_t>* bytes;
  size_t chunk;
  size_t position = 0;
};

int64_t CLAP_ABI Write(const clap_ostream* stream, const void* buffer, uint64_t size) {
  auto* state = static_cast<Stream*>(stream->ctx);
  const size_t taken = std::min<size_t>(static_cast<size_t>(size), state->chunk);
  const auto* bytes = static_cast<const uint8_t*>(buffer);
  state->bytes->insert(state->bytes->end(), bytes, bytes + taken);
  return static_cast<int64_t>(taken);
}

int64_t CLAP_ABI Read(const clap_istream* stream, void* buffer, uint64_t size) {
  auto* state = static_cast<Stream*>(stream->ctx);
  const size_t given =
      std::min({static_cast<size_t>(size), state->chunk, state->bytes->size() - state->position});
  if (given > 0) {
    std::memcpy(buffer, state->bytes->data() + state->position, given);
  }
  state->position += given;
  return static_cast<int64_t>(given);
}
} // namespace

std::vector<uint8_t> ClapHost::SaveState(size_t chunk) {
  const auto* state = PluginExtension<clap_plugin_state>(Clap::StateId);
  std::vector<uint8_t> bytes;
  Stream stream{&bytes, chunk};
  const clap_ostream out = {&stream, Write};
  return state->save(plugin, &out) ? bytes : std::vector<uint8_t>();
}

bool ClapHost::LoadState(const std::vector<uint8_t>& bytes, size_t chunk) {
  const auto* state = PluginExtension<clap_plugin_state>(Clap::StateId);
  std::vector<uint8_t> copy = bytes;
  Stream stream{&copy, chunk};
  const clap_istream in = {&stream, Read};
  return state->load(plugin, &in);
}

// The order CLAP describes for an embedded editor.
bool ClapHost::OpenEditor(uintptr_t parentWindow) {
  const auto* gui = PluginExtension<clap_plugin_gui>(Clap::GuiId);
  const char* api = nullptr;
  bool floating = true;
  if (!gui || !gui->get_preferred_api(plugin, &api, &floating) ||
      !gui->is_api_supported(plugin, api, false) || !gui->create(plugin, api, false)) {
    return false;
  }
  guiCreated = true;
  gui->set_scale(plugin, 1.0);
  uint32_t width = 0;
  uint32_t height = 0;
  clap_window window = {};
  window.api = api;
#if defined(_WIN32)
  window.win32 = reinterpret_cast<void*>(parentWindow);
#else
  window.x11 = static_cast<unsigned long>(parentWindow);
#endif
  return gui->get_size(plugin, &width, &height) && gui->set_parent(plugin, &window) &&
         gui->show(plugin);
}

void ClapHost::IdleEditor() {
  const auto* timer = PluginExtension<clap_plugin_timer_support>(Clap::TimerSupportId);
  const auto* fd = PluginExtension<clap_plugin_posix_fd_support>(Clap::PosixFdSupportId);
  for (clap_id id : std::vector<clap_id>(timers)) {
    timer->on_timer(plugin, id);
  }
  for (int descriptor : std::vector<int>(descriptors)) {
    fd->on_fd(plugin, descriptor, Clap::FdRead);
  }
}

void ClapHost::CloseEditor() {
  if (guiCreated) {
    PluginExtension<clap_plugin_gui>(Clap::GuiId)->destroy(plugin);
    guiCreated = false;
  }
}

const void* CLAP_ABI ClapHost::HostExtension(const clap_host*, const char* id) {
  static const clap_host_log log = {[](const clap_host* host, int32_t, const char* message) {
    From(host).logLines.emplace_back(message);
  }};
  static const clap_host_params params = {
      [](const clap_host* host, uint32_t) { ++From(host).rescans; },
      [](const clap_host*, clap_id, uint32_t) {},
      [](const clap_host* host) { ++From(host).flushRequests; }};
  static const clap_host_timer_support timerSupport = {
      [](const clap_host* host, uint32_t, clap_id* id) {
        ClapHost& self = From(host);
        *id = self.nextTimer++;
        self.timers.push_back(*id);
        return true;
      },
      [](const clap_host* host, clap_id id) {
        auto& timers = From(host).timers;
        const auto found = std::find(timers.begin(), timers.end(), id);
        if (found == timers.end()) {
          return false;
        }
        timers.erase(found);
        return true;
      }};
  static const clap_host_posix_fd_support descriptorSupport = {
      [](const clap_host* host, int fd, uint32_t) {
        From(host).descriptors.push_back(fd);
        return true;
      },
      [](const clap_host*, int, uint32_t) { return true; },
      [](const clap_host* host, int fd) {
        auto& descriptors = From(host).descriptors;
        const auto found = std::find(descriptors.begin(), descriptors.end(), fd);
        if (found == descriptors.end()) {
          return false;
        }
        descriptors.erase(found);
        return true;
      }};
  static const clap_host_preset_load presetLoad = {
      [](const clap_host*, uint32_t, const char*, const char*, int32_t, const char*) {},
      [](const clap_host* host, uint32_t, const char*, const char* key) {
        From(host).presetsLoaded.emplace_back(key ? key : "");
      }};
  const struct {
    const char* id;
    const void* record;
  } offered[] = {{Clap::LogId, &log},
                 {Clap::ParamsId, &params},
                 {Clap::TimerSupportId, &timerSupport},
                 {Clap::PosixFdSupportId, &descriptorSupport},
                 {Clap::PresetLoadId, &presetLoad}};
  for (const auto& extension : offered) {
    if (std::strcmp(id, extension.id) == 0) {
      return extension.record;
    }
  }
  return nullptr;
}
