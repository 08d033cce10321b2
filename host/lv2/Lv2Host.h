#pragma once

#include <lilv/lilv.h>
#include <lv2/atom/forge.h>
#include <lv2/log/log.h>
#include <lv2/options/options.h>
#include <lv2/urid/urid.h>
#include <lv2/worker/worker.h>

#include <cstdarg>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// URIDs as a host hands them out: the index in a list of URIs, from 1; any thread may ask.
class UridMap {
public:
  UridMap();
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
class Lv2Log {
public:
  Lv2Log();
  LV2_Log_Log* Feature() { return &log; }
  const std::vector<std::string>& Messages() const { return messages; }
  void Clear() { messages.clear(); }

private:
  static int Printf(LV2_Log_Handle handle, LV2_URID type, const char* format, ...);
  static int VPrintf(LV2_Log_Handle handle, LV2_URID type, const char* format, va_list args);
  std::vector<std::string> messages;
  LV2_Log_Log log;
};

// One MIDI event the plug-in passed on.
struct PassedEvent {
  int64_t frame = 0;
  std::vector<uint8_t> bytes;
};

// An atom sequence input, filled for the next run only.
struct InputSequence {
  // 64-bit aligned, as atoms need.
  std::vector<uint64_t> buffer;
  LV2_Atom_Forge forge;
  LV2_Atom_Forge_Frame frame;
  bool started = false;
};

// One instance of a plug-in with every port connected: controls to values of its own, audio to
// the caller's buffers at each run, atom inputs to sequences filled for the next run only,
// atom outputs to buffers read after it, anything else to silence.
class Lv2Instance {
public:
  static constexpr int MaxFrames = 8192;

  // maxBlockLength 0 offers no options feature; withLog false offers no log. Instantiated() is
  // false when the plug-in refuses.
  Lv2Instance(LilvWorld* world, const LilvPlugin* plugin, UridMap& uris, int maxBlockLength,
              bool withLog, double rate);
  ~Lv2Instance();
  Lv2Instance(const Lv2Instance&) = delete;
  Lv2Instance& operator=(const Lv2Instance&) = delete;

  bool Instantiated() const { return instance != nullptr; }
  LilvInstance* Lilv() { return instance; }
  const LilvPlugin* Plugin() const { return plugin; }
  Lv2Log& Log() { return log; }
  const LV2_Feature* const* Features() const { return features.data(); }
  UridMap& Uris() { return uris; }

  const std::vector<uint32_t>& AudioInputs() const { return audioInputs; }
  const std::vector<uint32_t>& AudioOutputs() const { return audioOutputs; }
  // The first atom input that takes MIDI, and the first that takes positions (-1 when none).
  int MidiPort() const { return midiPort; }
  int TimePort() const { return timePort; }

  void SetControl(uint32_t port, float value) { controls[port] = value; }
  float Control(uint32_t port) const { return controls[port]; }
  // Every port's control value, by port index (0 for ports that are no controls).
  const std::vector<float>& Controls() const { return controls; }

  // Events for the next run only, in frame order per port.
  void AddMidi(int64_t frame, const uint8_t* bytes, uint32_t size);
  void AddPosition(uint32_t port, int64_t frame, double bar, double barBeat, double beatsPerBar,
                   int beatUnit, double beatsPerMinute, double speed, int64_t positionFrame);
  // The forge of an atom input's sequence, its event time set to frame.
  LV2_Atom_Forge& EventAt(uint32_t port, int64_t frame);

  // One run over the caller's channels, as many as the plug-in has audio ports each way; in
  // and out may be the same buffers.
  void Run(const float* const* inputs, float* const* outputs, int frames);
  // The MIDI passed on through the first atom output, and the count of it over every run.
  std::vector<PassedEvent> PassedOn() const;
  int MidiPassedOn() const { return midiPassedOn; }

  void Activate();
  void Deactivate();

private:
  // Offline, as LV2 allows: work runs the moment run() schedules it, its responses go back to
  // the plug-in right after run() returns.
  static LV2_Worker_Status ScheduleWork(LV2_Worker_Schedule_Handle handle, uint32_t size,
                                        const void* data);
  static LV2_Worker_Status Respond(LV2_Worker_Respond_Handle handle, uint32_t size,
                                   const void* data);
  void DeliverResponses();
  InputSequence* SequenceOf(uint32_t port);
  void BeginInputSequence(InputSequence* sequence);
  void EndInputSequence(InputSequence* sequence);
  int CountPassedMidi() const;

  const LilvPlugin* plugin;
  UridMap& uris;
  Lv2Log log;
  int32_t blockLength = 0;
  int32_t sequenceCapacity = 0;
  std::vector<LV2_Options_Option> options;
  LV2_Feature mapFeature;
  LV2_Feature unmapFeature;
  LV2_Feature logFeature;
  LV2_Feature optionsFeature;
  LV2_Feature boundedFeature;
  LV2_Feature workerFeature;
  LV2_Worker_Schedule schedule;
  const LV2_Worker_Interface* worker = nullptr;
  std::vector<std::vector<uint8_t>> responses;
  size_t responseCount = 0;
  std::vector<const LV2_Feature*> features;
  LilvInstance* instance = nullptr;
  bool active = false;
  std::vector<float> controls;
  std::vector<uint32_t> audioInputs;
  std::vector<uint32_t> audioOutputs;
  std::vector<uint32_t> atomInputPorts;
  std::deque<InputSequence> atomInputs;
  std::vector<std::vector<uint64_t>> atomOutputs;
  std::vector<uint32_t> atomOutputPorts;
  std::deque<std::vector<float>> scratch;
  int midiPort = -1;
  int timePort = -1;
  int midiPassedOn = 0;
};
