// A small VST 2 plug-in with the habits of a delay: one input, two outputs, a reported latency
// and a tail. Output 0 is the input delayed by kLatency frames; output 1 the same delayed by
// kEcho frames more, so it rings on for kEcho frames after the input ends. The latency is
// announced only in the first processing call, as some plug-ins do. Every call around
// processing goes into a log the tests read through TailProbeCallLog. An input sample of
// kInterruptLevel or more raises SIGINT, as a user pressing Ctrl-C during that block.

#include "tests/tools/ProbeExport.h"
#include "vst2/VstAbi.h"

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

namespace {
constexpr int kLatency = 48;
constexpr int kEcho = 400;
constexpr size_t kHistory = 512;
constexpr double kInterruptLevel = 100.0;

std::string callLog;

void Log(const std::string& entry) {
  // Runs of process calls are one entry.
  if (entry.rfind("process", 0) == 0 && callLog.size() >= entry.size() + 1 &&
      callLog.compare(callLog.size() - entry.size() - 1, entry.size() + 1, entry + ";") == 0) {
    return;
  }
  callLog += entry + ";";
}

struct TailProbe {
  AEffect effect = {};
  std::vector<double> history = std::vector<double>(kHistory, 0.0);
  size_t position = 0;
  bool interrupted = false;

  template <typename Sample> void Process(Sample** inputs, Sample** outputs, VstInt32 frames) {
    effect.initialDelay = kLatency;
    for (VstInt32 i = 0; i < frames; ++i) {
      const double in = static_cast<double>(inputs[0][i]);
      if (in >= kInterruptLevel && !interrupted) {
        interrupted = true;
        std::raise(SIGINT);
      }
      history[position % kHistory] = in;
      outputs[0][i] = static_cast<Sample>(history[(position + kHistory - kLatency) % kHistory]);
      outputs[1][i] =
          static_cast<Sample>(history[(position + kHistory - kLatency - kEcho) % kHistory]);
      ++position;
    }
  }
};

TailProbe* ProbeOf(AEffect* effect) {
  return static_cast<TailProbe*>(effect->object);
}

VstIntPtr VSTCALLBACK Dispatcher(AEffect* effect, VstInt32 opcode, VstInt32, VstIntPtr value,
                                 void* ptr, float opt) {
  switch (opcode) {
  case effClose:
    Log("close");
    delete ProbeOf(effect);
    return 0;
  case effSetSampleRate:
    Log("rate " + std::to_string(static_cast<int>(opt)));
    return 0;
  case effSetBlockSize:
    Log("block " + std::to_string(value));
    return 0;
  case effSetProcessPrecision:
    Log("precision " + std::to_string(value));
    return 1;
  case effMainsChanged:
    Log("mains " + std::to_string(value));
    return 0;
  case effStartProcess:
    Log("start");
    return 0;
  case effStopProcess:
    Log("stop");
    return 0;
  case effGetEffectName:
    std::snprintf(static_cast<char*>(ptr), 32, "TailProbe");
    return 1;
  case effGetProgramName:
    std::snprintf(static_cast<char*>(ptr), 24, "Only");
    return 0;
  default:
    return 0;
  }
}

void VSTCALLBACK ProcessFloat(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) {
  Log("process float");
  ProbeOf(effect)->Process(inputs, outputs, frames);
}

void VSTCALLBACK ProcessDouble(AEffect* effect, double** inputs, double** outputs,
                               VstInt32 frames) {
  Log("process double");
  ProbeOf(effect)->Process(inputs, outputs, frames);
}

void VSTCALLBACK SetParameter(AEffect*, VstInt32, float) {}

float VSTCALLBACK GetParameter(AEffect*, VstInt32) {
  return 0.0f;
}
} // namespace

PROBE_EXPORT const char* TailProbeCallLog() {
  return callLog.c_str();
}

PROBE_EXPORT void TailProbeClearCallLog() {
  callLog.clear();
}

PROBE_EXPORT AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback) {
  TailProbe* probe = new TailProbe();
  AEffect& effect = probe->effect;
  effect.magic = kEffectMagic;
  effect.dispatcher = Dispatcher;
  effect.setParameter = SetParameter;
  effect.getParameter = GetParameter;
  effect.processReplacing = ProcessFloat;
  effect.processDoubleReplacing = ProcessDouble;
  effect.numPrograms = 1;
  effect.numInputs = 1;
  effect.numOutputs = 2;
  effect.flags = effFlagsCanReplacing | effFlagsCanDoubleReplacing;
  effect.object = probe;
  effect.uniqueID = 0x5461696C; // 'Tail'
  effect.version = 1;
  return &effect;
}
