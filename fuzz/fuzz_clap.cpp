// The CLAP binding with the bytes a host hands it: a state stream of any bytes, read a few at a
// time, then process calls with input event lists of any records (headers claiming any size,
// space and type; parameter values of any id and value, MIDI, system-exclusive messages and
// transports of any content, times out of order or past the block) in either sample width, in
// place or not.
//
// Input: a flags byte (bit 0: load the state, bit 1: 64-bit buffers, bit 2: in place), a uint16
// state length, the state's bytes, a read-size byte (0 reads as 1), a uint16 frame count (modulo
// MaxFrames, 0 is a flush), then events until the input ends: a kind byte and a uint16 time,
// and for kind 0 a uint32 id and a double, 1 three MIDI bytes, 2 a length byte and that many
// sysex bytes, 3 a transport's fields after its header, 4 a whole header of any size, space and
// type followed by 24 raw bytes.
#include "clap/ClapEntry.h"
#include "effect/Ombrix.h"
#include "fuzz/FuzzBytes.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/Observation.h"
#include "fuzz/ResetCheck.h"
#include "tests/clap/ClapTestHost.h"

#include <cmath>
#include <memory>

namespace {
constexpr double SampleRate = 48000.0;
constexpr uint32_t AnnouncedFrames = 512;
constexpr uint32_t MaxFrames = 2048;
constexpr uint8_t LoadState = 1;
constexpr uint8_t WideSamples = 2;
constexpr uint8_t InPlace = 4;
constexpr int EventKinds = 5;
constexpr uint32_t ProbeFrames = 777;
constexpr size_t RawTail = 24;

const clap_plugin_factory* Factory() {
  return static_cast<const clap_plugin_factory*>(clap_entry.get_factory(Clap::PluginFactoryId));
}

Ombrix& EffectOf(ClapTestHost& host) {
  auto* ombrix = dynamic_cast<Ombrix*>(IClapPlugin::FromRecord(host.Plugin()));
  FuzzCheck(ombrix != nullptr, "the instance is the effect");
  return *ombrix;
}

clap_event_header HeaderOf(uint32_t size, uint32_t time, uint16_t type) {
  return {size, time, Clap::CoreEventSpace, type, 0};
}

void QueueEvents(FuzzBytes& bytes, ClapTestHost& host) {
  while (bytes.Remaining() > 0) {
    const int kind = bytes.Take<uint8_t>() % EventKinds;
    const uint32_t time = bytes.Take<uint16_t>();
    if (kind == 0) {
      const clap_id id = bytes.Take<uint32_t>();
      host.QueueParamValue(time, id, bytes.Take<double>());
    } else if (kind == 1) {
      const auto status = bytes.Take<uint8_t>();
      const auto data1 = bytes.Take<uint8_t>();
      host.QueueMidi(time, status, data1, bytes.Take<uint8_t>());
    } else if (kind == 2) {
      host.QueueSysex(time, bytes.TakeBytes(bytes.Take<uint8_t>()));
    } else if (kind == 3) {
      clap_event_transport transport = {};
      const std::vector<uint8_t> fields =
          bytes.TakeBytes(sizeof(transport) - sizeof(transport.header));
      if (!fields.empty()) {
        std::memcpy(reinterpret_cast<uint8_t*>(&transport) + sizeof(transport.header),
                    fields.data(), fields.size());
      }
      transport.header = HeaderOf(sizeof(transport), time, Clap::EventTransport);
      host.QueueRaw(&transport, sizeof(transport));
    } else {
      clap_event_header header = bytes.Take<clap_event_header>();
      uint8_t record[sizeof(header) + RawTail] = {};
      std::memcpy(record, &header, sizeof(header));
      const std::vector<uint8_t> tail = bytes.TakeBytes(RawTail);
      if (!tail.empty()) {
        std::memcpy(record + sizeof(header), tail.data(), tail.size());
      }
      host.QueueRaw(record, sizeof(record));
    }
  }
}

// The audio is finite and within +-1 (the input is), every event the plug-in pushed lies inside
// the call, in time order.
// The input's samples, made once: a sine per input cost as much as the plug-in's work.
struct Sine {
  Sine() : wide(MaxFrames), narrow(MaxFrames) {
    for (uint32_t i = 0; i < MaxFrames; ++i) {
      wide[i] = std::sin(i * 0.01);
      narrow[i] = static_cast<float>(wide[i]);
    }
  }
  std::vector<double> wide;
  std::vector<float> narrow;
};

void RunAndCheck(ClapTestHost& host, uint32_t frames, bool wide, bool inPlace) {
  static const Sine sine;
  std::vector<double> wideIn = sine.wide, wideOut(MaxFrames);
  std::vector<float> narrowIn = sine.narrow, narrowOut(MaxFrames);
  if (frames == 0) {
    host.Flush();
  } else if (wide) {
    double* in[2] = {wideIn.data(), wideIn.data()};
    double* out[2] = {wideOut.data(), wideOut.data()};
    host.Process(in, inPlace ? in : out, frames);
    for (uint32_t i = 0; i < frames; ++i) {
      const double value = (inPlace ? wideIn : wideOut)[i];
      FuzzCheck(std::isfinite(value) && std::fabs(value) <= 1.0, "audio within +-1");
    }
  } else {
    float* in[2] = {narrowIn.data(), narrowIn.data()};
    float* out[2] = {narrowOut.data(), narrowOut.data()};
    host.Process(in, inPlace ? in : out, frames);
    for (uint32_t i = 0; i < frames; ++i) {
      const float value = (inPlace ? narrowIn : narrowOut)[i];
      FuzzCheck(std::isfinite(value) && std::fabs(value) <= 1.0f, "audio within +-1");
    }
  }
  uint32_t last = 0;
  for (const ClapOutEvent& event : host.TakeOutput()) {
    FuzzCheck(event.time >= last && event.time < std::max(frames, 1u), "output events in order");
    last = event.time;
  }
}

// What a host can see of an instance: its state, its values, and a probe block with controller 69.
class ClapObservation : public Observation {
public:
  static ClapObservation Of(ClapTestHost& host) {
    ClapObservation observation;
    observation.NoteValues("the state", host.SaveState(ProbeFrames));
    const auto* params = host.PluginExtension<clap_plugin_params>(Clap::ParamsId);
    std::vector<double> values;
    for (uint32_t i = 0; i < params->count(host.Plugin()); ++i) {
      clap_param_info info;
      double value = 0.0;
      params->get_info(host.Plugin(), i, &info);
      params->get_value(host.Plugin(), info.id, &value);
      values.push_back(value);
    }
    observation.NoteValues("the parameter values", values);
    host.QueueMidi(100, 0xB0, Ombrix::MidiCcAmount, 90);
    std::vector<float> in(ProbeFrames, 0.5f), left(ProbeFrames), right(ProbeFrames);
    float* inputs[2] = {in.data(), in.data()};
    float* outputs[2] = {left.data(), right.data()};
    host.Process(inputs, outputs, ProbeFrames);
    observation.NoteValues("the probe's audio", left);
    std::vector<uint32_t> events;
    for (const ClapOutEvent& event : host.TakeOutput()) {
      events.push_back(event.type);
      events.push_back(event.time);
    }
    observation.NoteValues("the probe's events", events);
    return observation;
  }
};

// One instance for all inputs, brought back after each to one just made: what no host call
// reaches (the queued MIDI, the meters), the bypass off, a deactivation and activation and the
// state it had when made.
class ReusedClapPlugin {
public:
  ClapTestHost& Lend() {
    if (!host) {
      host = std::make_unique<ClapTestHost>(SampleRate, AnnouncedFrames, Factory());
      FuzzCheck(host->Plugin() != nullptr, "an instance is made");
      freshState = host->SaveState(MaxFrames);
    }
    return *host;
  }

  void Return(const uint8_t* input, size_t size) {
    Reset();
    if (check.Due()) {
      ClapTestHost newPlugin(SampleRate, AnnouncedFrames, Factory());
      ResetCheck::FailOnDifference(
          Observation::FirstDifference(ClapObservation::Of(*host), ClapObservation::Of(newPlugin)),
          input, size);
      Reset();
    }
  }

private:
  void Reset() {
    EffectOf(*host).ReturnToRest();
    host->QueueParamValue(0, IClapPlugin::BypassParamId, 0.0);
    host->Flush();
    host->TakeOutput();
    const clap_plugin* plugin = host->Plugin();
    plugin->stop_processing(plugin);
    plugin->deactivate(plugin);
    FuzzCheck(plugin->activate(plugin, SampleRate, 1, AnnouncedFrames) &&
                  plugin->start_processing(plugin),
              "the instance activates again");
    FuzzCheck(host->LoadState(freshState, MaxFrames), "a new instance's state loads");
    host->NoTransport();
    // What the plug-in told the host goes with the input that caused it: kept across inputs it
    // would grow without end, and look like a leak to the fuzzer's leak check.
    host->logLines.clear();
    host->presetsLoaded.clear();
  }

  ResetCheck check;
  std::unique_ptr<ClapTestHost> host;
  std::vector<uint8_t> freshState;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static ReusedClapPlugin reused;
  ClapTestHost& host = reused.Lend();
  FuzzBytes bytes(data, size);
  const uint8_t flags = bytes.Take<uint8_t>();
  const std::vector<uint8_t> state = bytes.TakeBytes(bytes.Take<uint16_t>());
  const size_t readSize = std::max<size_t>(bytes.Take<uint8_t>(), 1);
  const uint32_t frames = bytes.Take<uint16_t>() % (MaxFrames + 1);
  if (flags & LoadState) {
    const std::vector<uint8_t> before = host.SaveState(MaxFrames);
    if (!host.LoadState(state, readSize)) {
      FuzzCheck(host.SaveState(MaxFrames) == before, "a refused state changes nothing");
    }
  }
  QueueEvents(bytes, host);
  RunAndCheck(host, frames, (flags & WideSamples) != 0, (flags & InPlace) != 0);
  // Whatever came in, the state saved now loads and saves again unchanged.
  const std::vector<uint8_t> saved = host.SaveState(readSize);
  FuzzCheck(host.LoadState(saved, readSize), "a saved state loads");
  FuzzCheck(host.SaveState(MaxFrames) == saved, "a saved state round-trips");
  reused.Return(data, size);
  return 0;
}

// One instance made before the first input fills the process-wide image cache.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  ResetCheck::TakeArtifactPrefix(*argc, *argv);
  ClapTestHost warmUp(SampleRate, AnnouncedFrames, Factory());
  return 0;
}
