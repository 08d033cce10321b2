#pragma once

#include "clap/ClapAbi.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class LoadedLibrary;

// A CLAP file loaded and its entry initialised, as a host loads a plug-in library.
class ClapModule {
public:
  // Null with the reason in error when the file does not load or has no working entry.
  static std::unique_ptr<ClapModule> Open(const std::string& path, std::string* error);
  ~ClapModule();
  ClapModule(const ClapModule&) = delete;
  ClapModule& operator=(const ClapModule&) = delete;

  const clap_plugin_entry* Entry() const { return entry; }
  template <typename Factory> const Factory* FactoryOf(const char* id) const {
    return static_cast<const Factory*>(entry->get_factory(id));
  }

private:
  ClapModule() = default;
  std::unique_ptr<LoadedLibrary> library;
  const clap_plugin_entry* entry = nullptr;
};

// One event the plug-in pushed, in a form tests compare.
struct ClapOutEvent {
  uint16_t type = 0;
  uint32_t time = 0;
  uint32_t flags = 0;
  clap_id paramId = Clap::InvalidId;
  double value = 0.0;
  std::vector<uint8_t> bytes;
};

// The project's CLAP host: one instance of a plug-in made through the factory and initialised,
// with the host extensions a DAW offers (log, parameters, timers, descriptors, preset load).
// Process and Flush take the events queued before them; the plug-in's output events are kept
// until taken.
class ClapHost {
public:
  // The plug-in with this id, or the factory's first when none is given.
  explicit ClapHost(const clap_plugin_factory* factory, const char* pluginId = nullptr);
  ~ClapHost();
  ClapHost(const ClapHost&) = delete;
  ClapHost& operator=(const ClapHost&) = delete;

  // Null when the plug-in could not be made and initialised.
  const clap_plugin* Plugin() const { return plugin; }
  // Activates the plug-in and starts processing; false (and inactive) when it refuses.
  bool Activate(double sampleRate, uint32_t maxFrames);
  void Deactivate();
  bool Active() const { return active; }
  // The channels of the main audio ports (0 without one).
  uint32_t InputChannels() const { return inputChannels; }
  uint32_t OutputChannels() const { return outputChannels; }
  template <typename Extension> const Extension* PluginExtension(const char* id) const {
    return static_cast<const Extension*>(plugin->get_extension(plugin, id));
  }

  // Input events for the next call, to be given in time order.
  void QueueParamValue(uint32_t time, clap_id id, double value);
  void QueueMidi(uint32_t time, uint8_t status, uint8_t data1, uint8_t data2);
  void QueueSysex(uint32_t time, std::vector<uint8_t> bytes);
  // Any bytes as an event record (at most an event slot's room), whatever its header claims.
  void QueueRaw(const void* bytes, size_t size);
  // The transport of the next calls' first frame: playing at this tempo from this beat.
  void Play(double beat, double tempo);
  // A free-running host again: no transport from the next call on.
  void NoTransport() { playing = false; }
  // One process call over these channels (single or double precision); in and out may alias.
  int32_t Process(float* const* in, float* const* out, uint32_t frames);
  int32_t Process(double* const* in, double* const* out, uint32_t frames);
  void Flush();
  std::vector<ClapOutEvent> TakeOutput();
  // Output events are kept only while this is on (keeping them allocates).
  void KeepOutput(bool keep) { keepOutput = keep; }
  // MIDI events the plug-in pushed, kept or not.
  int MidiPassedBack() const { return midiPassedBack; }

  // The state through streams that move at most chunk bytes a call, as some hosts do.
  std::vector<uint8_t> SaveState(size_t chunk);
  bool LoadState(const std::vector<uint8_t>& bytes, size_t chunk);

  // The editor in the host's X11 window (or HWND), driven by the host's timer and descriptor.
  bool OpenEditor(uintptr_t parentWindow);
  void IdleEditor();
  void CloseEditor();
  size_t TimersRegistered() const { return timers.size(); }
  size_t DescriptorsRegistered() const { return descriptors.size(); }

  // What the plug-in asked of the host.
  int rescans = 0;
  int flushRequests = 0;
  std::vector<std::string> presetsLoaded;
  std::vector<std::string> logLines;

private:
  int32_t RunProcess(clap_audio_buffer* in, clap_audio_buffer* out, uint32_t frames);
  static const void* CLAP_ABI HostExtension(const clap_host* host, const char* id);
  static ClapHost& From(const clap_host* host);
  static bool CLAP_ABI Push(const clap_output_events* list, const clap_event_header* header);

  clap_host host = {};
  const clap_plugin* plugin = nullptr;
  // Room for any event record; the lists are reserved once, so a call allocates nothing.
  struct EventSlot {
    alignas(8) uint8_t bytes[128];
  };
  template <typename Event> void Queue(const Event& event);
  std::mutex eventLock;
  std::vector<EventSlot> queued;
  std::vector<EventSlot> taking;
  std::vector<std::vector<uint8_t>> sysexBytes;
  std::vector<std::vector<uint8_t>> takingSysex;
  bool playing = false;
  clap_event_transport transport = {};
  bool keepOutput = true;
  int midiPassedBack = 0;
  std::vector<ClapOutEvent> output;
  std::vector<clap_id> timers;
  std::vector<int> descriptors;
  clap_id nextTimer = 1;
  bool guiCreated = false;
  bool active = false;
  uint32_t inputChannels = 0;
  uint32_t outputChannels = 0;
  int64_t steadyTime = 0;
  double rate = 0.0;
};
