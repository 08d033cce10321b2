#include "host/vst2/Vst2Plugin.h"

#include "platform/Lock.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>

namespace {
// Plug-ins write names and texts into host buffers; some overrun the classic sizes, so every
// buffer is far larger than any of them.
constexpr int kTextBytes = 512;

// The host being created: a plug-in may call back from inside its entry point, before the
// host has been able to mark the effect record as its own.
Vst2Plugin* hostInCreation = nullptr;

constexpr char kHostProduct[] = "ombrix-render";

// Events of one block most hosts' blocks stay within; the lists are made this large at Start so
// processing allocates nothing, and grow only for more.
constexpr size_t kEventRoom = 1024;

// A library of another format, named by what it exports, so the user knows what to pass instead.
std::string OtherFormatHint(const LoadedLibrary& library) {
  if (library.Symbol("clap_entry")) {
    return " (it exports clap_entry: a CLAP plug-in, which is loaded from its .clap file)";
  }
  if (library.Symbol("GetPluginFactory")) {
    return " (it exports GetPluginFactory: a VST 3 module, which is loaded from its .vst3 bundle)";
  }
  if (library.Symbol("lv2_descriptor")) {
    return " (it exports lv2_descriptor: an LV2 plug-in, which is loaded from its .lv2 bundle or "
           "by its URI)";
  }
  return "";
}

std::string Trimmed(const char* text) {
  std::string result(text);
  while (!result.empty() && result.back() == ' ') {
    result.pop_back();
  }
  return result;
}
} // namespace

std::unique_ptr<Vst2Plugin> Vst2Plugin::Load(const std::string& path, std::string* error) {
  IScopedLock control(HostControlLock());
  std::unique_ptr<Vst2Plugin> host(new Vst2Plugin());
  host->path = path;
  std::string reason;
  host->library = LoadedLibrary::Open(path, &reason);
  if (!host->library) {
    *error = "cannot load plug-in " + path + ": " + reason;
    return nullptr;
  }
  void* entry = host->library->Symbol("VSTPluginMain");
  if (!entry) {
    entry = host->library->Symbol("main");
  }
  if (!entry) {
    *error = "cannot load plug-in " + path + ": it exports neither VSTPluginMain nor main" +
             OtherFormatHint(*host->library);
    return nullptr;
  }
  hostInCreation = host.get();
  AEffect* effect = reinterpret_cast<VstPluginMainProc>(entry)(&Vst2Plugin::HostCallback);
  hostInCreation = nullptr;
  if (!effect) {
    *error = "cannot load plug-in " + path + ": its entry point returned no effect";
    return nullptr;
  }
  if (effect->magic != kEffectMagic) {
    *error = "cannot load plug-in " + path + ": not a VST 2 effect (wrong magic number)";
    return nullptr;
  }
  if (!effect->dispatcher || !effect->getParameter || !effect->setParameter) {
    *error = "cannot load plug-in " + path + ": its effect record lacks entry functions";
    return nullptr;
  }
  // Counts the buffers and lists are sized by; a record claiming more is not to be trusted.
  constexpr VstInt32 kMostChannels = 64;
  if (effect->numInputs < 0 || effect->numInputs > kMostChannels || effect->numOutputs < 0 ||
      effect->numOutputs > kMostChannels || effect->numParams < 0 || effect->numPrograms < 0) {
    *error = "cannot load plug-in " + path + ": its effect record reports impossible counts";
    return nullptr;
  }
  effect->resvd1 = reinterpret_cast<VstIntPtr>(host.get());
  host->effect = effect;
  host->Dispatch(effOpen);
  return host;
}

Vst2Plugin::~Vst2Plugin() {
  IScopedLock control(HostControlLock());
  if (!effect) {
    return;
  }
  Stop();
  Dispatch(effClose);
  effect = nullptr;
}

VstIntPtr Vst2Plugin::HostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                   VstIntPtr value, void* ptr, float) {
  Vst2Plugin* host =
      effect && effect->resvd1 ? reinterpret_cast<Vst2Plugin*>(effect->resvd1) : hostInCreation;
  if (opcode == audioMasterVersion) {
    return 2400;
  }
  return host ? host->Answer(opcode, index, value, ptr) : 0;
}

VstIntPtr Vst2Plugin::Answer(VstInt32 opcode, VstInt32, VstIntPtr, void* ptr) {
  switch (opcode) {
  case audioMasterAutomate:
    ++automationCalls;
    return 0;
  case audioMasterWantMidi:
    return 1;
  case audioMasterGetTime:
    return reinterpret_cast<VstIntPtr>(&timeInfo);
  case audioMasterProcessEvents: {
    const VstEvents* events = static_cast<const VstEvents*>(ptr);
    if (events && events->numEvents > 0) {
      midiEventsReceived += events->numEvents;
      KeepPassedBack(*events);
    }
    return 1;
  }
  case audioMasterGetCurrentProcessLevel:
    return kVstProcessLevelOffline;
  case audioMasterGetProductString:
    if (ptr) {
      std::memcpy(ptr, kHostProduct, sizeof(kHostProduct));
      return 1;
    }
    return 0;
  case audioMasterGetVendorVersion:
    return OMBRIX_HOST_VERSION;
  case audioMasterBeginEdit:
  case audioMasterEndEdit:
    return 1;
  default:
    return 0;
  }
}

// The list's entries are read through a pointer: such lists run past the two entries the record
// declares.
void Vst2Plugin::KeepPassedBack(const VstEvents& events) {
  if (!keepMidi) {
    return;
  }
  VstEvent* const* entries = events.events;
  for (VstInt32 i = 0; i < events.numEvents; ++i) {
    if (entries[i] && entries[i]->type == kVstMidiType) {
      const auto* midi = reinterpret_cast<const VstMidiEvent*>(entries[i]);
      HostedEvent event;
      event.frame = midi->deltaFrames;
      for (int b = 0; b < 3; ++b) {
        event.midi[b] = static_cast<uint8_t>(midi->midiData[b]);
      }
      midiPassedBack.push_back(event);
    }
  }
}

std::vector<HostedEvent> Vst2Plugin::TakeMidiPassedBack() {
  return std::move(midiPassedBack);
}

bool Vst2Plugin::OpenEditor(void* parent) {
  return Dispatch(effEditOpen, 0, 0, parent) == 1;
}

void Vst2Plugin::IdleEditor() {
  Dispatch(effEditIdle);
}

void Vst2Plugin::CloseEditor() {
  Dispatch(effEditClose);
}

VstIntPtr Vst2Plugin::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                               float opt) {
  return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

std::string Vst2Plugin::TextAnswer(VstInt32 opcode, VstInt32 index) {
  char text[kTextBytes] = {};
  Dispatch(opcode, index, 0, text);
  text[kTextBytes - 1] = '\0';
  return Trimmed(text);
}

bool Vst2Plugin::EditorSize(int* width, int* height) {
  ERect* rect = nullptr;
  if (!HasFlag(effFlagsHasEditor) || Dispatch(effEditGetRect, 0, 0, &rect) == 0 || !rect) {
    return false;
  }
  *width = rect->right - rect->left;
  *height = rect->bottom - rect->top;
  return *width > 0 && *height > 0;
}

std::string Vst2Plugin::EffectName() {
  return TextAnswer(effGetEffectName, 0);
}
std::string Vst2Plugin::VendorName() {
  return TextAnswer(effGetVendorString, 0);
}
std::string Vst2Plugin::ProductName() {
  return TextAnswer(effGetProductString, 0);
}

int Vst2Plugin::CurrentProgram() {
  return static_cast<int>(Dispatch(effGetProgram));
}

bool Vst2Plugin::SelectProgram(int index) {
  if (index < 0 || index >= effect->numPrograms) {
    return false;
  }
  Dispatch(effSetProgram, 0, index);
  return true;
}

std::string Vst2Plugin::ProgramName(int index) {
  char text[kTextBytes] = {};
  if (Dispatch(effGetProgramNameIndexed, index, 0, text) != 0) {
    text[kTextBytes - 1] = '\0';
    return Trimmed(text);
  }
  // Plug-ins without the indexed query name only their current program.
  const int current = CurrentProgram();
  if (index == current) {
    return CurrentProgramName();
  }
  SelectProgram(index);
  const std::string name = CurrentProgramName();
  SelectProgram(current);
  return name;
}

std::string Vst2Plugin::CurrentProgramName() {
  return TextAnswer(effGetProgramName, 0);
}

void Vst2Plugin::RenameCurrentProgram(const std::string& name) {
  char text[kTextBytes] = {};
  std::strncpy(text, name.c_str(), kTextBytes - 1);
  Dispatch(effSetProgramName, 0, 0, text);
}

std::string Vst2Plugin::ParameterName(int index) {
  return TextAnswer(effGetParamName, index);
}
std::string Vst2Plugin::ParameterDisplay(int index) {
  return TextAnswer(effGetParamDisplay, index);
}
std::string Vst2Plugin::ParameterLabel(int index) {
  return TextAnswer(effGetParamLabel, index);
}

double Vst2Plugin::Normalized(int index) {
  return effect->getParameter(effect, index);
}

void Vst2Plugin::SetNormalized(int index, double value) {
  effect->setParameter(effect, index, static_cast<float>(value));
}

// The live value goes back exactly through the program state where the plug-in offers it: a
// normalised float would not bring every value back to the last digit.
std::string Vst2Plugin::DisplayAt(int index, double normalized) {
  const std::vector<uint8_t> state = Chunk(true);
  const float value = effect->getParameter(effect, index);
  SetNormalized(index, normalized);
  const std::string text = ParameterDisplay(index);
  if (state.empty() || !SetChunk(true, state)) {
    effect->setParameter(effect, index, value);
  }
  return text;
}

// VST 2 reads texts only into the live value: read it there and put the old value back.
bool Vst2Plugin::TextToNormalized(int index, const std::string& text, double* normalized) {
  const std::vector<uint8_t> state = Chunk(true);
  const float value = effect->getParameter(effect, index);
  if (!SetFromText(index, text)) {
    return false;
  }
  *normalized = effect->getParameter(effect, index);
  if (state.empty() || !SetChunk(true, state)) {
    effect->setParameter(effect, index, value);
  }
  return true;
}

bool Vst2Plugin::ProcessesDouble() const {
  return HasFlag(effFlagsCanDoubleReplacing) && effect->processDoubleReplacing;
}

std::vector<std::string> Vst2Plugin::Buses() {
  return {"audio in: " + std::to_string(effect->numInputs) + " channels",
          "audio out: " + std::to_string(effect->numOutputs) + " channels",
          std::string("MIDI in: ") +
              (Dispatch(effCanDo, 0, 0, const_cast<char*>("receiveVstMidiEvent")) > 0
                   ? "yes"
                   : "not announced")};
}

bool Vst2Plugin::TakesText(int index) {
  return Dispatch(effString2Parameter, index, 0, nullptr) != 0;
}

bool Vst2Plugin::SetFromText(int index, const std::string& text) {
  std::vector<char> copy(text.begin(), text.end());
  copy.push_back('\0');
  return Dispatch(effString2Parameter, index, 0, copy.data()) != 0;
}

std::vector<uint8_t> Vst2Plugin::Chunk(bool program) {
  void* data = nullptr;
  const VstIntPtr size = Dispatch(effGetChunk, program ? 1 : 0, 0, &data);
  if (size <= 0 || !data) {
    return {};
  }
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  return std::vector<uint8_t>(bytes, bytes + size);
}

namespace {
void AppendInt(std::vector<uint8_t>* bytes, int32_t value) {
  const auto* raw = reinterpret_cast<const uint8_t*>(&value);
  bytes->insert(bytes->end(), raw, raw + sizeof(value));
}

bool ReadInt(const std::vector<uint8_t>& bytes, size_t* at, int32_t* value) {
  if (bytes.size() - *at < sizeof(*value)) {
    return false;
  }
  std::memcpy(value, bytes.data() + *at, sizeof(*value));
  *at += sizeof(*value);
  return true;
}
} // namespace

std::vector<uint8_t> Vst2Plugin::SaveState() {
  std::vector<uint8_t> bytes;
  AppendInt(&bytes, CurrentProgram());
  if (HasFlag(effFlagsProgramChunks)) {
    const std::vector<uint8_t> chunk = Chunk(true);
    bytes.insert(bytes.end(), chunk.begin(), chunk.end());
    return bytes;
  }
  for (int i = 0; i < effect->numParams; ++i) {
    const float value = effect->getParameter(effect, i);
    const auto* raw = reinterpret_cast<const uint8_t*>(&value);
    bytes.insert(bytes.end(), raw, raw + sizeof(value));
  }
  return bytes;
}

bool Vst2Plugin::LoadState(const std::vector<uint8_t>& bytes) {
  size_t at = 0;
  int32_t program = 0;
  const bool chunks = HasFlag(effFlagsProgramChunks);
  const size_t values = sizeof(float) * static_cast<size_t>(effect->numParams);
  if (!ReadInt(bytes, &at, &program) || program < 0 ||
      (program >= effect->numPrograms && effect->numPrograms > 0) ||
      (!chunks && bytes.size() - at != values)) {
    return false;
  }
  if (effect->numPrograms > 0) {
    SelectProgram(program);
  }
  if (chunks) {
    return SetChunk(
        true, std::vector<uint8_t>(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.end()));
  }
  for (int i = 0; i < effect->numParams; ++i) {
    float value = 0.0f;
    std::memcpy(&value, bytes.data() + at + sizeof(float) * static_cast<size_t>(i), sizeof(value));
    effect->setParameter(effect, i, value);
  }
  return true;
}

bool Vst2Plugin::SetChunk(bool program, const std::vector<uint8_t>& bytes) {
  // The plug-in may keep reading while the call lasts only; it gets a copy it cannot disturb.
  std::vector<uint8_t> copy(bytes);
  return Dispatch(effSetChunk, program ? 1 : 0, static_cast<VstIntPtr>(copy.size()), copy.data()) !=
         0;
}

bool Vst2Plugin::Start(double sampleRate, int blockFrames, bool doublePrecision, std::string*) {
  IScopedLock control(HostControlLock());
  Stop();
  Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
  Dispatch(effSetBlockSize, 0, blockFrames);
  // Precision is told while processing is off, as plug-ins expect.
  precisionAccepted =
      Dispatch(effSetProcessPrecision, 0,
               doublePrecision ? kVstProcessPrecision64 : kVstProcessPrecision32) == 1;
  midi.reserve(kEventRoom);
  sysex.reserve(kEventRoom);
  list.reserve(kEventRoom + offsetof(VstEvents, events) / sizeof(VstEvent*));
  timeInfo = {};
  timeInfo.sampleRate = sampleRate;
  transportWasPlaying = false;
  Dispatch(effMainsChanged, 0, 1);
  Dispatch(effStartProcess);
  processing = true;
  return true;
}

void Vst2Plugin::Stop() {
  IScopedLock control(HostControlLock());
  if (processing) {
    Dispatch(effStopProcess);
    Dispatch(effMainsChanged, 0, 0);
    processing = false;
  }
}

void Vst2Plugin::SetTransport(int64_t samplePosition, double tempo, bool playing) {
  const double position = static_cast<double>(samplePosition);
  const double quarterNotes = position / timeInfo.sampleRate * tempo / 60.0;
  timeInfo.samplePos = position;
  timeInfo.ppqPos = quarterNotes;
  timeInfo.tempo = tempo;
  timeInfo.barStartPos = std::floor(quarterNotes / 4.0) * 4.0;
  timeInfo.timeSigNumerator = 4;
  timeInfo.timeSigDenominator = 4;
  timeInfo.flags = kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstTimeSigValid;
  if (playing) {
    timeInfo.flags |= kVstTransportPlaying;
  }
  if (playing != transportWasPlaying || samplePosition == 0) {
    timeInfo.flags |= kVstTransportChanged;
  }
  transportWasPlaying = playing;
}

void Vst2Plugin::SendMidi(const HostedEvent* events, size_t count) {
  midi.clear();
  sysex.clear();
  size_t sent = 0;
  // Records first, then pointers: the record lists must not move once pointed at.
  for (size_t i = 0; i < count; ++i) {
    const HostedEvent& event = events[i];
    if (event.kind == HostedEventKind::Midi) {
      VstMidiEvent record = {};
      record.type = kVstMidiType;
      record.byteSize = sizeof(VstMidiEvent);
      record.deltaFrames = event.frame;
      for (int b = 0; b < 3; ++b) {
        record.midiData[b] = static_cast<char>(event.midi[b]);
      }
      midi.push_back(record);
      ++sent;
    } else if (event.kind == HostedEventKind::Sysex) {
      VstMidiSysexEvent record = {};
      record.type = kVstSysExType;
      record.byteSize = sizeof(VstMidiSysexEvent);
      record.deltaFrames = event.frame;
      record.dumpBytes = static_cast<VstInt32>(event.sysexSize);
      record.sysexDump = reinterpret_cast<char*>(const_cast<uint8_t*>(event.sysex));
      sysex.push_back(record);
      ++sent;
    }
  }
  if (sent == 0) {
    return;
  }
  // VstEvents ends in a variable-length pointer array: laid out in pointer-sized storage.
  const size_t firstSlot = offsetof(VstEvents, events) / sizeof(VstEvent*);
  list.assign(firstSlot + std::max<size_t>(sent, 2), nullptr);
  size_t midiIndex = 0;
  size_t sysexIndex = 0;
  size_t slot = firstSlot;
  // The list keeps the events' order, short and system-exclusive ones interleaved as given.
  for (size_t i = 0; i < count; ++i) {
    if (events[i].kind == HostedEventKind::Midi) {
      list[slot++] = reinterpret_cast<VstEvent*>(&midi[midiIndex++]);
    } else if (events[i].kind == HostedEventKind::Sysex) {
      list[slot++] = reinterpret_cast<VstEvent*>(&sysex[sysexIndex++]);
    }
  }
  VstEvents* header = reinterpret_cast<VstEvents*>(list.data());
  header->numEvents = static_cast<VstInt32>(sent);
  header->reserved = 0;
  Dispatch(effProcessEvents, 0, 0, header);
}

// Parameter changes take effect at the block's start: the caller splits blocks at their frames.
void Vst2Plugin::SendEvents(const HostedEvent* events, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    if (events[i].kind == HostedEventKind::Parameter) {
      SetNormalized(events[i].parameter, events[i].normalized);
    }
  }
  SendMidi(events, count);
}

void Vst2Plugin::Process(float* const* inputs, float* const* outputs, int frames,
                         const HostedEvent* events, size_t count) {
  SendEvents(events, count);
  float** in = const_cast<float**>(inputs);
  float** out = const_cast<float**>(outputs);
  if (HasFlag(effFlagsCanReplacing) && effect->processReplacing) {
    effect->processReplacing(effect, in, out, frames);
    return;
  }
  // An accumulating-only plug-in adds to what the outputs hold.
  for (int channel = 0; channel < effect->numOutputs; ++channel) {
    std::memset(out[channel], 0, sizeof(float) * static_cast<size_t>(frames));
  }
  if (effect->process) {
    effect->process(effect, in, out, frames);
  }
}

void Vst2Plugin::Process(double* const* inputs, double* const* outputs, int frames,
                         const HostedEvent* events, size_t count) {
  SendEvents(events, count);
  effect->processDoubleReplacing(effect, const_cast<double**>(inputs),
                                 const_cast<double**>(outputs), frames);
}
