#pragma once

// The records, function types and numbers through which a CLAP host and this plug-in meet (CLAP
// 1.2.10; every 1.x reads the same layout). Declared here from the published binary layout; every
// size and offset is pinned below for 4-byte pointers (32-bit Windows) and 8-byte pointers
// (64-bit Windows and Linux), so a layout slip cannot build.

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define CLAP_ABI __cdecl
#else
#define CLAP_ABI
#endif

extern "C" {

typedef uint32_t clap_id;
// 64-bit fields (written alignas(8) below) sit on 8-byte boundaries on every target, 32-bit
// Windows included.

struct clap_version {
  uint32_t major;
  uint32_t minor;
  uint32_t revision;
};

struct clap_plugin_entry {
  clap_version version;
  bool(CLAP_ABI* init)(const char* plugin_path);
  void(CLAP_ABI* deinit)();
  const void*(CLAP_ABI* get_factory)(const char* factory_id);
};

struct clap_host {
  clap_version version;
  void* host_data;
  const char* name;
  const char* vendor;
  const char* url;
  const char* host_version;
  const void*(CLAP_ABI* get_extension)(const clap_host* host, const char* extension_id);
  void(CLAP_ABI* request_restart)(const clap_host* host);
  void(CLAP_ABI* request_process)(const clap_host* host);
  void(CLAP_ABI* request_callback)(const clap_host* host);
};

struct clap_plugin_descriptor {
  clap_version version;
  const char* id;
  const char* name;
  const char* vendor;
  const char* url;
  const char* manual_url;
  const char* support_url;
  const char* plugin_version;
  const char* description;
  const char* const* features;
};

struct clap_process;

struct clap_plugin {
  const clap_plugin_descriptor* desc;
  void* plugin_data;
  bool(CLAP_ABI* init)(const clap_plugin* plugin);
  void(CLAP_ABI* destroy)(const clap_plugin* plugin);
  bool(CLAP_ABI* activate)(const clap_plugin* plugin, double sample_rate, uint32_t min_frames,
                           uint32_t max_frames);
  void(CLAP_ABI* deactivate)(const clap_plugin* plugin);
  bool(CLAP_ABI* start_processing)(const clap_plugin* plugin);
  void(CLAP_ABI* stop_processing)(const clap_plugin* plugin);
  void(CLAP_ABI* reset)(const clap_plugin* plugin);
  int32_t(CLAP_ABI* process)(const clap_plugin* plugin, const clap_process* process);
  const void*(CLAP_ABI* get_extension)(const clap_plugin* plugin, const char* id);
  void(CLAP_ABI* on_main_thread)(const clap_plugin* plugin);
};

struct clap_plugin_factory {
  uint32_t(CLAP_ABI* get_plugin_count)(const clap_plugin_factory* factory);
  const clap_plugin_descriptor*(CLAP_ABI* get_plugin_descriptor)(const clap_plugin_factory* factory,
                                                                 uint32_t index);
  const clap_plugin*(CLAP_ABI* create_plugin)(const clap_plugin_factory* factory,
                                              const clap_host* host, const char* plugin_id);
};

// Events.
struct clap_event_header {
  uint32_t size;
  uint32_t time;
  uint16_t space_id;
  uint16_t type;
  uint32_t flags;
};

struct clap_event_param_value {
  clap_event_header header;
  clap_id param_id;
  void* cookie;
  int32_t note_id;
  int16_t port_index;
  int16_t channel;
  int16_t key;
  alignas(8) double value;
};

struct clap_event_param_gesture {
  clap_event_header header;
  clap_id param_id;
};

struct clap_event_transport {
  clap_event_header header;
  uint32_t flags;
  alignas(8) int64_t song_pos_beats;
  alignas(8) int64_t song_pos_seconds;
  alignas(8) double tempo;
  alignas(8) double tempo_inc;
  alignas(8) int64_t loop_start_beats;
  alignas(8) int64_t loop_end_beats;
  alignas(8) int64_t loop_start_seconds;
  alignas(8) int64_t loop_end_seconds;
  alignas(8) int64_t bar_start;
  int32_t bar_number;
  uint16_t tsig_num;
  uint16_t tsig_denom;
};

struct clap_event_midi {
  clap_event_header header;
  uint16_t port_index;
  uint8_t data[3];
};

struct clap_event_midi_sysex {
  clap_event_header header;
  uint16_t port_index;
  const uint8_t* buffer;
  uint32_t size;
};

struct clap_input_events {
  void* ctx;
  uint32_t(CLAP_ABI* size)(const clap_input_events* list);
  const clap_event_header*(CLAP_ABI* get)(const clap_input_events* list, uint32_t index);
};

struct clap_output_events {
  void* ctx;
  bool(CLAP_ABI* try_push)(const clap_output_events* list, const clap_event_header* event);
};

// Processing.
struct clap_audio_buffer {
  float** data32;
  double** data64;
  uint32_t channel_count;
  uint32_t latency;
  alignas(8) uint64_t constant_mask;
};

struct clap_process {
  alignas(8) int64_t steady_time;
  uint32_t frames_count;
  const clap_event_transport* transport;
  const clap_audio_buffer* audio_inputs;
  clap_audio_buffer* audio_outputs;
  uint32_t audio_inputs_count;
  uint32_t audio_outputs_count;
  const clap_input_events* in_events;
  const clap_output_events* out_events;
};

// Audio and note ports.
struct clap_audio_port_info {
  clap_id id;
  char name[256];
  uint32_t flags;
  uint32_t channel_count;
  const char* port_type;
  clap_id in_place_pair;
};

struct clap_plugin_audio_ports {
  uint32_t(CLAP_ABI* count)(const clap_plugin* plugin, bool is_input);
  bool(CLAP_ABI* get)(const clap_plugin* plugin, uint32_t index, bool is_input,
                      clap_audio_port_info* info);
};

struct clap_note_port_info {
  clap_id id;
  uint32_t supported_dialects;
  uint32_t preferred_dialect;
  char name[256];
};

struct clap_plugin_note_ports {
  uint32_t(CLAP_ABI* count)(const clap_plugin* plugin, bool is_input);
  bool(CLAP_ABI* get)(const clap_plugin* plugin, uint32_t index, bool is_input,
                      clap_note_port_info* info);
};

// Parameters.
struct clap_param_info {
  clap_id id;
  uint32_t flags;
  void* cookie;
  char name[256];
  char module[1024];
  alignas(8) double min_value;
  alignas(8) double max_value;
  alignas(8) double default_value;
};

struct clap_plugin_params {
  uint32_t(CLAP_ABI* count)(const clap_plugin* plugin);
  bool(CLAP_ABI* get_info)(const clap_plugin* plugin, uint32_t param_index,
                           clap_param_info* param_info);
  bool(CLAP_ABI* get_value)(const clap_plugin* plugin, clap_id param_id, double* value);
  bool(CLAP_ABI* value_to_text)(const clap_plugin* plugin, clap_id param_id, double value,
                                char* display, uint32_t size);
  bool(CLAP_ABI* text_to_value)(const clap_plugin* plugin, clap_id param_id, const char* display,
                                double* value);
  void(CLAP_ABI* flush)(const clap_plugin* plugin, const clap_input_events* in,
                        const clap_output_events* out);
};

struct clap_host_params {
  void(CLAP_ABI* rescan)(const clap_host* host, uint32_t flags);
  void(CLAP_ABI* clear)(const clap_host* host, clap_id param_id, uint32_t flags);
  void(CLAP_ABI* request_flush)(const clap_host* host);
};

// State.
struct clap_ostream {
  void* ctx;
  int64_t(CLAP_ABI* write)(const clap_ostream* stream, const void* buffer, uint64_t size);
};

struct clap_istream {
  void* ctx;
  int64_t(CLAP_ABI* read)(const clap_istream* stream, void* buffer, uint64_t size);
};

struct clap_plugin_state {
  bool(CLAP_ABI* save)(const clap_plugin* plugin, const clap_ostream* stream);
  bool(CLAP_ABI* load)(const clap_plugin* plugin, const clap_istream* stream);
};

// Latency, tail, render.
struct clap_plugin_latency {
  uint32_t(CLAP_ABI* get)(const clap_plugin* plugin);
};

struct clap_host_latency {
  void(CLAP_ABI* changed)(const clap_host* host);
};

struct clap_plugin_tail {
  uint32_t(CLAP_ABI* get)(const clap_plugin* plugin);
};

struct clap_plugin_render {
  bool(CLAP_ABI* has_hard_realtime_requirement)(const clap_plugin* plugin);
  bool(CLAP_ABI* set)(const clap_plugin* plugin, int32_t mode);
};

// Host services.
struct clap_host_thread_check {
  bool(CLAP_ABI* is_main_thread)(const clap_host* host);
  bool(CLAP_ABI* is_audio_thread)(const clap_host* host);
};

struct clap_host_log {
  void(CLAP_ABI* log)(const clap_host* host, int32_t severity, const char* msg);
};

// The editor.
struct clap_window {
  const char* api;
  union {
    unsigned long x11;
    void* win32;
    void* cocoa;
    void* ptr;
  };
};

struct clap_gui_resize_hints {
  bool can_resize_horizontally;
  bool can_resize_vertically;
  bool preserve_aspect_ratio;
  uint32_t aspect_ratio_width;
  uint32_t aspect_ratio_height;
};

struct clap_plugin_gui {
  bool(CLAP_ABI* is_api_supported)(const clap_plugin* plugin, const char* api, bool is_floating);
  bool(CLAP_ABI* get_preferred_api)(const clap_plugin* plugin, const char** api, bool* is_floating);
  bool(CLAP_ABI* create)(const clap_plugin* plugin, const char* api, bool is_floating);
  void(CLAP_ABI* destroy)(const clap_plugin* plugin);
  bool(CLAP_ABI* set_scale)(const clap_plugin* plugin, double scale);
  bool(CLAP_ABI* get_size)(const clap_plugin* plugin, uint32_t* width, uint32_t* height);
  bool(CLAP_ABI* can_resize)(const clap_plugin* plugin);
  bool(CLAP_ABI* get_resize_hints)(const clap_plugin* plugin, clap_gui_resize_hints* hints);
  bool(CLAP_ABI* adjust_size)(const clap_plugin* plugin, uint32_t* width, uint32_t* height);
  bool(CLAP_ABI* set_size)(const clap_plugin* plugin, uint32_t width, uint32_t height);
  bool(CLAP_ABI* set_parent)(const clap_plugin* plugin, const clap_window* window);
  bool(CLAP_ABI* set_transient)(const clap_plugin* plugin, const clap_window* window);
  void(CLAP_ABI* suggest_title)(const clap_plugin* plugin, const char* title);
  bool(CLAP_ABI* show)(const clap_plugin* plugin);
  bool(CLAP_ABI* hide)(const clap_plugin* plugin);
};

struct clap_host_gui {
  void(CLAP_ABI* resize_hints_changed)(const clap_host* host);
  bool(CLAP_ABI* request_resize)(const clap_host* host, uint32_t width, uint32_t height);
  bool(CLAP_ABI* request_show)(const clap_host* host);
  bool(CLAP_ABI* request_hide)(const clap_host* host);
  void(CLAP_ABI* closed)(const clap_host* host, bool was_destroyed);
};

struct clap_plugin_timer_support {
  void(CLAP_ABI* on_timer)(const clap_plugin* plugin, clap_id timer_id);
};

struct clap_host_timer_support {
  bool(CLAP_ABI* register_timer)(const clap_host* host, uint32_t period_ms, clap_id* timer_id);
  bool(CLAP_ABI* unregister_timer)(const clap_host* host, clap_id timer_id);
};

struct clap_plugin_posix_fd_support {
  void(CLAP_ABI* on_fd)(const clap_plugin* plugin, int fd, uint32_t flags);
};

struct clap_host_posix_fd_support {
  bool(CLAP_ABI* register_fd)(const clap_host* host, int fd, uint32_t flags);
  bool(CLAP_ABI* modify_fd)(const clap_host* host, int fd, uint32_t flags);
  bool(CLAP_ABI* unregister_fd)(const clap_host* host, int fd);
};

// Presets.
struct clap_plugin_preset_load {
  bool(CLAP_ABI* from_location)(const clap_plugin* plugin, uint32_t location_kind,
                                const char* location, const char* load_key);
};

struct clap_host_preset_load {
  void(CLAP_ABI* on_error)(const clap_host* host, uint32_t location_kind, const char* location,
                           const char* load_key, int32_t os_error, const char* msg);
  void(CLAP_ABI* loaded)(const clap_host* host, uint32_t location_kind, const char* location,
                         const char* load_key);
};

struct clap_universal_plugin_id {
  const char* abi;
  const char* id;
};

struct clap_preset_discovery_location {
  uint32_t flags;
  const char* name;
  uint32_t kind;
  const char* location;
};

struct clap_preset_discovery_filetype {
  const char* name;
  const char* description;
  const char* file_extension;
};

struct clap_preset_discovery_soundpack;

struct clap_preset_discovery_indexer {
  clap_version version;
  const char* name;
  const char* vendor;
  const char* url;
  const char* indexer_version;
  void* indexer_data;
  bool(CLAP_ABI* declare_filetype)(const clap_preset_discovery_indexer* indexer,
                                   const clap_preset_discovery_filetype* filetype);
  bool(CLAP_ABI* declare_location)(const clap_preset_discovery_indexer* indexer,
                                   const clap_preset_discovery_location* location);
  bool(CLAP_ABI* declare_soundpack)(const clap_preset_discovery_indexer* indexer,
                                    const clap_preset_discovery_soundpack* soundpack);
  const void*(CLAP_ABI* get_extension)(const clap_preset_discovery_indexer* indexer,
                                       const char* extension_id);
};

struct clap_preset_discovery_metadata_receiver {
  void* receiver_data;
  void(CLAP_ABI* on_error)(const clap_preset_discovery_metadata_receiver* receiver,
                           int32_t os_error, const char* error_message);
  bool(CLAP_ABI* begin_preset)(const clap_preset_discovery_metadata_receiver* receiver,
                               const char* name, const char* load_key);
  void(CLAP_ABI* add_plugin_id)(const clap_preset_discovery_metadata_receiver* receiver,
                                const clap_universal_plugin_id* plugin_id);
  void(CLAP_ABI* set_soundpack_id)(const clap_preset_discovery_metadata_receiver* receiver,
                                   const char* soundpack_id);
  void(CLAP_ABI* set_flags)(const clap_preset_discovery_metadata_receiver* receiver,
                            uint32_t flags);
  void(CLAP_ABI* add_creator)(const clap_preset_discovery_metadata_receiver* receiver,
                              const char* creator);
  void(CLAP_ABI* set_description)(const clap_preset_discovery_metadata_receiver* receiver,
                                  const char* description);
  void(CLAP_ABI* set_timestamps)(const clap_preset_discovery_metadata_receiver* receiver,
                                 uint64_t creation_time, uint64_t modification_time);
  void(CLAP_ABI* add_feature)(const clap_preset_discovery_metadata_receiver* receiver,
                              const char* feature);
  void(CLAP_ABI* add_extra_info)(const clap_preset_discovery_metadata_receiver* receiver,
                                 const char* key, const char* value);
};

struct clap_preset_discovery_provider_descriptor {
  clap_version version;
  const char* id;
  const char* name;
  const char* vendor;
};

struct clap_preset_discovery_provider {
  const clap_preset_discovery_provider_descriptor* desc;
  void* provider_data;
  bool(CLAP_ABI* init)(const clap_preset_discovery_provider* provider);
  void(CLAP_ABI* destroy)(const clap_preset_discovery_provider* provider);
  bool(CLAP_ABI* get_metadata)(const clap_preset_discovery_provider* provider,
                               uint32_t location_kind, const char* location,
                               const clap_preset_discovery_metadata_receiver* receiver);
  const void*(CLAP_ABI* get_extension)(const clap_preset_discovery_provider* provider,
                                       const char* extension_id);
};

struct clap_preset_discovery_factory {
  uint32_t(CLAP_ABI* count)(const clap_preset_discovery_factory* factory);
  const clap_preset_discovery_provider_descriptor*(CLAP_ABI* get_descriptor)(
      const clap_preset_discovery_factory* factory, uint32_t index);
  const clap_preset_discovery_provider*(CLAP_ABI* create)(
      const clap_preset_discovery_factory* factory, const clap_preset_discovery_indexer* indexer,
      const char* provider_id);
};

} // extern "C"

// The numbers.
namespace Clap {
constexpr clap_version Version = {1, 2, 10};
constexpr clap_id InvalidId = 0xFFFFFFFF;
constexpr uint16_t CoreEventSpace = 0;

enum EventType : uint16_t {
  EventNoteOn = 0,
  EventNoteOff = 1,
  EventParamValue = 5,
  EventParamGestureBegin = 7,
  EventParamGestureEnd = 8,
  EventTransport = 9,
  EventMidi = 10,
  EventMidiSysex = 11,
};

enum EventFlags : uint32_t { EventIsLive = 1, EventDontRecord = 2 };

enum ProcessStatus : int32_t {
  ProcessError = 0,
  ProcessContinue = 1,
  ProcessContinueIfNotQuiet = 2,
  ProcessTail = 3,
  ProcessSleep = 4,
};

enum TransportFlags : uint32_t {
  TransportHasTempo = 1,
  TransportHasBeatsTimeline = 2,
  TransportHasSecondsTimeline = 4,
  TransportHasTimeSignature = 8,
  TransportIsPlaying = 16,
  TransportIsRecording = 32,
  TransportIsLoopActive = 64,
};
// clap_beattime and clap_sectime count 1/2^31 of a beat or a second.
constexpr double FixedPointFactor = 2147483648.0;

enum AudioPortFlags : uint32_t {
  AudioPortIsMain = 1,
  AudioPortSupports64Bits = 2,
  AudioPortPrefers64Bits = 4,
  AudioPortRequiresCommonSampleSize = 8,
};

enum NoteDialects : uint32_t { NoteDialectClap = 1, NoteDialectMidi = 2 };

enum ParamInfoFlags : uint32_t {
  ParamIsStepped = 1,
  ParamIsBypass = 16,
  ParamIsAutomatable = 32,
};

enum ParamRescanFlags : uint32_t { ParamRescanValues = 1, ParamRescanText = 2 };

enum LogSeverity : int32_t {
  LogDebug = 0,
  LogInfo = 1,
  LogWarning = 2,
  LogError = 3,
  LogHostMisbehaving = 5,
};

enum RenderMode : int32_t { RenderRealtime = 0, RenderOffline = 1 };

enum PosixFdFlags : uint32_t { FdRead = 1, FdWrite = 2, FdError = 4 };

enum PresetLocationKind : uint32_t { PresetLocationFile = 0, PresetLocationPlugin = 1 };
enum PresetFlags : uint32_t { PresetIsFactoryContent = 1 };

// Factory and extension ids.
constexpr const char* PluginFactoryId = "clap.plugin-factory";
constexpr const char* PresetDiscoveryFactoryId = "clap.preset-discovery-factory/2";
constexpr const char* PresetDiscoveryFactoryDraftId = "clap.preset-discovery-factory/draft-2";
constexpr const char* AudioPortsId = "clap.audio-ports";
constexpr const char* NotePortsId = "clap.note-ports";
constexpr const char* ParamsId = "clap.params";
constexpr const char* StateId = "clap.state";
constexpr const char* LatencyId = "clap.latency";
constexpr const char* TailId = "clap.tail";
constexpr const char* RenderId = "clap.render";
constexpr const char* ThreadCheckId = "clap.thread-check";
constexpr const char* LogId = "clap.log";
constexpr const char* GuiId = "clap.gui";
constexpr const char* TimerSupportId = "clap.timer-support";
constexpr const char* PosixFdSupportId = "clap.posix-fd-support";
constexpr const char* PresetLoadId = "clap.preset-load/2";
constexpr const char* PresetLoadDraftId = "clap.preset-load.draft/2";
constexpr const char* WindowApiX11 = "x11";
constexpr const char* WindowApiWin32 = "win32";
} // namespace Clap

// The layout, pinned for both pointer widths.
namespace ClapLayout {
constexpr size_t ByPointerSize(size_t size32, size_t size64) {
  return sizeof(void*) == 4 ? size32 : size64;
}
} // namespace ClapLayout

static_assert(sizeof(void*) == 4 || sizeof(void*) == 8, "only 32- and 64-bit targets exist");
static_assert(sizeof(bool) == 1 && sizeof(double) == 8, "one-byte bool, IEEE double");

static_assert(sizeof(clap_version) == 12);
static_assert(offsetof(clap_plugin_entry, init) == ClapLayout::ByPointerSize(12, 16));
static_assert(offsetof(clap_plugin_entry, get_factory) == ClapLayout::ByPointerSize(20, 32));
static_assert(sizeof(clap_plugin_entry) == ClapLayout::ByPointerSize(24, 40));

static_assert(offsetof(clap_host, host_data) == ClapLayout::ByPointerSize(12, 16));
static_assert(offsetof(clap_host, name) == ClapLayout::ByPointerSize(16, 24));
static_assert(offsetof(clap_host, get_extension) == ClapLayout::ByPointerSize(32, 56));
static_assert(offsetof(clap_host, request_callback) == ClapLayout::ByPointerSize(44, 80));
static_assert(sizeof(clap_host) == ClapLayout::ByPointerSize(48, 88));

static_assert(offsetof(clap_plugin_descriptor, id) == ClapLayout::ByPointerSize(12, 16));
static_assert(offsetof(clap_plugin_descriptor, plugin_version) ==
              ClapLayout::ByPointerSize(36, 64));
static_assert(offsetof(clap_plugin_descriptor, features) == ClapLayout::ByPointerSize(44, 80));
static_assert(sizeof(clap_plugin_descriptor) == ClapLayout::ByPointerSize(48, 88));

static_assert(offsetof(clap_plugin, init) == ClapLayout::ByPointerSize(8, 16));
static_assert(offsetof(clap_plugin, process) == ClapLayout::ByPointerSize(36, 72));
static_assert(offsetof(clap_plugin, on_main_thread) == ClapLayout::ByPointerSize(44, 88));
static_assert(sizeof(clap_plugin) == ClapLayout::ByPointerSize(48, 96));
static_assert(sizeof(clap_plugin_factory) == ClapLayout::ByPointerSize(12, 24));

static_assert(sizeof(clap_event_header) == 16);
static_assert(offsetof(clap_event_header, type) == 10 && offsetof(clap_event_header, flags) == 12);
static_assert(offsetof(clap_event_param_value, cookie) == ClapLayout::ByPointerSize(20, 24));
static_assert(offsetof(clap_event_param_value, note_id) == ClapLayout::ByPointerSize(24, 32));
static_assert(offsetof(clap_event_param_value, key) == ClapLayout::ByPointerSize(32, 40));
static_assert(offsetof(clap_event_param_value, value) == ClapLayout::ByPointerSize(40, 48));
static_assert(sizeof(clap_event_param_value) == ClapLayout::ByPointerSize(48, 56));
static_assert(sizeof(clap_event_param_gesture) == 20);
static_assert(offsetof(clap_event_transport, song_pos_beats) == 24);
static_assert(offsetof(clap_event_transport, tempo) == 40);
static_assert(offsetof(clap_event_transport, bar_start) == 88);
static_assert(offsetof(clap_event_transport, bar_number) == 96);
static_assert(offsetof(clap_event_transport, tsig_denom) == 102);
static_assert(sizeof(clap_event_transport) == 104);
static_assert(offsetof(clap_event_midi, data) == 18 && sizeof(clap_event_midi) == 24);
static_assert(offsetof(clap_event_midi_sysex, buffer) == ClapLayout::ByPointerSize(20, 24));
static_assert(offsetof(clap_event_midi_sysex, size) == ClapLayout::ByPointerSize(24, 32));
static_assert(sizeof(clap_event_midi_sysex) == ClapLayout::ByPointerSize(28, 40));
static_assert(sizeof(clap_input_events) == ClapLayout::ByPointerSize(12, 24));
static_assert(sizeof(clap_output_events) == ClapLayout::ByPointerSize(8, 16));

static_assert(offsetof(clap_audio_buffer, channel_count) == ClapLayout::ByPointerSize(8, 16));
static_assert(offsetof(clap_audio_buffer, constant_mask) == ClapLayout::ByPointerSize(16, 24));
static_assert(sizeof(clap_audio_buffer) == ClapLayout::ByPointerSize(24, 32));
static_assert(offsetof(clap_process, frames_count) == 8);
static_assert(offsetof(clap_process, transport) == ClapLayout::ByPointerSize(12, 16));
static_assert(offsetof(clap_process, audio_inputs_count) == ClapLayout::ByPointerSize(24, 40));
static_assert(offsetof(clap_process, in_events) == ClapLayout::ByPointerSize(32, 48));
static_assert(sizeof(clap_process) == ClapLayout::ByPointerSize(40, 64));

static_assert(offsetof(clap_audio_port_info, flags) == 260);
static_assert(offsetof(clap_audio_port_info, port_type) == ClapLayout::ByPointerSize(268, 272));
static_assert(offsetof(clap_audio_port_info, in_place_pair) == ClapLayout::ByPointerSize(272, 280));
static_assert(sizeof(clap_audio_port_info) == ClapLayout::ByPointerSize(276, 288));
static_assert(offsetof(clap_note_port_info, name) == 12 && sizeof(clap_note_port_info) == 268);

static_assert(offsetof(clap_param_info, name) == ClapLayout::ByPointerSize(12, 16));
static_assert(offsetof(clap_param_info, module) == ClapLayout::ByPointerSize(268, 272));
static_assert(offsetof(clap_param_info, min_value) == 1296);
static_assert(offsetof(clap_param_info, default_value) == 1312);
static_assert(sizeof(clap_param_info) == 1320);
static_assert(sizeof(clap_plugin_params) == ClapLayout::ByPointerSize(24, 48));
static_assert(sizeof(clap_host_params) == ClapLayout::ByPointerSize(12, 24));
static_assert(sizeof(clap_ostream) == ClapLayout::ByPointerSize(8, 16));
static_assert(sizeof(clap_istream) == ClapLayout::ByPointerSize(8, 16));

static_assert(sizeof(clap_window) == ClapLayout::ByPointerSize(8, 16));
static_assert(offsetof(clap_window, x11) == ClapLayout::ByPointerSize(4, 8));
static_assert(sizeof(clap_gui_resize_hints) == 12);
static_assert(sizeof(clap_plugin_gui) == ClapLayout::ByPointerSize(60, 120));
static_assert(sizeof(clap_host_gui) == ClapLayout::ByPointerSize(20, 40));
static_assert(sizeof(clap_host_posix_fd_support) == ClapLayout::ByPointerSize(12, 24));

static_assert(sizeof(clap_preset_discovery_factory) == ClapLayout::ByPointerSize(12, 24));
static_assert(sizeof(clap_preset_discovery_provider_descriptor) ==
              ClapLayout::ByPointerSize(24, 40));
static_assert(offsetof(clap_preset_discovery_provider, get_extension) ==
              ClapLayout::ByPointerSize(20, 40));
static_assert(sizeof(clap_preset_discovery_provider) == ClapLayout::ByPointerSize(24, 48));
static_assert(offsetof(clap_preset_discovery_indexer, indexer_data) ==
              ClapLayout::ByPointerSize(28, 48));
static_assert(sizeof(clap_preset_discovery_indexer) == ClapLayout::ByPointerSize(48, 88));
static_assert(offsetof(clap_preset_discovery_location, kind) == ClapLayout::ByPointerSize(8, 16));
static_assert(sizeof(clap_preset_discovery_location) == ClapLayout::ByPointerSize(16, 32));
static_assert(sizeof(clap_preset_discovery_filetype) == ClapLayout::ByPointerSize(12, 24));
static_assert(offsetof(clap_preset_discovery_metadata_receiver, set_timestamps) ==
              ClapLayout::ByPointerSize(32, 64));
static_assert(sizeof(clap_preset_discovery_metadata_receiver) == ClapLayout::ByPointerSize(44, 88));
static_assert(sizeof(clap_universal_plugin_id) == ClapLayout::ByPointerSize(8, 16));
