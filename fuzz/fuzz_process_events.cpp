// effProcessEvents with event lists built from the fuzzer's bytes (MIDI, system-exclusive,
// null entries and foreign types), between process calls, block-size changes and resets.
//
// Input: a sequence of steps, each starting with a command byte:
//   0: an event list follows: a count byte, then per event a kind byte (0 MIDI, 1 sysex,
//      2 null entry, other: a foreign type), an int32 offset, and for MIDI four data bytes,
//      for sysex an int16 length and that many bytes (a negative length gives a dump without
//      bytes and a length the host claims as that negative number);
//   1: process, an uint16 frame count follows (taken modulo 2048);
//   2: block size, an int16 follows;
//   3: processing off and on again (a reset).
#include "fuzz/FuzzBytes.h"
#include "fuzz/FuzzChecks.h"
#include "fuzz/FuzzHost.h"
#include "fuzz/ReusedPlugin.h"

#include <memory>

namespace {
constexpr int BlockFrames = 512;

// One host event list with storage for everything it points at.
struct EventList {
  std::vector<VstMidiEvent> midi;
  std::vector<VstMidiSysexEvent> sysex;
  std::vector<std::vector<char>> dumps;
  std::vector<VstEvent> foreign;
  std::vector<VstEvent*> order;
  std::unique_ptr<char[]> record;

  VstEvents* Build() {
    const size_t pointers = order.size() > 2 ? order.size() : 2;
    record = std::make_unique<char[]>(sizeof(VstEvents) + sizeof(VstEvent*) * pointers);
    auto* events = reinterpret_cast<VstEvents*>(record.get());
    events->numEvents = static_cast<VstInt32>(order.size());
    events->reserved = 0;
    // The record is allocated for all the pointers; the declared array holds only two.
    VstEvent** slots = events->events;
    for (size_t i = 0; i < order.size(); ++i) {
      slots[i] = order[i];
    }
    return events;
  }
};

// Reads one list; entries point into vectors reserved up front, so they never move.
void ReadEvents(FuzzBytes& bytes, EventList& list, int* midiSent) {
  const int count = bytes.Take<uint8_t>();
  list.midi.reserve(count);
  list.sysex.reserve(count);
  list.dumps.reserve(count);
  list.foreign.reserve(count);
  for (int i = 0; i < count && bytes.Remaining() > 0; ++i) {
    const uint8_t kind = bytes.Take<uint8_t>();
    const int32_t offset = bytes.Take<int32_t>();
    if (kind == 0) {
      VstMidiEvent event = {};
      event.type = kVstMidiType;
      event.byteSize = sizeof(VstMidiEvent);
      event.deltaFrames = offset;
      for (char& b : event.midiData) {
        b = static_cast<char>(bytes.Take<uint8_t>());
      }
      list.midi.push_back(event);
      list.order.push_back(reinterpret_cast<VstEvent*>(&list.midi.back()));
      ++*midiSent;
    } else if (kind == 1) {
      const int16_t length = bytes.Take<int16_t>();
      std::vector<uint8_t> dump = bytes.TakeBytes(length > 0 ? static_cast<size_t>(length) : 0);
      list.dumps.emplace_back(dump.begin(), dump.end());
      VstMidiSysexEvent event = {};
      event.type = kVstSysExType;
      event.byteSize = sizeof(VstMidiSysexEvent);
      event.deltaFrames = offset;
      event.dumpBytes = length > 0 ? static_cast<VstInt32>(list.dumps.back().size()) : length;
      event.sysexDump = list.dumps.back().empty() ? nullptr : list.dumps.back().data();
      list.sysex.push_back(event);
      list.order.push_back(reinterpret_cast<VstEvent*>(&list.sysex.back()));
    } else if (kind == 2) {
      list.order.push_back(nullptr);
    } else {
      VstEvent event = {};
      // Any type but the two real kinds: a sysex type on this shorter record would be a host
      // handing over too few bytes.
      event.type = kind == kVstMidiType || kind == kVstSysExType ? kind + 0x100 : kind;
      event.byteSize = sizeof(VstEvent);
      event.deltaFrames = offset;
      list.foreign.push_back(event);
      list.order.push_back(&list.foreign.back());
    }
  }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzBytes bytes(data, size);
  static ReusedPlugin plugin(BlockFrames);
  ReusedPlugin::Loan loan(plugin, data, size);
  FuzzHost& host = loan.Host();
  int midiSent = 0;
  while (bytes.Remaining() > 0) {
    switch (bytes.Take<uint8_t>() % 4) {
    case 0: {
      EventList list;
      ReadEvents(bytes, list, &midiSent);
      FuzzCheck(host.Dispatch(effProcessEvents, 0, 0, list.Build()) == 1, "an event list is taken");
      break;
    }
    case 1:
      host.Process(bytes.Take<uint16_t>() % 2048);
      break;
    case 2:
      host.Dispatch(effSetBlockSize, 0, bytes.Take<int16_t>());
      break;
    default:
      host.Dispatch(effMainsChanged, 0, 0);
      host.Dispatch(effMainsChanged, 0, 1);
      break;
    }
  }
  const int passedOn = static_cast<int>(host.passedOn.size());
  FuzzCheck(passedOn <= midiSent, "no MIDI event is passed on twice or made up");
  CheckPluginSane(host);
  return 0;
}
