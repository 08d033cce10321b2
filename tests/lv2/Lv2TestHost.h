#pragma once

#include <lilv/lilv.h>
#include <lv2/atom/forge.h>
#include <lv2/log/log.h>
#include <lv2/options/options.h>
#include <lv2/urid/urid.h>

#include <cstdarg>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class ILv2Plugin;

// URIDs as a host hands them out: the index in a list of URIs, from 1; any thread may ask.
class TestUridMap {
public:
  TestUridMap();
  LV2_URID Map(const char* uri);
  const char* Unmap(LV2_URID id) const;
  LV2_URID_Map* MapFeature() { return &map; }
  LV2_URID_Unmap* UnmapFeature() { return &unmap; }

private:
  mutable std::mutex lock;
  // A deque keeps every string in place, so unmapped texts stay valid.
  std::deque<std::string> uris;
  LV2_URID_Map map;
  LV2_URID_Unmap unmap;
};

// The messages the plug-in wrote through the host's log.
class TestLog {
public:
  TestLog();
  LV2_Log_Log* Feature() { return &log; }
  const std::vector<std::string>& Messages() const { return messages; }
  void Clear() { messages.clear(); }

private:
  static int Printf(LV2_Log_Handle handle, LV2_URID type, const char* format, ...);
  static int VPrintf(LV2_Log_Handle handle, LV2_URID type, const char* format, va_list args);
  std::vector<std::string> messages;
  LV2_Log_Log log;
};

// The lilv world holding the built bundle (and the installed vocabulary), made once per program.
class TestWorld {
public:
  static TestWorld& Get();
  LilvWorld* World() { return world; }
  const LilvPlugin* Plugin() { return plugin; }
  TestUridMap& Uris() { return uris; }
  const LilvPort* Port(const char* symbol) const;
  uint32_t PortIndex(const char* symbol) const;
  LilvNode* NewUri(const char* uri) { return lilv_new_uri(world, uri); }

private:
  TestWorld();
  LilvWorld* world = nullptr;
  const LilvPlugin* plugin = nullptr;
  TestUridMap uris;
};

// One MIDI event the plug-in passed on.
struct PassedEvent {
  int64_t frame = 0;
  std::vector<uint8_t> bytes;
};

// An atom sequence input, filled for the next run only.
struct TestInputSequence {
  // 64-bit aligned, as atoms need.
  std::vector<uint64_t> buffer;
  LV2_Atom_Forge forge;
  LV2_Atom_Forge_Frame frame;
  bool started = false;
};

// One instance of the bundle's plug-in with every port connected to buffers of its own.
class TestInstance {
public:
  static constexpr int MaxFrames = 8192;

  // maxBlockLength 0 offers no options feature; withLog false offers no log.
  explicit TestInstance(int maxBlockLength = 512, bool withLog = true, double rate = 48000.0);
  ~TestInstance();
  TestInstance(const TestInstance&) = delete;
  TestInstance& operator=(const TestInstance&) = delete;

  LilvInstance* Lilv() { return instance; }
  // The plug-in object itself, as a host with instance access reaches it.
  ILv2Plugin* Plugin();
  TestLog& Log() { return log; }
  const LV2_Feature* const* Features() const { return features.data(); }

  void SetControl(const char* symbol, float value);
  float Control(const char* symbol) const;
  // The control output reporting the parameter whose input has this symbol.
  float Reported(const char* symbol) const;

  // Events for the next run only.
  void AddMidi(int64_t frame, std::vector<uint8_t> bytes);
  void AddPosition(int64_t frame, double bar, double barBeat, double beatsPerBar, int beatUnit,
                   double beatsPerMinute, double speed, int64_t positionFrame);
  // A position as Ardour 7 sends it on the transport input of a plug-in on an audio track: its
  // keys in its order and types, its own time-scale key among them, at the run's first frame.
  void AddArdourPosition(int64_t positionFrame, float speed, int64_t bar, float barBeat,
                         int32_t beatUnit, float beatsPerBar, float beatsPerMinute);

  // Both channels get input; the result is channel 0 and 1 of the outputs.
  void Run(const std::vector<float>& left, const std::vector<float>& right);
  void RunSilence(int frames);
  // Processing in place: the outputs are the input buffers.
  void RunInPlace(std::vector<float>* left, std::vector<float>* right);
  const std::vector<float>& Out(int channel) const { return outputs[channel]; }
  std::vector<PassedEvent> PassedOn() const;

private:
  void ConnectAudio(float* in0, float* in1, float* out0, float* out1);
  void BeginInputSequence(TestInputSequence* sequence);
  void EndInputSequence(TestInputSequence* sequence);
  void RunFrames(int frames);

  TestWorld& host;
  TestLog log;
  int32_t blockLength = 0;
  int32_t sequenceCapacity = 0;
  std::vector<LV2_Options_Option> options;
  LV2_Feature mapFeature;
  LV2_Feature unmapFeature;
  LV2_Feature logFeature;
  LV2_Feature optionsFeature;
  std::vector<const LV2_Feature*> features;
  LilvInstance* instance = nullptr;
  std::vector<float> controls;
  std::vector<float> inputs[2];
  std::vector<float> outputs[2];
  TestInputSequence eventsIn;
  TestInputSequence transportIn;
  std::vector<uint64_t> eventsOut;
};
