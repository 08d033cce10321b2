#include "clap/ClapEntry.h"
#include "clap/ClapWindowSystem.h"

#include <cstdio>
#include <cstring>

// The extension records an instance offers; each function finds its instance in the record.
namespace {
constexpr const char* MainPortName = "Main";
constexpr const char* MidiPortName = "MIDI";
constexpr const char* StereoPortType = "stereo";
constexpr uint32_t StereoChannels = 2;

IClapPlugin* From(const clap_plugin* plugin) {
  return IClapPlugin::FromRecord(plugin);
}

// One stereo main input and output, processed in place in either sample width.
uint32_t CLAP_ABI AudioPortCount(const clap_plugin*, bool) {
  return 1;
}

bool CLAP_ABI AudioPortInfo(const clap_plugin*, uint32_t index, bool, clap_audio_port_info* info) {
  if (index != 0 || !info) {
    return false;
  }
  *info = {};
  info->id = 0;
  std::snprintf(info->name, sizeof(info->name), "%s", MainPortName);
  info->flags = Clap::AudioPortIsMain | Clap::AudioPortSupports64Bits |
                Clap::AudioPortRequiresCommonSampleSize;
  info->channel_count = StereoChannels;
  info->port_type = StereoPortType;
  info->in_place_pair = 0;
  return true;
}

const clap_plugin_audio_ports AudioPorts = {AudioPortCount, AudioPortInfo};

// MIDI in, and the same MIDI back out.
uint32_t CLAP_ABI NotePortCount(const clap_plugin*, bool) {
  return 1;
}

bool CLAP_ABI NotePortInfo(const clap_plugin*, uint32_t index, bool, clap_note_port_info* info) {
  if (index != 0 || !info) {
    return false;
  }
  *info = {};
  info->id = 0;
  info->supported_dialects = Clap::NoteDialectMidi;
  info->preferred_dialect = Clap::NoteDialectMidi;
  std::snprintf(info->name, sizeof(info->name), "%s", MidiPortName);
  return true;
}

const clap_plugin_note_ports NotePorts = {NotePortCount, NotePortInfo};

uint32_t CLAP_ABI ParamCount(const clap_plugin* plugin) {
  return From(plugin)->ParamCount();
}

bool CLAP_ABI ParamInfo(const clap_plugin* plugin, uint32_t index, clap_param_info* info) {
  return From(plugin)->ParamInfo(index, info);
}

bool CLAP_ABI ParamValue(const clap_plugin* plugin, clap_id id, double* value) {
  return From(plugin)->ParamValue(id, value);
}

bool CLAP_ABI ParamValueText(const clap_plugin* plugin, clap_id id, double value, char* display,
                             uint32_t size) {
  return From(plugin)->ParamValueText(id, value, display, size);
}

bool CLAP_ABI ParamTextValue(const clap_plugin* plugin, clap_id id, const char* display,
                             double* value) {
  return From(plugin)->ParamTextValue(id, display, value);
}

void CLAP_ABI ParamFlush(const clap_plugin* plugin, const clap_input_events* in,
                         const clap_output_events* out) {
  From(plugin)->Flush(in, out);
}

const clap_plugin_params Params = {ParamCount,     ParamInfo,      ParamValue,
                                   ParamValueText, ParamTextValue, ParamFlush};

bool CLAP_ABI StateSave(const clap_plugin* plugin, const clap_ostream* stream) {
  return From(plugin)->SaveState(stream);
}

bool CLAP_ABI StateLoad(const clap_plugin* plugin, const clap_istream* stream) {
  return From(plugin)->LoadState(stream);
}

const clap_plugin_state State = {StateSave, StateLoad};

uint32_t CLAP_ABI LatencyFrames(const clap_plugin* plugin) {
  return From(plugin)->LatencyFrames();
}

const clap_plugin_latency Latency = {LatencyFrames};

// Nothing of a clipper rings on after its input stops.
uint32_t CLAP_ABI NoTail(const clap_plugin*) {
  return 0;
}

const clap_plugin_tail Tail = {NoTail};

bool CLAP_ABI HasHardRealtimeRequirement(const clap_plugin*) {
  return false;
}

bool CLAP_ABI SetRenderMode(const clap_plugin* plugin, int32_t mode) {
  return From(plugin)->SetRenderMode(mode);
}

const clap_plugin_render Render = {HasHardRealtimeRequirement, SetRenderMode};

bool CLAP_ABI GuiIsApiSupported(const clap_plugin* plugin, const char* api, bool floating) {
  return From(plugin)->GuiApiSupported(api, floating);
}

bool CLAP_ABI GuiPreferredApi(const clap_plugin*, const char** api, bool* floating) {
  if (!api || !floating) {
    return false;
  }
  *api = ClapWindowApi();
  *floating = false;
  return true;
}

bool CLAP_ABI GuiCreate(const clap_plugin* plugin, const char* api, bool floating) {
  return From(plugin)->GuiCreate(api, floating);
}

void CLAP_ABI GuiDestroy(const clap_plugin* plugin) {
  From(plugin)->GuiDestroy();
}

bool CLAP_ABI GuiSetScale(const clap_plugin* plugin, double scale) {
  return From(plugin)->GuiSetScale(scale);
}

bool CLAP_ABI GuiGetSize(const clap_plugin* plugin, uint32_t* width, uint32_t* height) {
  return From(plugin)->GuiSize(width, height);
}

bool CLAP_ABI GuiCanResize(const clap_plugin*) {
  return false;
}

bool CLAP_ABI GuiResizeHints(const clap_plugin*, clap_gui_resize_hints*) {
  return false;
}

bool CLAP_ABI GuiAdjustSize(const clap_plugin* plugin, uint32_t* width, uint32_t* height) {
  return From(plugin)->GuiSize(width, height);
}

bool CLAP_ABI GuiSetSize(const clap_plugin* plugin, uint32_t width, uint32_t height) {
  return From(plugin)->GuiSetSize(width, height);
}

bool CLAP_ABI GuiSetParent(const clap_plugin* plugin, const clap_window* window) {
  return From(plugin)->GuiSetParent(window);
}

bool CLAP_ABI GuiSetTransient(const clap_plugin*, const clap_window*) {
  return false;
}

void CLAP_ABI GuiSuggestTitle(const clap_plugin*, const char*) {}

bool CLAP_ABI GuiShow(const clap_plugin* plugin) {
  return From(plugin)->GuiShow();
}

bool CLAP_ABI GuiHide(const clap_plugin* plugin) {
  return From(plugin)->GuiHide();
}

const clap_plugin_gui Gui = {GuiIsApiSupported, GuiPreferredApi, GuiCreate,    GuiDestroy,
                             GuiSetScale,       GuiGetSize,      GuiCanResize, GuiResizeHints,
                             GuiAdjustSize,     GuiSetSize,      GuiSetParent, GuiSetTransient,
                             GuiSuggestTitle,   GuiShow,         GuiHide};

void CLAP_ABI OnTimer(const clap_plugin* plugin, clap_id timer) {
  From(plugin)->GuiTimer(timer);
}

const clap_plugin_timer_support TimerSupport = {OnTimer};

void CLAP_ABI OnDescriptor(const clap_plugin* plugin, int descriptor, uint32_t) {
  From(plugin)->GuiDescriptorReady(descriptor);
}

const clap_plugin_posix_fd_support DescriptorSupport = {OnDescriptor};

bool CLAP_ABI PresetFromLocation(const clap_plugin* plugin, uint32_t kind, const char* location,
                                 const char* loadKey) {
  return From(plugin)->LoadPreset(kind, location, loadKey);
}

const clap_plugin_preset_load PresetLoad = {PresetFromLocation};

struct Extension {
  const char* id;
  const void* record;
};

const Extension Extensions[] = {
    {Clap::AudioPortsId, &AudioPorts},
    {Clap::NotePortsId, &NotePorts},
    {Clap::ParamsId, &Params},
    {Clap::StateId, &State},
    {Clap::LatencyId, &Latency},
    {Clap::TailId, &Tail},
    {Clap::RenderId, &Render},
    {Clap::GuiId, &Gui},
    {Clap::TimerSupportId, &TimerSupport},
    {Clap::PosixFdSupportId, &DescriptorSupport},
    {Clap::PresetLoadId, &PresetLoad},
    {Clap::PresetLoadDraftId, &PresetLoad},
};
} // namespace

const void* ClapPluginExtension(const char* id) {
  for (const Extension& extension : Extensions) {
    if (std::strcmp(id, extension.id) == 0) {
      return extension.record;
    }
  }
  return nullptr;
}
