#pragma once

#include "clap/ClapAbi.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

// The built Ombrix.clap, loaded by file and initialised once for the whole test program, as a host
// loads a plug-in library.
class ClapModule {
public:
  explicit ClapModule(const char* path);
  ~ClapModule();
  ClapModule(const ClapModule&) = delete;
  ClapModule& operator=(const ClapModule&) = delete;

  // The exported entry record after a successful init, or null.
  const clap_plugin_entry* Entry() const { return initialised ? entry : nullptr; }
  template <typename Factory> const Factory* FactoryOf(const char* id) const {
    return Entry() ? static_cast<const Factory*>(entry->get_factory(id)) : nullptr;
  }

private:
  void* handle = nullptr;
  const clap_plugin_entry* entry = nullptr;
  bool initialised = false;
};

// The module this build made (clap_module_posix.cpp, clap_module_win.cpp), and its plug-in
// factory.
ClapModule& BuiltClapModule();
const clap_plugin_factory* BuiltClapFactory();

// One event the plug-in pushed, in a form tests compare.
struct ClapOutEvent {
  uint16_t type = 0;
  uint32_t time = 0;
  uint32_t flags = 0;
  clap_id paramId = Clap::InvalidId;
  double value = 0.0;
  std::vector<uint8_t> bytes;
};

// A small CLAP host of this project: one instance of the plug-in made through the factory,
// initialised and activated, with the host extensions a DAW offers (log, parameters, timers,
// descriptors, preset load). Process and Flush take the events queued before them; the plug-in's
// output events are kept until taken. The factory is the built module's unless a program that
// holds the plug-in itself gives its own.
class ClapTestHost {
public:
  ClapTestHost(double sampleRate, uint32_t maxFrames,
               const clap_plugin_factory* factory = BuiltClapFactory());
  ~ClapTestHost();
  ClapTestHost(const ClapTestHost&) = delete;
  ClapTestHost& operator=(const ClapTestHost&) = delete;

  const clap_plugin* Plugin() const { return plugin; }
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
  static ClapTestHost& From(const clap_host* host);

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
  std::vector<ClapOutEvent> output;
  std::vector<clap_id> timers;
  std::vector<int> descriptors;
  clap_id nextTimer = 1;
  bool guiCreated = false;
  int64_t steadyTime = 0;
  double rate = 0.0;
};
