// A small VST 2 plug-in that makes what the host sends it audible, so the host's side can be
// checked sample by sample: output 0 carries the transport's quarter-note position at the start
// of each block (plus 1000 while the transport is stopped), output 1 the value of the latest
// controller event due by that sample (value / 127), or -1 before any in the block. Every event
// it receives is also written to a log the tests read through ProbeEventLog: its frame counted
// from the start of processing and its bytes.
// PROBE_ENTRY selects the export: 1 VSTPluginMain, 2 only main, 0 neither.

#include "tests/tools/ProbeExport.h"
#include "vst2/VstAbi.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {
constexpr int kParams = 2;
constexpr int kPrograms = 3;
const char* const kProgramNames[kPrograms] = {"Alpha", "Beta", "Gamma"};
const char* const kParamNames[kParams] = {"Gain", "Mode"};

struct Probe {
  AEffect effect = {};
  audioMasterCallback host = nullptr;
  float values[kPrograms][kParams] = {{0.25f, 0.5f}, {0.5f, 0.0f}, {1.0f, 1.0f}};
  char names[kPrograms][32] = {};
  int program = 0;
  std::vector<VstMidiEvent> pending;
  std::vector<uint8_t> chunk;
  long long framesProcessed = 0;
};

// "FRAME HH HH HH;" per event, for every instance in order of arrival.
std::string eventLog;

void LogEvent(long long frame, const unsigned char* bytes, int count) {
  char text[16];
  eventLog += std::to_string(frame);
  for (int i = 0; i < count; ++i) {
    std::snprintf(text, sizeof(text), " %02X", bytes[i]);
    eventLog += text;
  }
  eventLog += ";";
}

Probe* ProbeOf(AEffect* effect) {
  return static_cast<Probe*>(effect->object);
}

void CopyText(void* ptr, const char* text) {
  std::snprintf(static_cast<char*>(ptr), 24, "%s", text);
}

VstIntPtr VSTCALLBACK Dispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                 void* ptr, float) {
  Probe* probe = ProbeOf(effect);
  float* current = probe->values[probe->program];
  switch (opcode) {
  case effClose:
    delete probe;
    return 0;
  case effSetProgram:
    if (value >= 0 && value < kPrograms) {
      probe->program = static_cast<int>(value);
    }
    return 0;
  case effGetProgram:
    return probe->program;
  case effSetProgramName:
    std::snprintf(probe->names[probe->program], 32, "%s", static_cast<const char*>(ptr));
    return 0;
  case effGetProgramName:
    CopyText(ptr, probe->names[probe->program]);
    return 0;
  case effGetProgramNameIndexed:
    if (index < 0 || index >= kPrograms) {
      return 0;
    }
    CopyText(ptr, probe->names[index]);
    return 1;
  case effGetParamName:
    if (index >= 0 && index < kParams) {
      CopyText(ptr, kParamNames[index]);
    }
    return 0;
  case effGetParamLabel:
    CopyText(ptr, index == 0 ? "dB" : "");
    return 0;
  case effGetParamDisplay:
    if (index == 0) {
      std::snprintf(static_cast<char*>(ptr), 24, "%.1f", current[0] * 10.0f);
    } else if (index == 1) {
      CopyText(ptr, current[1] >= 0.5f ? "On" : "Off");
    }
    return 0;
  case effString2Parameter:
    // Only the gain reads texts, and only numbers: 0 to 10 dB.
    if (index != 0) {
      return 0;
    }
    if (ptr) {
      current[0] = static_cast<float>(std::atof(static_cast<const char*>(ptr)) / 10.0);
    }
    return 1;
  case effGetEffectName:
    CopyText(ptr, "Probe");
    return 1;
  case effGetVendorString:
    CopyText(ptr, "Ombrix tests");
    return 1;
  case effGetChunk:
    if (index != 0) {
      probe->chunk.assign(reinterpret_cast<const uint8_t*>(current),
                          reinterpret_cast<const uint8_t*>(current + kParams));
    } else {
      probe->chunk.assign(reinterpret_cast<const uint8_t*>(probe->values),
                          reinterpret_cast<const uint8_t*>(probe->values) + sizeof(probe->values));
    }
    *static_cast<void**>(ptr) = probe->chunk.data();
    return static_cast<VstIntPtr>(probe->chunk.size());
  case effSetChunk:
    if (index != 0 && value == sizeof(float) * kParams) {
      std::memcpy(current, ptr, sizeof(float) * kParams);
      return 1;
    }
    if (index == 0 && value == sizeof(probe->values)) {
      std::memcpy(probe->values, ptr, sizeof(probe->values));
      return 1;
    }
    return 0;
  case effProcessEvents: {
    const VstEvents* events = static_cast<const VstEvents*>(ptr);
    for (int i = 0; i < events->numEvents; ++i) {
      const VstEvent* event = events->events[i];
      const long long frame = probe->framesProcessed + event->deltaFrames;
      if (event->type == kVstMidiType) {
        const VstMidiEvent* midi = reinterpret_cast<const VstMidiEvent*>(event);
        probe->pending.push_back(*midi);
        LogEvent(frame, reinterpret_cast<const unsigned char*>(midi->midiData), 3);
      } else if (event->type == kVstSysExType) {
        const VstMidiSysexEvent* sysex = reinterpret_cast<const VstMidiSysexEvent*>(event);
        LogEvent(frame, reinterpret_cast<const unsigned char*>(sysex->sysexDump), sysex->dumpBytes);
      }
    }
    return 1;
  }
  default:
    return 0;
  }
}

void VSTCALLBACK ProcessReplacing(AEffect* effect, float**, float** outputs, VstInt32 frames) {
  Probe* probe = ProbeOf(effect);
  const VstTimeInfo* time = reinterpret_cast<const VstTimeInfo*>(
      probe->host(effect, audioMasterGetTime, 0, kVstPpqPosValid, nullptr, 0.0f));
  float position = -1.0f;
  if (time && (time->flags & kVstPpqPosValid)) {
    position = static_cast<float>(time->ppqPos);
    if (!(time->flags & kVstTransportPlaying)) {
      position += 1000.0f;
    }
  }
  for (VstInt32 i = 0; i < frames; ++i) {
    outputs[0][i] = position;
    float controller = -1.0f;
    for (const VstMidiEvent& event : probe->pending) {
      if (event.deltaFrames <= i && static_cast<uint8_t>(event.midiData[1]) == 69) {
        controller = static_cast<float>(static_cast<uint8_t>(event.midiData[2])) / 127.0f;
      }
    }
    outputs[1][i] = controller;
  }
  probe->pending.clear();
  probe->framesProcessed += frames;
}

void VSTCALLBACK SetParameter(AEffect* effect, VstInt32 index, float value) {
  Probe* probe = ProbeOf(effect);
  if (index >= 0 && index < kParams) {
    probe->values[probe->program][index] = value;
  }
}

float VSTCALLBACK GetParameter(AEffect* effect, VstInt32 index) {
  Probe* probe = ProbeOf(effect);
  return index >= 0 && index < kParams ? probe->values[probe->program][index] : 0.0f;
}

AEffect* CreateProbe(audioMasterCallback host) {
  Probe* probe = new Probe();
  probe->host = host;
  for (int i = 0; i < kPrograms; ++i) {
    std::snprintf(probe->names[i], 32, "%s", kProgramNames[i]);
  }
  AEffect& effect = probe->effect;
  effect.magic = kEffectMagic;
  effect.dispatcher = Dispatcher;
  effect.setParameter = SetParameter;
  effect.getParameter = GetParameter;
  effect.processReplacing = ProcessReplacing;
  effect.numPrograms = kPrograms;
  effect.numParams = kParams;
  effect.numInputs = 2;
  effect.numOutputs = 2;
  effect.flags = effFlagsCanReplacing | effFlagsProgramChunks;
  effect.object = probe;
  effect.uniqueID = 0x50726F62; // 'Prob'
  effect.version = 7;
  return &effect;
}
} // namespace

PROBE_EXPORT const char* ProbeEventLog() {
  return eventLog.c_str();
}

PROBE_EXPORT void ProbeClearEventLog() {
  eventLog.clear();
}

#if PROBE_ENTRY == 1
PROBE_EXPORT AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback host) {
  return CreateProbe(host);
}
#elif PROBE_ENTRY == 2
#ifdef _WIN32
// Exported as "main" by probe_main.def: a symbol of that name cannot be declared in C++.
extern "C" AEffect* VSTCALLBACK ProbeLegacyEntry(audioMasterCallback host);
#else
PROBE_EXPORT AEffect* VSTCALLBACK ProbeLegacyEntry(audioMasterCallback host) __asm__("main");
#endif
AEffect* VSTCALLBACK ProbeLegacyEntry(audioMasterCallback host) {
  return CreateProbe(host);
}
#else
// An entry under a name no host looks for.
PROBE_EXPORT AEffect* VSTCALLBACK CreateEffect(audioMasterCallback host) {
  return CreateProbe(host);
}
#endif
