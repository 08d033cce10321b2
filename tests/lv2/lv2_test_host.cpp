#include "tests/lv2/Lv2TestHost.h"

#include "lv2/ILv2Plugin.h"

#include <lv2/atom/util.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/midi/midi.h>
#include <lv2/time/time.h>

#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace {
constexpr uint32_t EventBufferBytes = 16384;
} // namespace

TestUridMap::TestUridMap() {
  map.handle = this;
  map.map = [](LV2_URID_Map_Handle handle, const char* uri) {
    return static_cast<TestUridMap*>(handle)->Map(uri);
  };
  unmap.handle = this;
  unmap.unmap = [](LV2_URID_Unmap_Handle handle, LV2_URID id) {
    return static_cast<TestUridMap*>(handle)->Unmap(id);
  };
}

LV2_URID TestUridMap::Map(const char* uri) {
  std::lock_guard<std::mutex> guard(lock);
  for (size_t i = 0; i < uris.size(); ++i) {
    if (uris[i] == uri) {
      return static_cast<LV2_URID>(i + 1);
    }
  }
  uris.push_back(uri);
  return static_cast<LV2_URID>(uris.size());
}

const char* TestUridMap::Unmap(LV2_URID id) const {
  std::lock_guard<std::mutex> guard(lock);
  return id >= 1 && id <= uris.size() ? uris[id - 1].c_str() : nullptr;
}

TestLog::TestLog() {
  log.handle = this;
  log.printf = Printf;
  log.vprintf = VPrintf;
}

int TestLog::Printf(LV2_Log_Handle handle, LV2_URID type, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int written = VPrintf(handle, type, format, args);
  va_end(args);
  return written;
}

int TestLog::VPrintf(LV2_Log_Handle handle, LV2_URID, const char* format, va_list args) {
  char text[1024];
  const int written = std::vsnprintf(text, sizeof(text), format, args);
  static_cast<TestLog*>(handle)->messages.push_back(text);
  return written;
}

TestWorld& TestWorld::Get() {
  static TestWorld world;
  return world;
}

TestWorld::TestWorld() {
  // Held open for the whole program, as a host keeps a library it uses: lilv unloads it with
  // each instance otherwise, and every new instance decodes the editor's pictures again.
  dlopen(OMBRIX_LV2_BUNDLE "/ombrix_lv2.so", RTLD_NOW | RTLD_LOCAL);
  world = lilv_world_new();
  // LV2's core vocabulary (for the plug-in classes), then the built bundle; no other
  // installed plug-in.
  for (const char* path : {OMBRIX_LV2_CORE_BUNDLE "/", OMBRIX_LV2_BUNDLE "/"}) {
    LilvNode* bundle = lilv_new_file_uri(world, nullptr, path);
    lilv_world_load_bundle(world, bundle);
    lilv_node_free(bundle);
  }
  lilv_world_load_specifications(world);
  lilv_world_load_plugin_classes(world);
  LilvNode* uri = lilv_new_uri(world, OMBRIX_LV2_URI);
  plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world), uri);
  lilv_node_free(uri);
  if (!plugin) {
    throw std::runtime_error("the bundle's plug-in is not in the lilv world");
  }
}

const LilvPort* TestWorld::Port(const char* symbol) const {
  LilvNode* name = lilv_new_string(world, symbol);
  const LilvPort* port = lilv_plugin_get_port_by_symbol(plugin, name);
  lilv_node_free(name);
  if (!port) {
    throw std::runtime_error(std::string("no port ") + symbol);
  }
  return port;
}

uint32_t TestWorld::PortIndex(const char* symbol) const {
  return lilv_port_get_index(plugin, Port(symbol));
}

TestInstance::TestInstance(int maxBlockLength, bool withLog, double rate)
    : host(TestWorld::Get()), blockLength(maxBlockLength) {
  TestUridMap& uris = host.Uris();
  sequenceCapacity = static_cast<int32_t>(EventBufferBytes);
  mapFeature = {LV2_URID__map, uris.MapFeature()};
  unmapFeature = {LV2_URID__unmap, uris.UnmapFeature()};
  logFeature = {LV2_LOG__log, log.Feature()};
  features = {&mapFeature, &unmapFeature};
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
  }
  features.push_back(nullptr);

  instance = lilv_plugin_instantiate(host.Plugin(), rate, features.data());
  if (!instance) {
    throw std::runtime_error("the plug-in did not instantiate");
  }
  const uint32_t portCount = lilv_plugin_get_num_ports(host.Plugin());
  controls.assign(portCount, 0.0f);
  for (uint32_t i = 0; i < portCount; ++i) {
    const LilvPort* port = lilv_plugin_get_port_by_index(host.Plugin(), i);
    LilvNode* defaultValue = nullptr;
    lilv_port_get_range(host.Plugin(), port, &defaultValue, nullptr, nullptr);
    if (defaultValue) {
      controls[i] = lilv_node_as_float(defaultValue);
      lilv_node_free(defaultValue);
    }
    lilv_instance_connect_port(instance, i, &controls[i]);
  }
  for (auto& channel : inputs) {
    channel.assign(MaxFrames, 0.0f);
  }
  for (auto& channel : outputs) {
    channel.assign(MaxFrames, 0.0f);
  }
  for (TestInputSequence* sequence : {&eventsIn, &transportIn}) {
    sequence->buffer.assign(EventBufferBytes / sizeof(uint64_t), 0);
    lv2_atom_forge_init(&sequence->forge, uris.MapFeature());
  }
  eventsOut.assign(EventBufferBytes / sizeof(uint64_t), 0);
  lilv_instance_connect_port(instance, host.PortIndex("events_in"), eventsIn.buffer.data());
  lilv_instance_connect_port(instance, host.PortIndex("transport_in"), transportIn.buffer.data());
  lilv_instance_connect_port(instance, host.PortIndex("events_out"), eventsOut.data());
  lilv_instance_activate(instance);
}

TestInstance::~TestInstance() {
  lilv_instance_deactivate(instance);
  lilv_instance_free(instance);
}

ILv2Plugin* TestInstance::Plugin() {
  return static_cast<ILv2Plugin*>(lilv_instance_get_handle(instance));
}

void TestInstance::SetControl(const char* symbol, float value) {
  controls[host.PortIndex(symbol)] = value;
}

float TestInstance::Control(const char* symbol) const {
  return controls[host.PortIndex(symbol)];
}

float TestInstance::Reported(const char* symbol) const {
  return controls[host.PortIndex((std::string(symbol) + "_out").c_str())];
}

void TestInstance::BeginInputSequence(TestInputSequence* sequence) {
  if (sequence->started) {
    return;
  }
  lv2_atom_forge_set_buffer(&sequence->forge, reinterpret_cast<uint8_t*>(sequence->buffer.data()),
                            EventBufferBytes);
  lv2_atom_forge_sequence_head(&sequence->forge, &sequence->frame, 0);
  sequence->started = true;
}

// The sequence as forged, or an empty one when nothing was added since the last run.
void TestInstance::EndInputSequence(TestInputSequence* sequence) {
  if (sequence->started) {
    lv2_atom_forge_pop(&sequence->forge, &sequence->frame);
    sequence->started = false;
    return;
  }
  auto* empty = reinterpret_cast<LV2_Atom_Sequence*>(sequence->buffer.data());
  empty->atom.size = sizeof(LV2_Atom_Sequence_Body);
  empty->atom.type = host.Uris().Map(LV2_ATOM__Sequence);
  empty->body.unit = 0;
  empty->body.pad = 0;
}

void TestInstance::AddMidi(int64_t frame, std::vector<uint8_t> bytes) {
  BeginInputSequence(&eventsIn);
  LV2_Atom_Forge& forge = eventsIn.forge;
  lv2_atom_forge_frame_time(&forge, frame);
  lv2_atom_forge_atom(&forge, static_cast<uint32_t>(bytes.size()),
                      host.Uris().Map(LV2_MIDI__MidiEvent));
  lv2_atom_forge_write(&forge, bytes.data(), static_cast<uint32_t>(bytes.size()));
}

void TestInstance::AddPosition(int64_t frame, double bar, double barBeat, double beatsPerBar,
                               int beatUnit, double beatsPerMinute, double speed,
                               int64_t positionFrame) {
  BeginInputSequence(&eventsIn);
  LV2_Atom_Forge& forge = eventsIn.forge;
  TestUridMap& uris = host.Uris();
  lv2_atom_forge_frame_time(&forge, frame);
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

void TestInstance::AddArdourPosition(int64_t positionFrame, float speed, int64_t bar, float barBeat,
                                     int32_t beatUnit, float beatsPerBar, float beatsPerMinute) {
  BeginInputSequence(&transportIn);
  LV2_Atom_Forge& forge = transportIn.forge;
  TestUridMap& uris = host.Uris();
  lv2_atom_forge_frame_time(&forge, 0);
  LV2_Atom_Forge_Frame object;
  lv2_atom_forge_object(&forge, &object, 0, uris.Map(LV2_TIME__Position));
  lv2_atom_forge_key(&forge, uris.Map(LV2_TIME__frame));
  lv2_atom_forge_long(&forge, positionFrame);
  lv2_atom_forge_key(&forge, uris.Map(LV2_TIME__speed));
  lv2_atom_forge_float(&forge, speed);
  lv2_atom_forge_key(&forge, uris.Map(LV2_TIME__barBeat));
  lv2_atom_forge_float(&forge, barBeat);
  lv2_atom_forge_key(&forge, uris.Map(LV2_TIME__bar));
  lv2_atom_forge_long(&forge, bar);
  lv2_atom_forge_key(&forge, uris.Map(LV2_TIME__beatUnit));
  lv2_atom_forge_int(&forge, beatUnit);
  lv2_atom_forge_key(&forge, uris.Map(LV2_TIME__beatsPerBar));
  lv2_atom_forge_float(&forge, beatsPerBar);
  lv2_atom_forge_key(&forge, uris.Map(LV2_TIME__beatsPerMinute));
  lv2_atom_forge_float(&forge, beatsPerMinute);
  // Ardour's own key, 1 at the session's rate even while stopped.
  lv2_atom_forge_key(&forge, uris.Map("http://ardour.org/lv2/time#scale"));
  lv2_atom_forge_float(&forge, 1.0f);
  lv2_atom_forge_pop(&forge, &object);
}

void TestInstance::ConnectAudio(float* in0, float* in1, float* out0, float* out1) {
  lilv_instance_connect_port(instance, host.PortIndex("in_1"), in0);
  lilv_instance_connect_port(instance, host.PortIndex("in_2"), in1);
  lilv_instance_connect_port(instance, host.PortIndex("out_1"), out0);
  lilv_instance_connect_port(instance, host.PortIndex("out_2"), out1);
}

void TestInstance::RunFrames(int frames) {
  EndInputSequence(&eventsIn);
  EndInputSequence(&transportIn);
  // The output's size tells the plug-in the room it has.
  auto* out = reinterpret_cast<LV2_Atom*>(eventsOut.data());
  out->size = EventBufferBytes - sizeof(LV2_Atom);
  out->type = host.Uris().Map(LV2_ATOM__Chunk);
  lilv_instance_run(instance, static_cast<uint32_t>(frames));
}

void TestInstance::Run(const std::vector<float>& left, const std::vector<float>& right) {
  const size_t frames = left.size();
  std::copy(left.begin(), left.end(), inputs[0].begin());
  std::copy(right.begin(), right.end(), inputs[1].begin());
  ConnectAudio(inputs[0].data(), inputs[1].data(), outputs[0].data(), outputs[1].data());
  RunFrames(static_cast<int>(frames));
}

void TestInstance::RunSilence(int frames) {
  Run(std::vector<float>(static_cast<size_t>(frames), 0.0f),
      std::vector<float>(static_cast<size_t>(frames), 0.0f));
}

void TestInstance::RunInPlace(std::vector<float>* left, std::vector<float>* right) {
  ConnectAudio(left->data(), right->data(), left->data(), right->data());
  RunFrames(static_cast<int>(left->size()));
}

std::vector<PassedEvent> TestInstance::PassedOn() const {
  std::vector<PassedEvent> passed;
  const auto* sequence = reinterpret_cast<const LV2_Atom_Sequence*>(eventsOut.data());
  if (sequence->atom.type != host.Uris().Map(LV2_ATOM__Sequence)) {
    return passed;
  }
  LV2_ATOM_SEQUENCE_FOREACH(sequence, event) {
    PassedEvent copy;
    copy.frame = event->time.frames;
    if (event->body.type == host.Uris().Map(LV2_MIDI__MidiEvent)) {
      const auto* bytes = static_cast<const uint8_t*>(LV2_ATOM_BODY_CONST(&event->body));
      copy.bytes.assign(bytes, bytes + event->body.size);
    }
    passed.push_back(copy);
  }
  return passed;
}
