#include "tools/render/PluginHost.h"

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
PluginHost* hostInCreation = nullptr;

constexpr char kHostProduct[] = "ombrix-render";

std::string Trimmed(const char* text) {
  std::string result(text);
  while (!result.empty() && result.back() == ' ') {
    result.pop_back();
  }
  return result;
}
} // namespace

IRecursiveLock& PluginHost::ControlLock() {
  static IRecursiveLock lock;
  return lock;
}

std::unique_ptr<PluginHost> PluginHost::Load(const std::string& path, std::string* error) {
  IScopedLock control(ControlLock());
  std::unique_ptr<PluginHost> host(new PluginHost());
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
    *error = "cannot load plug-in " + path + ": it exports neither VSTPluginMain nor main";
    return nullptr;
  }
  hostInCreation = host.get();
  AEffect* effect = reinterpret_cast<VstPluginMainProc>(entry)(&PluginHost::HostCallback);
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

PluginHost::~PluginHost() {
  IScopedLock control(ControlLock());
  if (!effect) {
    return;
  }
  Stop();
  Dispatch(effClose);
  effect = nullptr;
}

VstIntPtr PluginHost::HostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                   VstIntPtr value, void* ptr, float) {
  PluginHost* host =
      effect && effect->resvd1 ? reinterpret_cast<PluginHost*>(effect->resvd1) : hostInCreation;
  if (opcode == audioMasterVersion) {
    return 2400;
  }
  return host ? host->Answer(opcode, index, value, ptr) : 0;
}

VstIntPtr PluginHost::Answer(VstInt32 opcode, VstInt32, VstIntPtr, void* ptr) {
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

VstIntPtr PluginHost::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                               float opt) {
  return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

std::string PluginHost::TextAnswer(VstInt32 opcode, VstInt32 index) {
  char text[kTextBytes] = {};
  Dispatch(opcode, index, 0, text);
  text[kTextBytes - 1] = '\0';
  return Trimmed(text);
}

bool PluginHost::EditorSize(int* width, int* height) {
  ERect* rect = nullptr;
  if (!HasFlag(effFlagsHasEditor) || Dispatch(effEditGetRect, 0, 0, &rect) == 0 || !rect) {
    return false;
  }
  *width = rect->right - rect->left;
  *height = rect->bottom - rect->top;
  return *width > 0 && *height > 0;
}

std::string PluginHost::EffectName() {
  return TextAnswer(effGetEffectName, 0);
}
std::string PluginHost::VendorName() {
  return TextAnswer(effGetVendorString, 0);
}
std::string PluginHost::ProductName() {
  return TextAnswer(effGetProductString, 0);
}

int PluginHost::CurrentProgram() {
  return static_cast<int>(Dispatch(effGetProgram));
}

void PluginHost::SelectProgram(int index) {
  Dispatch(effSetProgram, 0, index);
}

std::string PluginHost::ProgramName(int index) {
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

std::string PluginHost::CurrentProgramName() {
  return TextAnswer(effGetProgramName, 0);
}

void PluginHost::RenameCurrentProgram(const std::string& name) {
  char text[kTextBytes] = {};
  std::strncpy(text, name.c_str(), kTextBytes - 1);
  Dispatch(effSetProgramName, 0, 0, text);
}

std::string PluginHost::ParameterName(int index) {
  return TextAnswer(effGetParamName, index);
}
std::string PluginHost::ParameterDisplay(int index) {
  return TextAnswer(effGetParamDisplay, index);
}
std::string PluginHost::ParameterLabel(int index) {
  return TextAnswer(effGetParamLabel, index);
}

float PluginHost::Normalized(int index) {
  return effect->getParameter(effect, index);
}

void PluginHost::SetNormalized(int index, float value) {
  effect->setParameter(effect, index, value);
}

bool PluginHost::TakesText(int index) {
  return Dispatch(effString2Parameter, index, 0, nullptr) != 0;
}

bool PluginHost::SetFromText(int index, const std::string& text) {
  std::vector<char> copy(text.begin(), text.end());
  copy.push_back('\0');
  return Dispatch(effString2Parameter, index, 0, copy.data()) != 0;
}

std::vector<uint8_t> PluginHost::Chunk(bool program) {
  void* data = nullptr;
  const VstIntPtr size = Dispatch(effGetChunk, program ? 1 : 0, 0, &data);
  if (size <= 0 || !data) {
    return {};
  }
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  return std::vector<uint8_t>(bytes, bytes + size);
}

bool PluginHost::SetChunk(bool program, const std::vector<uint8_t>& bytes) {
  // The plug-in may keep reading while the call lasts only; it gets a copy it cannot disturb.
  std::vector<uint8_t> copy(bytes);
  return Dispatch(effSetChunk, program ? 1 : 0, static_cast<VstIntPtr>(copy.size()), copy.data()) !=
         0;
}

void PluginHost::Start(double sampleRate, int blockFrames, bool doublePrecision) {
  IScopedLock control(ControlLock());
  Stop();
  Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
  Dispatch(effSetBlockSize, 0, blockFrames);
  // Precision is told while processing is off, as plug-ins expect.
  precisionAccepted =
      Dispatch(effSetProcessPrecision, 0,
               doublePrecision ? kVstProcessPrecision64 : kVstProcessPrecision32) == 1;
  timeInfo = {};
  timeInfo.sampleRate = sampleRate;
  transportWasPlaying = false;
  Dispatch(effMainsChanged, 0, 1);
  Dispatch(effStartProcess);
  processing = true;
}

void PluginHost::Stop() {
  IScopedLock control(ControlLock());
  if (processing) {
    Dispatch(effStopProcess);
    Dispatch(effMainsChanged, 0, 0);
    processing = false;
  }
}

void PluginHost::SetTransport(int64_t samplePosition, double tempo, bool playing) {
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

void PluginHost::SendEvents(VstEvents* events) {
  if (events) {
    Dispatch(effProcessEvents, 0, 0, events);
  }
}

void PluginHost::ProcessFloat(float** inputs, float** outputs, int frames) {
  if (HasFlag(effFlagsCanReplacing) && effect->processReplacing) {
    effect->processReplacing(effect, inputs, outputs, frames);
    return;
  }
  // An accumulating-only plug-in adds to what the outputs hold.
  for (int channel = 0; channel < effect->numOutputs; ++channel) {
    std::memset(outputs[channel], 0, sizeof(float) * static_cast<size_t>(frames));
  }
  if (effect->process) {
    effect->process(effect, inputs, outputs, frames);
  }
}

void PluginHost::ProcessDouble(double** inputs, double** outputs, int frames) {
  effect->processDoubleReplacing(effect, inputs, outputs, frames);
}
