#include "host/lv2/Lv2Host.h"

#include <lv2/atom/util.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/midi/midi.h>
#include <lv2/time/time.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {
constexpr uint32_t EventBufferBytes = 16384;
} // namespace

UridMap::UridMap() {
  map.handle = this;
  map.map = [](LV2_URID_Map_Handle handle, const char* uri) {
    return static_cast<UridMap*>(handle)->Map(uri);
  };
  unmap.handle = this;
  unmap.unmap = [](LV2_URID_Unmap_Handle handle, LV2_URID id) {
    return static_cast<UridMap*>(handle)->Unmap(id);
  };
}

LV2_URID UridMap::Map(const char* uri) {
  std::lock_guard<std::mutex> guard(lock);
  for (size_t i = 0; i < uris.size(); ++i) {
    if (uris[i] == uri) {
      return static_cast<LV2_URID>(i + 1);
    }
  }
  uris.push_back(uri);
  return static_cast<LV2_URID>(uris.size());
}

const char* UridMap::Unmap(LV2_URID id) const {
  std::lock_guard<std::mutex> guard(lock);
  return id >= 1 && id <= uris.size() ? uris[id - 1].c_str() : nullptr;
}

Lv2Log::Lv2Log() {
  log.handle = this;
  log.printf = Printf;
  log.vprintf = VPrintf;
}

int Lv2Log::Printf(LV2_Log_Handle handle, LV2_URID type, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int written = VPrintf(handle, type, format, args);
  va_end(args);
  return written;
}

int Lv2Log::VPrintf(LV2_Log_Handle handle, LV2_URID, const char* format, va_list args) {
  char text[1024];
  const int written = std::vsnprintf(text, sizeof(text), format, args);
  static_cast<Lv2Log*>(handle)->messages.push_back(text);
  return written;
}

namespace {
bool PortIs(const LilvPlugin* plugin, const LilvPort* port, LilvWorld* world, const char* uri) {
  LilvNode* node = lilv_new_uri(world, uri);
  const bool is = lilv_port_is_a(plugin, port, node);
  lilv_node_free(node);
  return is;
}

bool PortSupports(const LilvPlugin* plugin, const LilvPort* port, LilvWorld* world,
                  const char* uri) {
  LilvNode* node = lilv_new_uri(world, uri);
  const bool supports = lilv_port_supports_event(plugin, port, node);
  lilv_node_free(node);
  return supports;
}
} // namespace

Lv2Instance::Lv2Instance(LilvWorld* world, const LilvPlugin* plugin, UridMap& uris,
                         int maxBlockLength, bool withLog, double rate)
    : plugin(plugin), uris(uris), blockLength(maxBlockLength) {
  sequenceCapacity = static_cast<int32_t>(EventBufferBytes);
  mapFeature = {LV2_URID__map, uris.MapFeature()};
  unmapFeature = {LV2_URID__unmap, uris.UnmapFeature()};
  logFeature = {LV2_LOG__log, log.Feature()};
  boundedFeature = {LV2_BUF_SIZE__boundedBlockLength, nullptr};
  schedule = {this, ScheduleWork};
  workerFeature = {LV2_WORKER__schedule, &schedule};
  features = {&mapFeature, &unmapFeature, &workerFeature};
  if (withLog) {
    features.push_back(&logFeature);
  }
  if (maxBlockLength > 0) {
    const LV2_URID intType = uris.Map(LV2_ATOM__Int);
    options = {
        {LV2_OPTIONS_INSTANCE, 0, uris.Map(LV2_BUF_SIZE__maxBlockLength), sizeof(int32_t), intType,
         &blockLength},
        {LV2_OPTIONS_INSTANCE, 0, uris.Map(LV2_BUF_SIZE__sequenceSize), sizeof(int32_t), intType,
         &sequenceCapacity},
        {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr},
    };
    optionsFeature = {LV2_OPTIONS__options, options.data()};
    features.push_back(&optionsFeature);
    features.push_back(&boundedFeature);
  }
  features.push_back(nullptr);

  instance = lilv_plugin_instantiate(plugin, rate, features.data());
  if (!instance) {
    return;
  }
  worker = static_cast<const LV2_Worker_Interface*>(
      lilv_instance_get_extension_data(instance, LV2_WORKER__interface));
  const uint32_t portCount = lilv_plugin_get_num_ports(plugin);
  controls.assign(portCount, 0.0f);
  for (uint32_t i = 0; i < portCount; ++i) {
    const LilvPort* port = lilv_plugin_get_port_by_index(plugin, i);
    const bool input = PortIs(plugin, port, world, LV2_CORE__InputPort);
    if (PortIs(plugin, port, world, LV2_CORE__ControlPort)) {
      LilvNode* defaultValue = nullptr;
      lilv_port_get_range(plugin, port, &defaultValue, nullptr, nullptr);
      if (defaultValue) {
        controls[i] = lilv_node_as_float(defaultValue);
        lilv_node_free(defaultValue);
      }
      lilv_instance_connect_port(instance, i, &controls[i]);
    } else if (PortIs(plugin, port, world, LV2_CORE__AudioPort)) {
      (input ? audioInputs : audioOutputs).push_back(i);
    } else if (PortIs(plugin, port, world, LV2_ATOM__AtomPort)) {
      if (input) {
        atomInputPorts.push_back(i);
        atomInputs.emplace_back();
        InputSequence& sequence = atomInputs.back();
        sequence.buffer.assign(EventBufferBytes / sizeof(uint64_t), 0);
        lv2_atom_forge_init(&sequence.forge, uris.MapFeature());
        lilv_instance_connect_port(instance, i, sequence.buffer.data());
        if (midiPort < 0 && PortSupports(plugin, port, world, LV2_MIDI__MidiEvent)) {
          midiPort = static_cast<int>(i);
        }
        if (timePort < 0 && PortSupports(plugin, port, world, LV2_TIME__Position)) {
          timePort = static_cast<int>(i);
        }
      } else {
        atomOutputPorts.push_back(i);
        atomOutputs.emplace_back(EventBufferBytes / sizeof(uint64_t), 0);
        lilv_instance_connect_port(instance, i, atomOutputs.back().data());
      }
    } else {
      // CV and unknown kinds: a buffer of their own, silent in, never read out.
      scratch.emplace_back(static_cast<size_t>(std::max(MaxFrames, maxBlockLength)), 0.0f);
      lilv_instance_connect_port(instance, i, scratch.back().data());
    }
  }
  Activate();
}

Lv2Instance::~Lv2Instance() {
  if (instance) {
    Deactivate();
    lilv_instance_free(instance);
  }
}

void Lv2Instance::Activate() {
  if (!active) {
    lilv_instance_activate(instance);
    active = true;
  }
}

void Lv2Instance::Deactivate() {
  if (active) {
    lilv_instance_deactivate(instance);
    active = false;
  }
}

InputSequence* Lv2Instance::SequenceOf(uint32_t port) {
  for (size_t i = 0; i < atomInputPorts.size(); ++i) {
    if (atomInputPorts[i] == port) {
      return &atomInputs[i];
    }
  }
  return nullptr;
}

void Lv2Instance::BeginInputSequence(InputSequence* sequence) {
  if (sequence->started) {
    return;
  }
  lv2_atom_forge_set_buffer(&sequence->forge, reinterpret_cast<uint8_t*>(sequence->buffer.data()),
                            EventBufferBytes);
  lv2_atom_forge_sequence_head(&sequence->forge, &sequence->frame, 0);
  sequence->started = true;
}

// The sequence as forged, or an empty one when nothing was added since the last run.
void Lv2Instance::EndInputSequence(InputSequence* sequence) {
  if (sequence->started) {
    lv2_atom_forge_pop(&sequence->forge, &sequence->frame);
    sequence->started = false;
    return;
  }
  auto* empty = reinterpret_cast<LV2_Atom_Sequence*>(sequence->buffer.data());
  empty->atom.size = sizeof(LV2_Atom_Sequence_Body);
  empty->atom.type = uris.Map(LV2_ATOM__Sequence);
  empty->body.unit = 0;
  empty->body.pad = 0;
}

LV2_Atom_Forge& Lv2Instance::EventAt(uint32_t port, int64_t frame) {
  InputSequence* sequence = SequenceOf(port);
  BeginInputSequence(sequence);
  lv2_atom_forge_frame_time(&sequence->forge, frame);
  return sequence->forge;
}

void Lv2Instance::AddMidi(int64_t frame, const uint8_t* bytes, uint32_t size) {
  if (midiPort < 0) {
    return;
  }
  LV2_Atom_Forge& forge = EventAt(static_cast<uint32_t>(midiPort), frame);
  lv2_atom_forge_atom(&forge, size, uris.Map(LV2_MIDI__MidiEvent));
  lv2_atom_forge_write(&forge, bytes, size);
}

void Lv2Instance::AddPosition(uint32_t port, int64_t frame, double bar, double barBeat,
                              double beatsPerBar, int beatUnit, double beatsPerMinute, double speed,
                              int64_t positionFrame) {
  LV2_Atom_Forge& forge = EventAt(port, frame);
  LV2_Atom_Forge_Frame object;
  lv2_atom_forge_object(&forge, &object, 0, uris.Map(LV2_TIME__Position));
  lv2_atom_forge_key(&forge, uris.Map(LV2_TIME__bar));
  lv2_atom_forge_long(&forge, static_cast<int64_t>(bar));
  lv2_atom_forge_key(&forge, uris.Map(LV2_TIME__barBeat));
  lv2_atom_forge_float(&forge, static_cast<float>(barBeat));
  lv2_atom_forge_key(&forge, uris.Map(LV2_TIME__beatsPerBar));
  lv2_atom_forge_float(&forge, static_cast<float>(beatsPerBar));
  lv2_atom_forge_key(&forge, uris.Map(LV2_TIME__beatUnit));
  lv2_atom_forge_int(&forge, beatUnit);
  lv2_atom_forge_key(&forge, uris.Map(LV2_TIME__beatsPerMinute));
  lv2_atom_forge_float(&forge, static_cast<float>(beatsPerMinute));
  lv2_atom_forge_key(&forge, uris.Map(LV2_TIME__speed));
  lv2_atom_forge_float(&forge, static_cast<float>(speed));
  lv2_atom_forge_key(&forge, uris.Map(LV2_TIME__frame));
  lv2_atom_forge_long(&forge, positionFrame);
  lv2_atom_forge_pop(&forge, &object);
}

void Lv2Instance::Run(const float* const* inputs, float* const* outputs, int frames) {
  for (size_t i = 0; i < audioInputs.size(); ++i) {
    lilv_instance_connect_port(instance, audioInputs[i], const_cast<float*>(inputs[i]));
  }
  for (size_t i = 0; i < audioOutputs.size(); ++i) {
    lilv_instance_connect_port(instance, audioOutputs[i], outputs[i]);
  }
  for (InputSequence& sequence : atomInputs) {
    EndInputSequence(&sequence);
  }
  // The output's size tells the plug-in the room it has.
  for (std::vector<uint64_t>& buffer : atomOutputs) {
    auto* out = reinterpret_cast<LV2_Atom*>(buffer.data());
    out->size = EventBufferBytes - sizeof(LV2_Atom);
    out->type = uris.Map(LV2_ATOM__Chunk);
  }
  lilv_instance_run(instance, static_cast<uint32_t>(frames));
  DeliverResponses();
  midiPassedOn += CountPassedMidi();
}

LV2_Worker_Status Lv2Instance::ScheduleWork(LV2_Worker_Schedule_Handle handle, uint32_t size,
                                            const void* data) {
  auto* self = static_cast<Lv2Instance*>(handle);
  if (!self->worker || !self->worker->work) {
    return LV2_WORKER_ERR_UNKNOWN;
  }
  return self->worker->work(lilv_instance_get_handle(self->instance), Respond, self, size, data);
}

LV2_Worker_Status Lv2Instance::Respond(LV2_Worker_Respond_Handle handle, uint32_t size,
                                       const void* data) {
  auto* self = static_cast<Lv2Instance*>(handle);
  // Kept lists are reused, so a steady run allocates nothing after its first responses.
  if (self->responseCount == self->responses.size()) {
    self->responses.emplace_back();
  }
  const auto* bytes = static_cast<const uint8_t*>(data);
  self->responses[self->responseCount++].assign(bytes, bytes + size);
  return LV2_WORKER_SUCCESS;
}

void Lv2Instance::DeliverResponses() {
  if (!worker) {
    return;
  }
  LV2_Handle handle = lilv_instance_get_handle(instance);
  // A response may schedule more work, whose responses follow in the same cycle.
  for (size_t i = 0; i < responseCount; ++i) {
    if (worker->work_response) {
      const std::vector<uint8_t> response = responses[i];
      worker->work_response(handle, static_cast<uint32_t>(response.size()), response.data());
    }
  }
  responseCount = 0;
  if (worker->end_run) {
    worker->end_run(handle);
  }
}

int Lv2Instance::CountPassedMidi() const {
  if (atomOutputs.empty()) {
    return 0;
  }
  const auto* sequence = reinterpret_cast<const LV2_Atom_Sequence*>(atomOutputs[0].data());
  if (sequence->atom.type != uris.Map(LV2_ATOM__Sequence)) {
    return 0;
  }
  const LV2_URID midiType = uris.Map(LV2_MIDI__MidiEvent);
  int count = 0;
  LV2_ATOM_SEQUENCE_FOREACH(sequence, event) {
    count += event->body.type == midiType ? 1 : 0;
  }
  return count;
}

std::vector<PassedEvent> Lv2Instance::PassedOn() const {
  std::vector<PassedEvent> passed;
  if (atomOutputs.empty()) {
    return passed;
  }
  const auto* sequence = reinterpret_cast<const LV2_Atom_Sequence*>(atomOutputs[0].data());
  if (sequence->atom.type != uris.Map(LV2_ATOM__Sequence)) {
    return passed;
  }
  LV2_ATOM_SEQUENCE_FOREACH(sequence, event) {
    PassedEvent copy;
    copy.frame = event->time.frames;
    if (event->body.type == uris.Map(LV2_MIDI__MidiEvent)) {
      const auto* bytes = static_cast<const uint8_t*>(LV2_ATOM_BODY_CONST(&event->body));
      copy.bytes.assign(bytes, bytes + event->body.size);
    }
    passed.push_back(copy);
  }
  return passed;
}
