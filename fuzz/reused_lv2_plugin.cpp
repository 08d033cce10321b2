#include "fuzz/ReusedLv2Plugin.h"

#include "effect/Ombrix.h"
#include "fuzz/Observation.h"

#include <lv2/time/time.h>

#include <cmath>

namespace {
constexpr int ProbeFrames = 1543;
constexpr uint8_t NoteOn = 0x90;
constexpr uint8_t NoteOff = 0x80;
constexpr uint8_t ControlChange = 0xB0;
constexpr uint8_t OtherController = 70;
constexpr double ProbeTempo = 93.0;
constexpr double ProbeBarBeat = 1.5;

Ombrix& EffectOf(LV2_Handle instance) {
  auto* ombrix = dynamic_cast<Ombrix*>(static_cast<ILv2Plugin*>(instance));
  FuzzCheck(ombrix != nullptr, "the instance is the effect");
  return *ombrix;
}

// A position no bar or beat of which has begun, standing still: the effect then reads the
// transport as a new instance does (it looks only at the beat, which stays before the start).
// Nothing a host sends makes an instance forget a position altogether.
void SendRestingPosition(Lv2FuzzHost& host) {
  const LV2_URID number = host.Map(LV2_ATOM__Double);
  host.AddPosition(0, {{host.Map(LV2_TIME__speed), number, 0.0, 0},
                       {host.Map(LV2_TIME__bar), number, 0.0, 0},
                       {host.Map(LV2_TIME__barBeat), number, -1.0, 0},
                       {host.Map(LV2_TIME__beatsPerMinute), number, 120.0, 0},
                       {host.Map(LV2_TIME__beatsPerBar), number, 4.0, 0},
                       {host.Map(LV2_TIME__beatUnit), number, 4.0, 0}});
}

// What a host can see of an instance: its saved state, its control outputs, and a probe run with
// MIDI on both sides of sub-block edges (controller 69 moves the amount mid-run) and a moving
// transport: the audio, the controls after it and the MIDI passed back. Also the MIDI events
// waiting beyond every run, which a host cannot see in time. The probe changes the instance.
class Lv2Observation : public Observation {
public:
  static Lv2Observation Of(Lv2FuzzHost& host) {
    Lv2Observation observation;
    observation.NoteState(host, "");
    observation.NoteValues<int32_t>("the MIDI events waiting",
                                    {WaitingMidiEvents(host.Instance())});
    host.Run(0);
    observation.NoteValues("the control outputs", host.controlOut);
    observation.NoteProbe(host);
    observation.NoteState(host, " after the probe");
    return observation;
  }

private:
  void NoteState(Lv2FuzzHost& host, const std::string& when) {
    for (const auto& [key, property] : host.Save()) {
      const std::string name = "state property " + std::to_string(key) + when;
      NoteValues<uint32_t>(name + "'s type and flags", {property.type, property.flags});
      NoteValues(name, property.value);
    }
  }

  void NoteProbe(Lv2FuzzHost& host) {
    const uint8_t events[][3] = {{NoteOn, 60, 100},
                                 {NoteOff, 60, 0},
                                 {ControlChange, Ombrix::MidiCcAmount, 64},
                                 {ControlChange, OtherController, 1},
                                 {ControlChange, Ombrix::MidiCcAmount, 100},
                                 {ControlChange, Ombrix::MidiCcAmount, 127}};
    const int64_t frames[] = {0, 3, 40, 300, 700, ProbeFrames - 1};
    const LV2_URID number = host.Map(LV2_ATOM__Double);
    host.AddPosition(0, {{host.Map(LV2_TIME__speed), number, 1.0, 0},
                         {host.Map(LV2_TIME__barBeat), number, ProbeBarBeat, 0},
                         {host.Map(LV2_TIME__beatsPerMinute), number, ProbeTempo, 0}});
    for (size_t i = 0; i < std::size(frames); ++i) {
      host.AddMidi(frames[i], events[i], sizeof(events[i]));
    }
    host.Run(ProbeFrames);
    for (const std::vector<float>& channel : host.audioOut) {
      NoteValues("the probe's audio",
                 std::vector<float>(channel.begin(), channel.begin() + ProbeFrames));
    }
    NoteValues("the control outputs after the probe", host.controlOut);
    std::vector<int64_t> passed;
    for (const Lv2FuzzHost::PassedMidi& event : host.passedBack) {
      passed.push_back(event.frame);
      passed.insert(passed.end(), event.bytes.begin(), event.bytes.end());
    }
    NoteValues("the MIDI the probe passed back", passed);
  }
};
} // namespace

int WaitingMidiEvents(LV2_Handle instance) {
  return EffectOf(instance).MidiQueue().PendingCount();
}

void CheckLv2Outputs(const Lv2FuzzHost& host, int frames) {
  for (const std::vector<float>& channel : host.audioOut) {
    for (int i = 0; i < frames; ++i) {
      const float value = channel[static_cast<size_t>(i)];
      FuzzCheck(std::isfinite(value) && std::fabs(value) <= 1.0f,
                "processed audio stays finite and within +-1");
    }
  }
  for (const float value : host.controlOut) {
    FuzzCheck(std::isfinite(value), "a control output is a number");
  }
}

ReusedLv2Plugin::Loan::Loan(ReusedLv2Plugin& owner, const uint8_t* data, size_t size)
    : owner(owner), data(data), size(size) {
  if (!owner.host) {
    owner.host = std::make_unique<Lv2FuzzHost>();
    owner.freshState = owner.host->Save();
  }
}

ReusedLv2Plugin::Loan::~Loan() {
  owner.Reset();
  if (owner.check.Due()) {
    owner.CheckAgainstNewPlugin(data, size);
    owner.Reset();
  }
}

// First what no host call reaches (the queued MIDI, the meters), then a deactivation and
// activation, the ports' defaults, the state saved when the instance was made (every program and
// the current one) and a run of no frames that takes the resting position and notes the ports.
void ReusedLv2Plugin::Reset() {
  EffectOf(host->Instance()).ReturnToRest();
  host->Deactivate();
  host->Activate();
  host->ControlsToDefaults();
  FuzzCheck(host->Restore(freshState) == LV2_STATE_SUCCESS, "a new instance's state restores");
  SendRestingPosition(*host);
  host->Run(0);
}

void ReusedLv2Plugin::CheckAgainstNewPlugin(const uint8_t* input, size_t size) {
  Lv2FuzzHost newPlugin;
  ResetCheck::FailOnDifference(
      Observation::FirstDifference(Lv2Observation::Of(*host), Lv2Observation::Of(newPlugin)), input,
      size);
}

// One instance made before the first input fills the process-wide image cache, so no input pays
// for decoding the editor's pictures (seconds under the sanitizers) and trips the time limit.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  ResetCheck::TakeArtifactPrefix(*argc, *argv);
  Lv2FuzzHost warmUp;
  return 0;
}
