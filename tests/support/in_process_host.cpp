#include "tests/support/InProcessHost.h"

#include "vst2/IVst2Plugin.h"
#include "vst2/PluginEntry.h"

namespace {
// The entry point has no way to hand over the host object before the effect record exists;
// the record's user field takes it right after.
thread_local InProcessHost* creatingHost = nullptr;
} // namespace

InProcessHost::InProcessHost(Recording recording) : recording(recording) {
  creatingHost = this;
  effect = VSTPluginMain(Callback);
  creatingHost = nullptr;
  if (effect) {
    effect->user = this;
    editor = dynamic_cast<IEditor*>(IVst2Plugin::FromEffect(effect)->Editor());
  }
}

InProcessHost::~InProcessHost() {
  if (effect) {
    Dispatch(effClose);
  }
}

void InProcessHost::SendMidi(int offset, int status, int data1, int data2) {
  SendEvents({Midi(offset, status, data1, data2)});
}

void InProcessHost::Process(double left, double right, int frames) {
  std::vector<float> inLeft(static_cast<size_t>(frames), static_cast<float>(left));
  std::vector<float> inRight(static_cast<size_t>(frames), static_cast<float>(right));
  outLeft.assign(static_cast<size_t>(frames), 0.0f);
  outRight.assign(static_cast<size_t>(frames), 0.0f);
  float* inputs[2] = {inLeft.data(), inRight.data()};
  float* outputs[2] = {outLeft.data(), outRight.data()};
  effect->processReplacing(effect, inputs, outputs, frames);
}

void InProcessHost::SetBeat(double ppq) {
  std::lock_guard<std::mutex> guard(mutex);
  suppliesTime = true;
  time = VstTimeInfo{};
  time.sampleRate = 44100.0;
  time.tempo = 120.0;
  time.ppqPos = ppq;
  time.timeSigNumerator = 4;
  time.timeSigDenominator = 4;
  time.flags = kVstTransportPlaying | kVstPpqPosValid | kVstTempoValid;
}

std::vector<HostCall> InProcessHost::Calls() {
  std::lock_guard<std::mutex> guard(mutex);
  return calls;
}

std::vector<HostCall> InProcessHost::CallsOf(VstInt32 opcode) {
  return Matching(Calls(), opcode);
}

void InProcessHost::ClearCalls() {
  std::lock_guard<std::mutex> guard(mutex);
  calls.clear();
}

std::vector<VstMidiEvent> InProcessHost::PassedOn() {
  return MidiPassedOn(Calls());
}

VstIntPtr VSTCALLBACK InProcessHost::Callback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                              VstIntPtr value, void* ptr, float opt) {
  InProcessHost* host = effect ? static_cast<InProcessHost*>(effect->user) : nullptr;
  if (!host) {
    host = creatingHost;
  }
  if (!host) {
    return 0;
  }
  HostCall call;
  call.opcode = opcode;
  call.index = index;
  call.value = value;
  call.opt = opt;
  if (opcode == audioMasterProcessEvents && ptr) {
    call.midiEvents = MidiEventsOf(static_cast<const VstEvents*>(ptr));
  }
  if (host->recording == Recording::EveryCall || !call.midiEvents.empty()) {
    std::lock_guard<std::mutex> guard(host->mutex);
    host->calls.push_back(call);
  }
  switch (opcode) {
  case audioMasterVersion:
    return 2400;
  case audioMasterGetTime:
    return host->suppliesTime ? reinterpret_cast<VstIntPtr>(&host->time) : 0;
  case audioMasterProcessEvents:
    return 1;
  default:
    return 0;
  }
}
