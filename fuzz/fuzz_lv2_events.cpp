// LV2 runs with the events input's sequence and the control inputs from the fuzzer: MIDI events
// of any length and frame, time:Position objects with any field values, control values including
// NaN, infinities and values out of range.
//
// Input: a sequence of steps, each starting with a command byte:
//   0: a MIDI event for the next run: an int64 frame, a length byte, that many bytes;
//   1: a time:Position for the next run: an int64 frame, a byte choosing the fields (bit n:
//      field n of PositionKeys), then per field a type byte (0 float, 1 double, 2 int, 3 long)
//      and a double (for float and double) or an int64 (truncated for int);
//   2: a control input: a parameter byte (modulo the count), a float;
//   3: a run: an uint16 frame count (modulo the largest run and one), after which the outputs
//      are checked and the sequence starts empty again;
//   4: deactivation and activation (a reset).
// Events left when the input ends are run in a block of its own.
#include "fuzz/FuzzBytes.h"
#include "fuzz/ReusedLv2Plugin.h"

#include <lv2/atom/atom.h>
#include <lv2/time/time.h>

namespace {
constexpr int Commands = 5;
constexpr int FinalRunFrames = 256;
constexpr const char* PositionKeys[] = {LV2_TIME__bar,
                                        LV2_TIME__barBeat,
                                        LV2_TIME__beatsPerBar,
                                        LV2_TIME__beatUnit,
                                        LV2_TIME__beatsPerMinute,
                                        LV2_TIME__speed,
                                        LV2_TIME__frame,
                                        LV2_TIME__beat};
constexpr const char* NumberTypes[] = {LV2_ATOM__Float, LV2_ATOM__Double, LV2_ATOM__Int,
                                       LV2_ATOM__Long};
constexpr size_t FirstIntegerType = 2;

int midiSent = 0;

void RunAndCheck(Lv2FuzzHost& host, int frames) {
  host.Run(frames);
  CheckLv2Outputs(host, frames);
  FuzzCheck(static_cast<int>(host.passedBack.size()) <= midiSent,
            "no MIDI event is passed back twice or made up");
  midiSent -= static_cast<int>(host.passedBack.size());
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzBytes bytes(data, size);
  static ReusedLv2Plugin plugin;
  ReusedLv2Plugin::Loan loan(plugin, data, size);
  Lv2FuzzHost& host = loan.Host();
  midiSent = 0;
  bool pending = false;
  while (bytes.Remaining() > 0) {
    switch (bytes.Take<uint8_t>() % Commands) {
    case 0: {
      const int64_t frame = bytes.Take<int64_t>();
      const std::vector<uint8_t> message = bytes.TakeBytes(bytes.Take<uint8_t>());
      if (host.AddMidi(frame, message.data(), static_cast<uint32_t>(message.size()))) {
        ++midiSent;
        pending = true;
      }
      break;
    }
    case 1: {
      const int64_t frame = bytes.Take<int64_t>();
      const uint8_t chosen = bytes.Take<uint8_t>();
      std::vector<Lv2FuzzHost::PositionField> fields;
      for (size_t i = 0; i < std::size(PositionKeys); ++i) {
        if (chosen & (1u << i)) {
          const size_t type = bytes.Take<uint8_t>() % std::size(NumberTypes);
          Lv2FuzzHost::PositionField field{host.Map(PositionKeys[i]), host.Map(NumberTypes[type])};
          if (type < FirstIntegerType) {
            field.real = bytes.Take<double>();
          } else {
            field.integer = bytes.Take<int64_t>();
          }
          fields.push_back(field);
        }
      }
      pending = host.AddPosition(frame, fields) || pending;
      break;
    }
    case 2: {
      const int parameter = bytes.Take<uint8_t>() % host.ParameterCount();
      host.controlIn[static_cast<size_t>(parameter)] = bytes.Take<float>();
      break;
    }
    case 3:
      RunAndCheck(host, bytes.Take<uint16_t>() % (Lv2FuzzHost::MaxRunFrames + 1));
      pending = false;
      break;
    default:
      host.Deactivate();
      host.Activate();
      break;
    }
  }
  if (pending) {
    RunAndCheck(host, FinalRunFrames);
  }
  return 0;
}
