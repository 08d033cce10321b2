#pragma once

#include "host/lv2/Lv2Host.h"

#include <string>
#include <vector>

class ILv2Plugin;

// The lilv world holding the built bundle (and the installed vocabulary), made once per program.
class TestWorld {
public:
  static TestWorld& Get();
  LilvWorld* World() { return world; }
  const LilvPlugin* Plugin() { return plugin; }
  UridMap& Uris() { return uris; }
  const LilvPort* Port(const char* symbol) const;
  uint32_t PortIndex(const char* symbol) const;
  LilvNode* NewUri(const char* uri) { return lilv_new_uri(world, uri); }

private:
  TestWorld();
  LilvWorld* world = nullptr;
  const LilvPlugin* plugin = nullptr;
  UridMap uris;
};

// The project's LV2 host on the bundle's plug-in, with its ports named by symbol and its stereo
// buffers kept by the test.
class TestInstance : public Lv2Instance {
public:
  // maxBlockLength 0 offers no options feature; withLog false offers no log.
  explicit TestInstance(int maxBlockLength = 512, bool withLog = true, double rate = 48000.0);

  // The plug-in object itself, as a host with instance access reaches it.
  ILv2Plugin* Plugin();

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

private:
  TestWorld& host;
  std::vector<float> inputs[2];
  std::vector<float> outputs[2];
};
