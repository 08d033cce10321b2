// The VST 3 binding's ways in for a host's bytes: the component state (its own and a VST 2
// project's) to the processor and the controller, and a process call's parameter-change and
// event lists, in single or double precision, or as a flush.
// Input: a flags byte (bit 0: the state goes to the processor, bit 1: to the controller, bit 2:
// double precision, bit 3: a flush comes first), a uint16 frame count, a point count byte and
// that many points (uint8 parameter id, int32 frame, double value), an event count byte and that
// many events (uint16 type, int32 frame, int16 channel, int16 pitch, float value, uint8 bytes of
// system exclusive taken from the state's bytes), then the state's bytes.
#include "fuzz/FuzzBytes.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/ReusedVst3Plugin.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr uint8_t StateToProcessor = 1;
constexpr uint8_t StateToController = 2;
constexpr uint8_t DoublePrecision = 4;
constexpr uint8_t FlushFirst = 8;

struct EventRecord {
  uint16_t type;
  int32_t frame;
  int16_t channel;
  int16_t pitch;
  float value;
  uint8_t sysexBytes;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzBytes bytes(data, size);
  const uint8_t flags = bytes.Take<uint8_t>();
  const int frames = bytes.Take<uint16_t>() % (Vst3FuzzHost::MaxFrames + 1);
  static ReusedVst3Plugin reused;
  ReusedVst3Plugin::Loan loan(reused, data, size);
  Vst3FuzzHost& host = loan.Host();

  const uint8_t pointCount = bytes.Take<uint8_t>();
  for (uint8_t i = 0; i < pointCount; ++i) {
    const uint8_t id = bytes.Take<uint8_t>();
    const int32_t frame = bytes.Take<int32_t>();
    const double value = bytes.Take<double>();
    host.changes.Add(id, frame, value);
  }
  const uint8_t eventCount = bytes.Take<uint8_t>();
  std::vector<EventRecord> records;
  for (uint8_t i = 0; i < eventCount; ++i) {
    EventRecord record{};
    record.type = bytes.Take<uint16_t>();
    record.frame = bytes.Take<int32_t>();
    record.channel = bytes.Take<int16_t>();
    record.pitch = bytes.Take<int16_t>();
    record.value = bytes.Take<float>();
    record.sysexBytes = bytes.Take<uint8_t>();
    records.push_back(record);
  }
  const std::vector<uint8_t> state = bytes.TakeRest();
  for (const EventRecord& record : records) {
    vst3::Event event{};
    event.type = record.type;
    event.sampleOffset = record.frame;
    event.noteOn = {record.channel, record.pitch, 0.0f, record.value, 0, -1};
    if (record.type == vst3::Event::kPolyPressureEvent) {
      event.polyPressure = {record.channel, record.pitch, record.value, -1};
    } else if (record.type == vst3::Event::kDataEvent) {
      event.data = {std::min<uint32_t>(record.sysexBytes, static_cast<uint32_t>(state.size())),
                    vst3::kMidiSysEx, state.empty() ? nullptr : state.data()};
    }
    host.inputEvents.addEvent(&event);
  }

  // A copy of exactly the bytes given: the plug-in may read only those.
  if (flags & StateToProcessor) {
    const std::vector<uint8_t> copy(state);
    host.plugin->LoadComponentState(copy.empty() ? nullptr : copy.data(),
                                    static_cast<int64_t>(copy.size()));
  }
  if (flags & StateToController) {
    vst3host::MemoryStream stream(state);
    host.controller->setComponentState(&stream);
  }
  if (flags & FlushFirst) {
    host.Process(0, false);
  }
  host.Process(frames, (flags & DoublePrecision) != 0);
  CheckVst3Outputs(host);

  // Whatever was loaded, the state saved then loads, and what that saves round-trips: a project
  // stored after a bad load still reopens as it was. (One load may still settle a bank: a
  // program stored without a name takes the name of the one before it.)
  const std::vector<uint8_t> first = host.SaveState();
  FuzzCheck(host.plugin->LoadComponentState(first.data(), static_cast<int64_t>(first.size())),
            "a saved state loads");
  const std::vector<uint8_t> again = host.SaveState();
  FuzzCheck(host.plugin->LoadComponentState(again.data(), static_cast<int64_t>(again.size())),
            "a saved state loads twice");
  FuzzCheck(host.SaveState() == again, "a saved state round-trips");
  return 0;
}
