#include "fuzz/ReusedVst3Plugin.h"

#include "effect/Ombrix.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/Observation.h"
#include "vst3/Vst3Controller.h"
#include "vst3/Vst3Entry.h"

#include <cmath>
#include <cstring>

namespace {
constexpr double SampleRate = 48000.0;
constexpr int ProbeFrames = 1543;
constexpr vst3::ParamID AmountId = 0;

Ombrix& EffectOf(IVst3Plugin& plugin) {
  auto* ombrix = dynamic_cast<Ombrix*>(&plugin);
  FuzzCheck(ombrix != nullptr, "the instance is the effect");
  return *ombrix;
}

template <typename Sample> std::vector<Sample> Signal(uint32_t seed) {
  std::vector<Sample> signal(Vst3FuzzHost::MaxFrames);
  for (Sample& sample : signal) {
    seed = seed * 1664525u + 1013904223u;
    sample = static_cast<Sample>((static_cast<double>(seed >> 8) / 16777216.0 - 0.5) * 2.0);
  }
  return signal;
}

// What a host can see: the saved state, the controller's values, and a probe call with changes
// at frames and notes in, its audio and the events passed back. The probe changes the host.
class Vst3Observation : public Observation {
public:
  static Vst3Observation Of(Vst3FuzzHost& host) {
    Vst3Observation observation;
    observation.NoteValues("the state", host.SaveState());
    std::vector<double> values;
    for (vst3::int32 id = 0; id < host.controller->getParameterCount(); ++id) {
      values.push_back(host.controller->getParamNormalized(static_cast<vst3::ParamID>(id)));
    }
    observation.NoteValues("the controller's values", values);
    observation.NoteValues<int32_t>("the MIDI events waiting",
                                    {EffectOf(*host.plugin).MidiQueue().PendingCount()});
    host.changes.Add(AmountId, 100, 0.5);
    host.changes.Add(AmountId, 900, 0.9);
    vst3::Event note{};
    note.type = vst3::Event::kNoteOnEvent;
    note.sampleOffset = 40;
    note.noteOn = {0, 60, 0.0f, 0.8f, 0, -1};
    host.inputEvents.addEvent(&note);
    host.Process(ProbeFrames, false);
    for (const std::vector<float>& channel : host.floatOut) {
      observation.NoteValues("the probe's audio",
                             std::vector<float>(channel.begin(), channel.begin() + ProbeFrames));
    }
    std::vector<int32_t> passed;
    for (const vst3::Event& event : host.outputEvents.events) {
      passed.push_back(event.sampleOffset);
      passed.push_back(event.type);
    }
    observation.NoteValues("the events the probe passed back", passed);
    observation.NoteValues("the state after the probe", host.SaveState());
    return observation;
  }
};
} // namespace

Vst3FuzzHost::Vst3FuzzHost() : plugin(CreateVst3Instance()), controller(Vst3Controller::Create()) {
  FuzzCheck(plugin && controller, "the processor and the controller are made");
  const vst3::ProcessSetup setup{vst3::kRealtime, vst3::kSample32, MaxFrames, SampleRate};
  plugin->SetupProcessing(setup);
  plugin->SetActive(true);
  for (int c = 0; c < 2; ++c) {
    floatIn[c] = Signal<float>(static_cast<uint32_t>(c + 1));
    doubleIn[c] = Signal<double>(static_cast<uint32_t>(c + 1));
    floatOut[c].assign(MaxFrames, 0.0f);
    doubleOut[c].assign(MaxFrames, 0.0);
  }
}

Vst3FuzzHost::~Vst3FuzzHost() {
  controller->terminate();
  controller->release();
}

void Vst3FuzzHost::Process(int frames, bool doublePrecision) {
  vst3::AudioBusBuffers in{};
  vst3::AudioBusBuffers out{};
  float* floatInputs[2] = {floatIn[0].data(), floatIn[1].data()};
  float* floatOutputs[2] = {floatOut[0].data(), floatOut[1].data()};
  double* doubleInputs[2] = {doubleIn[0].data(), doubleIn[1].data()};
  double* doubleOutputs[2] = {doubleOut[0].data(), doubleOut[1].data()};
  in.numChannels = out.numChannels = 2;
  if (doublePrecision) {
    in.channelBuffers64 = doubleInputs;
    out.channelBuffers64 = doubleOutputs;
  } else {
    in.channelBuffers32 = floatInputs;
    out.channelBuffers32 = floatOutputs;
  }
  vst3::ProcessData data{};
  data.symbolicSampleSize = doublePrecision ? vst3::kSample64 : vst3::kSample32;
  data.numSamples = frames;
  if (frames > 0) {
    data.numInputs = data.numOutputs = 1;
    data.inputs = &in;
    data.outputs = &out;
  }
  data.inputParameterChanges = &changes;
  data.inputEvents = &inputEvents;
  data.outputEvents = &outputEvents;
  outputEvents.events.clear();
  lastFrames = frames;
  FuzzCheck(plugin->Process(data) == vst3::kResultOk, "a process call succeeds");
  changes.Clear();
  inputEvents.events.clear();
  if (!doublePrecision) {
    for (int c = 0; c < 2; ++c) {
      for (int i = 0; i < frames; ++i) {
        doubleOut[c][static_cast<size_t>(i)] = floatOut[c][static_cast<size_t>(i)];
      }
    }
  }
}

std::vector<uint8_t> Vst3FuzzHost::SaveState() {
  std::vector<uint8_t> bytes;
  FuzzCheck(plugin->SaveComponentState(&bytes), "the state saves");
  return bytes;
}

void CheckVst3Outputs(const Vst3FuzzHost& host) {
  for (const std::vector<double>& channel : host.doubleOut) {
    for (int i = 0; i < host.lastFrames; ++i) {
      const double value = channel[static_cast<size_t>(i)];
      FuzzCheck(std::isfinite(value) && std::fabs(value) <= 1.0,
                "processed audio stays finite and within +-1");
    }
  }
  for (const vst3::Event& event : host.outputEvents.events) {
    FuzzCheck(event.sampleOffset >= 0 &&
                  (host.lastFrames == 0 || event.sampleOffset < host.lastFrames),
              "an event passed back lies within its call");
  }
}

ReusedVst3Plugin::Loan::Loan(ReusedVst3Plugin& owner, const uint8_t* data, size_t size)
    : owner(owner), data(data), size(size) {
  if (!owner.host) {
    owner.host = std::make_unique<Vst3FuzzHost>();
    owner.freshState = owner.host->SaveState();
  }
}

ReusedVst3Plugin::Loan::~Loan() {
  owner.Reset();
  if (owner.check.Due()) {
    Vst3FuzzHost newHost;
    ResetCheck::FailOnDifference(Observation::FirstDifference(Vst3Observation::Of(*owner.host),
                                                              Vst3Observation::Of(newHost)),
                                 data, size);
    owner.Reset();
  }
}

// The state a new host saved (every program, the current one, no bypass) into both halves, a
// block long enough for any bypass fade to run out, then what no host call reaches.
void ReusedVst3Plugin::Reset() {
  FuzzCheck(
      host->plugin->LoadComponentState(freshState.data(), static_cast<int64_t>(freshState.size())),
      "a new host's state loads");
  vst3host::MemoryStream stream(freshState);
  FuzzCheck(host->controller->setComponentState(&stream) == vst3::kResultOk,
            "a new host's state loads into the controller");
  host->Process(Vst3FuzzHost::MaxFrames, false);
  host->plugin->SetActive(false);
  host->plugin->SetActive(true);
  EffectOf(*host->plugin).ReturnToRest();
}

// One host made before the first input fills the process-wide image cache.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  ResetCheck::TakeArtifactPrefix(*argc, *argv);
  Vst3FuzzHost warmUp;
  return 0;
}
