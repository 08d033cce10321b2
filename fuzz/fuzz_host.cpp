#include "fuzz/FuzzHost.h"

#include "fuzz/ReusedPlugin.h"
#include "vst2/PluginEntry.h"

FuzzHost::FuzzHost() {
  effect = VSTPluginMain(Callback);
  FuzzCheck(effect != nullptr, "the entry point makes a plug-in");
  effect->user = this;
}

FuzzHost::~FuzzHost() {
  Dispatch(effClose);
}

void FuzzHost::Process(int frames) {
  left.assign(static_cast<size_t>(frames > 0 ? frames : 0) + 1, 0.5);
  right.assign(left.size(), -0.25);
  double* channels[2] = {left.data(), right.data()};
  effect->processDoubleReplacing(effect, channels, channels, frames);
}

void FuzzHost::ForgetEvents() {
  passedOn.clear();
  sysexPassedOn = 0;
}

VstIntPtr VSTCALLBACK FuzzHost::Callback(AEffect* effect, VstInt32 opcode, VstInt32, VstIntPtr,
                                         void* ptr, float) {
  FuzzHost* host = effect ? static_cast<FuzzHost*>(effect->user) : nullptr;
  if (opcode == audioMasterVersion) {
    return 2400;
  }
  if (opcode == audioMasterProcessEvents && host && ptr) {
    host->TakeEvents(static_cast<const VstEvents*>(ptr));
    return 1;
  }
  return 0;
}

void FuzzHost::TakeEvents(const VstEvents* events) {
  for (VstInt32 i = 0; i < events->numEvents; ++i) {
    const VstEvent* event = events->events[i];
    FuzzCheck(event != nullptr, "no null event is passed on");
    if (event->type == kVstMidiType) {
      passedOn.push_back(*reinterpret_cast<const VstMidiEvent*>(event));
    } else if (event->type == kVstSysExType) {
      const auto* sysex = reinterpret_cast<const VstMidiSysexEvent*>(event);
      volatile unsigned sum = 0;
      for (VstInt32 b = 0; b < sysex->dumpBytes; ++b) {
        sum = sum + static_cast<unsigned char>(sysex->sysexDump[b]);
      }
      ++sysexPassedOn;
    }
  }
}

// One plug-in made before the first input fills the process-wide image cache, so no input pays
// for decoding the editor's pictures (seconds under the sanitizers) and trips the time limit.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  ResetCheck::TakeArtifactPrefix(*argc, *argv);
  FuzzHost warmUp;
  return 0;
}
