// A VST 2 plug-in that misbehaves on purpose, at files of 22050 Hz only (others pass through):
// its one parameter "Misbehave" picks what it does in its first block there: nothing (below
// 0.25), samples that are not numbers (below 0.5), a crash (below 0.75) or a block that never
// returns.

#include "tests/tools/ProbeExport.h"
#include "vst2/VstAbi.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <limits>
#include <thread>

namespace {
constexpr float kMisbehavingRate = 22050.0f;
constexpr float kNotANumber = 0.25f;
constexpr float kCrash = 0.5f;
constexpr float kHang = 0.75f;
int* volatile nowhere = nullptr;

struct Probe {
  AEffect effect = {};
  float misbehave = 0.0f;
  float rate = 44100.0f;
};

Probe* ProbeOf(AEffect* effect) {
  return static_cast<Probe*>(effect->object);
}

VstIntPtr VSTCALLBACK Dispatcher(AEffect* effect, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr,
                                 float opt) {
  switch (opcode) {
  case effClose:
    delete ProbeOf(effect);
    return 0;
  case effSetSampleRate:
    ProbeOf(effect)->rate = opt;
    return 0;
  case effGetEffectName:
    std::snprintf(static_cast<char*>(ptr), 32, "Misbehaving");
    return 1;
  case effGetParamName:
    std::snprintf(static_cast<char*>(ptr), 32, "Misbehave");
    return 0;
  default:
    return 0;
  }
}

void VSTCALLBACK Process(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) {
  const Probe& probe = *ProbeOf(effect);
  const bool misbehaving = probe.rate == kMisbehavingRate;
  if (misbehaving && probe.misbehave >= kHang) {
    while (true) {
      std::this_thread::sleep_for(std::chrono::seconds(1));
    }
  }
  if (misbehaving && probe.misbehave >= kCrash) {
    // A write through a null pointer, as a faulty plug-in makes it: a segmentation fault, or an
    // access violation on Windows.
    *nowhere = 1;
  }
  const bool notANumber = misbehaving && probe.misbehave >= kNotANumber;
  for (int channel = 0; channel < 2; ++channel) {
    for (VstInt32 i = 0; i < frames; ++i) {
      outputs[channel][i] =
          notANumber ? std::numeric_limits<float>::quiet_NaN() : inputs[channel][i];
    }
  }
}

void VSTCALLBACK SetParameter(AEffect* effect, VstInt32, float value) {
  ProbeOf(effect)->misbehave = value;
}

float VSTCALLBACK GetParameter(AEffect* effect, VstInt32) {
  return ProbeOf(effect)->misbehave;
}
} // namespace

PROBE_EXPORT AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback) {
  Probe* probe = new Probe();
  AEffect& effect = probe->effect;
  effect.magic = kEffectMagic;
  effect.dispatcher = Dispatcher;
  effect.setParameter = SetParameter;
  effect.getParameter = GetParameter;
  effect.processReplacing = Process;
  effect.numParams = 1;
  effect.numInputs = 2;
  effect.numOutputs = 2;
  effect.flags = effFlagsCanReplacing;
  effect.object = probe;
  return &effect;
}
