#include "tests/stress/StressHost.h"

#include "editor/Editor.h"
#include "vst2/IVst2Plugin.h"
#include "vst2/PluginEntry.h"

namespace {
// A transport that is playing on an odd beat, so the beat animation has work to do.
const VstTimeInfo playingTime = [] {
  VstTimeInfo time = {};
  time.sampleRate = 44100.0;
  time.ppqPos = 3.5;
  time.tempo = 120.0;
  time.flags = kVstTransportPlaying | kVstPpqPosValid | kVstTempoValid;
  return time;
}();
} // namespace

StressHost::StressHost() {
  effect = VSTPluginMain(Callback);
  if (effect) {
    effect->user = this;
    editor = dynamic_cast<IEditor*>(IVst2Plugin::FromEffect(effect)->Editor());
  }
}

StressHost::~StressHost() {
  if (effect) {
    Dispatch(effClose);
  }
}

VstIntPtr StressHost::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                               float opt) {
  return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

void StressHost::Start(int blockFrames) {
  Dispatch(effOpen);
  Dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
  Dispatch(effSetBlockSize, 0, blockFrames);
  Dispatch(effMainsChanged, 0, 1);
}

void StressHost::SendEvents(std::vector<VstMidiEvent> events) {
  // The pointer array grows past the two entries the record declares, as hosts allocate it.
  std::vector<char> storage(sizeof(VstEvents) + events.size() * sizeof(VstEvent*));
  auto* list = reinterpret_cast<VstEvents*>(storage.data());
  list->numEvents = static_cast<VstInt32>(events.size());
  VstEvent** entries = list->events;
  for (size_t i = 0; i < events.size(); ++i) {
    entries[i] = reinterpret_cast<VstEvent*>(&events[i]);
  }
  Dispatch(effProcessEvents, 0, 0, list);
}

std::vector<char> StressHost::SaveChunk(bool program) {
  void* data = nullptr;
  const VstIntPtr size = Dispatch(effGetChunk, program ? 1 : 0, 0, &data);
  const char* bytes = static_cast<const char*>(data);
  return size > 0 && bytes ? std::vector<char>(bytes, bytes + size) : std::vector<char>();
}

VstIntPtr StressHost::LoadChunk(bool program, std::vector<char> block) {
  return Dispatch(effSetChunk, program ? 1 : 0, static_cast<VstIntPtr>(block.size()), block.data());
}

std::vector<float> StressHost::ParameterValues() {
  std::vector<float> values;
  for (VstInt32 i = 0; i < effect->numParams; ++i) {
    values.push_back(effect->getParameter(effect, i));
  }
  return values;
}

std::vector<VstMidiEvent> StressHost::PassedOn() {
  std::lock_guard<std::mutex> guard(mutex);
  return passedOn;
}

VstIntPtr VSTCALLBACK StressHost::Callback(AEffect* effect, VstInt32 opcode, VstInt32, VstIntPtr,
                                           void* ptr, float) {
  StressHost* host = effect ? static_cast<StressHost*>(effect->user) : nullptr;
  switch (opcode) {
  case audioMasterVersion:
    return 2400;
  case audioMasterGetTime:
    return reinterpret_cast<VstIntPtr>(&playingTime);
  case audioMasterProcessEvents: {
    if (!host || !ptr) {
      return 0;
    }
    const auto* list = static_cast<const VstEvents*>(ptr);
    VstEvent* const* entries = list->events;
    std::lock_guard<std::mutex> guard(host->mutex);
    for (VstInt32 i = 0; i < list->numEvents; ++i) {
      if (entries[i] && entries[i]->type == kVstMidiType) {
        host->passedOn.push_back(*reinterpret_cast<const VstMidiEvent*>(entries[i]));
      }
    }
    return 1;
  }
  default:
    return 0;
  }
}
