#pragma once

#include "fuzz/FuzzCheck.h"

#include <lv2/atom/forge.h>
#include <lv2/core/lv2.h>
#include <lv2/options/options.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// A host for one LV2 instance made in-process through the module's lv2_descriptor and reached
// only through the descriptor and its state interface, as a real host reaches it. It owns the
// URID map, every port's buffer and the events-in sequence the caller fills before a run.
class Lv2FuzzHost {
public:
  // The longest run it announces (and never exceeds).
  static constexpr int MaxRunFrames = 2048;
  static constexpr uint32_t EventCapacity = 1 << 16;

  explicit Lv2FuzzHost(double sampleRate = 44100.0);
  ~Lv2FuzzHost();
  Lv2FuzzHost(const Lv2FuzzHost&) = delete;
  Lv2FuzzHost& operator=(const Lv2FuzzHost&) = delete;

  // One stored property of a state, the bytes as the plug-in handed them over.
  struct Property {
    std::vector<uint8_t> value;
    uint32_t type = 0;
    uint32_t flags = 0;
  };
  using State = std::map<LV2_URID, Property>;

  LV2_URID Map(const char* uri);
  LV2_Handle Instance() const { return instance; }

  // Events for the next run, in the order given; false once the sequence is full.
  bool AddMidi(int64_t frame, const uint8_t* bytes, uint32_t size);
  // A time:Position with the fields set; a field is one of the four numeric atoms, taking real
  // when of a floating type and integer otherwise.
  struct PositionField {
    LV2_URID key = 0;
    LV2_URID type = 0;
    double real = 0.0;
    int64_t integer = 0;
  };
  bool AddPosition(int64_t frame, const std::vector<PositionField>& fields);
  // Runs frames of a fixed signal (a ramp over -1.5..1.5 on the left, its negation on the right)
  // with the events added since the last run, then empties the event sequence.
  void Run(int frames);

  // Every control input back to the value the plug-in reported before its first run.
  void ControlsToDefaults();
  void Deactivate();
  void Activate();
  State Save();
  LV2_State_Status Restore(const State& state);

  int ParameterCount() const { return parameters; }
  std::vector<float> controlIn;
  std::vector<float> controlOut;
  std::vector<float> defaults;
  std::vector<std::vector<float>> audioOut;
  // The MIDI passed back by the last run, checked to be well-formed and in order.
  struct PassedMidi {
    int64_t frame;
    std::vector<uint8_t> bytes;
  };
  std::vector<PassedMidi> passedBack;
  int lastRunFrames = 0;

private:
  static LV2_URID MapUri(LV2_URID_Map_Handle handle, const char* uri);
  void ReadPassedBack();
  void StartSequence();

  std::map<std::string, LV2_URID> uridTable;
  LV2_URID_Map uridMap = {this, MapUri};
  int32_t maxBlock = MaxRunFrames;
  std::vector<LV2_Options_Option> options;
  LV2_Feature mapFeature = {LV2_URID__map, &uridMap};
  LV2_Feature optionsFeature = {LV2_OPTIONS__options, nullptr};
  const LV2_Feature* features[3] = {&mapFeature, &optionsFeature, nullptr};

  const LV2_Descriptor* descriptor = nullptr;
  const LV2_State_Interface* stateInterface = nullptr;
  LV2_Handle instance = nullptr;
  bool active = false;
  int parameters = 0;

  std::vector<std::vector<float>> audioIn;
  // 64-bit words: atoms are 8-byte aligned.
  std::vector<uint64_t> eventsIn;
  std::vector<uint64_t> eventsOut;
  std::vector<uint64_t> transportIn;
  LV2_Atom_Forge forge = {};
  LV2_Atom_Forge_Frame sequenceFrame = {};
  LV2_URID midiEvent = 0;
  LV2_URID atomSequence = 0;
  LV2_URID atomChunk = 0;
  LV2_URID timePosition = 0;
};
