#include "tests/vst2/TestHost.h"

#include "tests/vst2/PluginModule.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>

namespace {
std::atomic<int> callsWithoutHost{0};
} // namespace

PluginModule& BuiltPlugin() {
  static PluginModule module(OMBRIX_PLUGIN_FILE);
  return module;
}

TestHost::TestHost(const char* entryName) {
  VstPluginMainProc entry = BuiltPlugin().Entry(entryName);
  if (entry) {
    effect = entry(Callback);
  }
  if (effect) {
    effect->user = this;
  }
}

TestHost::~TestHost() {
  Close();
}

void TestHost::Close() {
  if (effect) {
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    effect = nullptr;
  }
}

std::string TestHost::Text(VstInt32 opcode, VstInt32 index) {
  char buffer[256];
  std::memset(buffer, 0, sizeof(buffer));
  Dispatch(opcode, index, 0, buffer);
  buffer[sizeof(buffer) - 1] = '\0';
  return buffer;
}

std::vector<HostCall> TestHost::CallsOf(VstInt32 opcode) const {
  return Matching(calls, opcode);
}

int TestHost::CountOf(VstInt32 opcode) const {
  return static_cast<int>(std::count_if(
      calls.begin(), calls.end(), [opcode](const HostCall& c) { return c.opcode == opcode; }));
}

std::vector<VstInt32> TestHost::EditOpcodes() const {
  std::vector<VstInt32> opcodes;
  for (const HostCall& call : calls) {
    if (call.opcode == audioMasterBeginEdit || call.opcode == audioMasterEndEdit ||
        call.opcode == audioMasterAutomate) {
      opcodes.push_back(call.opcode);
    }
  }
  return opcodes;
}

void TestHost::ProcessTone(float amplitude, int blocks) {
  constexpr int frames = 512;
  StereoBuffers<float> buffers(frames);
  for (int block = 0; block < blocks; ++block) {
    for (int i = 0; i < frames; ++i) {
      buffers.left[i] = buffers.right[i] = amplitude * std::sin(0.05f * (block * frames + i));
    }
    effect->processReplacing(effect, buffers.Inputs(), buffers.Outputs(), frames);
  }
}

std::vector<VstMidiEvent> TestHost::PassedOnEvents() const {
  return MidiPassedOn(calls);
}

int TestHost::CallsBeforeRecordKnown() {
  return callsWithoutHost.load();
}

VstIntPtr VSTCALLBACK TestHost::Callback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                         VstIntPtr value, void* ptr, float opt) {
  TestHost* host = effect ? static_cast<TestHost*>(effect->user) : nullptr;
  if (!host) {
    ++callsWithoutHost;
    return 0;
  }
  return host->Answer(opcode, index, value, ptr, opt);
}

VstIntPtr TestHost::Answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  if (recording == Recording::EveryCall ||
      (recording == Recording::PassedOnMidi && opcode == audioMasterProcessEvents)) {
    HostCall call;
    call.opcode = opcode;
    call.index = index;
    call.value = value;
    call.opt = opt;
    if (opcode == audioMasterProcessEvents && ptr) {
      call.midiEvents = MidiEventsOf(static_cast<const VstEvents*>(ptr));
    }
    calls.push_back(call);
  }

  switch (opcode) {
  case audioMasterGetTime:
    return suppliesTime ? reinterpret_cast<VstIntPtr>(&time) : 0;
  case audioMasterProcessEvents:
    return processEventsAnswer;
  case audioMasterGetCurrentProcessLevel:
    return processLevel;
  case audioMasterGetProductString:
    std::memcpy(ptr, productName.c_str(), std::min<size_t>(productName.size() + 1, 256));
    return productName.empty() ? 0 : 1;
  case audioMasterGetVendorVersion:
    return vendorVersion;
  default:
    return 0;
  }
}
