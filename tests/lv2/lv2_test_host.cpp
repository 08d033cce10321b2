#include "tests/lv2/Lv2TestHost.h"

#include "lv2/ILv2Plugin.h"

#include <lv2/time/time.h>

#include <dlfcn.h>

#include <stdexcept>

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
    : Lv2Instance(TestWorld::Get().World(), TestWorld::Get().Plugin(), TestWorld::Get().Uris(),
                  maxBlockLength, withLog, rate),
      host(TestWorld::Get()) {
  if (!Instantiated()) {
    throw std::runtime_error("the plug-in did not instantiate");
  }
  for (auto& channel : inputs) {
    channel.assign(MaxFrames, 0.0f);
  }
  for (auto& channel : outputs) {
    channel.assign(MaxFrames, 0.0f);
  }
}

ILv2Plugin* TestInstance::Plugin() {
  return static_cast<ILv2Plugin*>(lilv_instance_get_handle(Lilv()));
}

void TestInstance::SetControl(const char* symbol, float value) {
  Lv2Instance::SetControl(host.PortIndex(symbol), value);
}

float TestInstance::Control(const char* symbol) const {
  return Lv2Instance::Control(host.PortIndex(symbol));
}

float TestInstance::Reported(const char* symbol) const {
  return Lv2Instance::Control(host.PortIndex((std::string(symbol) + "_out").c_str()));
}

void TestInstance::AddMidi(int64_t frame, std::vector<uint8_t> bytes) {
  Lv2Instance::AddMidi(frame, bytes.data(), static_cast<uint32_t>(bytes.size()));
}

void TestInstance::AddPosition(int64_t frame, double bar, double barBeat, double beatsPerBar,
                               int beatUnit, double beatsPerMinute, double speed,
                               int64_t positionFrame) {
  Lv2Instance::AddPosition(host.PortIndex("events_in"), frame, bar, barBeat, beatsPerBar, beatUnit,
                           beatsPerMinute, speed, positionFrame);
}

void TestInstance::AddArdourPosition(int64_t positionFrame, float speed, int64_t bar, float barBeat,
                                     int32_t beatUnit, float beatsPerBar, float beatsPerMinute) {
  LV2_Atom_Forge& forge = EventAt(host.PortIndex("transport_in"), 0);
  UridMap& uris = Uris();
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

void TestInstance::Run(const std::vector<float>& left, const std::vector<float>& right) {
  std::copy(left.begin(), left.end(), inputs[0].begin());
  std::copy(right.begin(), right.end(), inputs[1].begin());
  const float* in[2] = {inputs[0].data(), inputs[1].data()};
  float* out[2] = {outputs[0].data(), outputs[1].data()};
  Lv2Instance::Run(in, out, static_cast<int>(left.size()));
}

void TestInstance::RunSilence(int frames) {
  Run(std::vector<float>(static_cast<size_t>(frames), 0.0f),
      std::vector<float>(static_cast<size_t>(frames), 0.0f));
}

void TestInstance::RunInPlace(std::vector<float>* left, std::vector<float>* right) {
  const float* in[2] = {left->data(), right->data()};
  float* out[2] = {left->data(), right->data()};
  Lv2Instance::Run(in, out, static_cast<int>(left->size()));
}
