#include "tests/support/InProcessHost.h"

#include "editor/Editor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

namespace {
constexpr int BlockFrames = 256;
constexpr int Blocks = 400;
constexpr int EventsPerBlock = 8;
constexpr int ParameterWrites = 3000;
constexpr int ProgramChanges = 300;
constexpr int ChunkRounds = 300;
constexpr int EditorPasses = 60;

// Every event carries its serial number in its data bytes, so the passed-on stream can be
// matched against what was sent. Polyphonic pressure: it moves no parameter.
VstMidiEvent Tagged(int serial, int offset) {
  VstMidiEvent event = {};
  event.type = kVstMidiType;
  event.byteSize = sizeof(VstMidiEvent);
  event.deltaFrames = offset;
  event.midiData[0] = static_cast<char>(0xA0 | (serial >> 14 & 0x0F));
  event.midiData[1] = static_cast<char>(serial & 0x7F);
  event.midiData[2] = static_cast<char>(serial >> 7 & 0x7F);
  return event;
}

int SerialOf(const VstMidiEvent& event) {
  return (event.midiData[0] & 0x0F) << 14 | (event.midiData[2] & 0x7F) << 7 |
         (event.midiData[1] & 0x7F);
}

// Holds every thread until all are running, so their work overlaps.
class StartLine {
public:
  explicit StartLine(int threads) : waiting(threads) {}
  void Arrive() {
    --waiting;
    while (waiting.load() > 0) {
      std::this_thread::yield();
    }
  }

private:
  std::atomic<int> waiting;
};
} // namespace

// One plug-in driven at once by every thread a host brings: the audio thread handing in MIDI
// and processing blocks, a thread automating parameters, one switching programs, one saving and
// restoring state, and the window's thread redrawing and handling gestures. Afterwards every
// event sent in has come back exactly once and in the order of its offset, and the final state
// round-trips through its blocks. Under ThreadSanitizer any unguarded hand-over is reported.
TEST(PluginStress, HostThreadsDriveOnePluginAtOnce) {
  InProcessHost host(InProcessHost::Recording::PassedOnMidi);
  ASSERT_NE(host.effect, nullptr);
  ASSERT_NE(host.editor, nullptr);
  host.Start(BlockFrames);
  // Playing on an odd beat, so the beat animation has work to do.
  host.SetBeat(3.5);
  AEffect* effect = host.effect;
  IEditor* editor = host.editor;
  StartLine start(5);
  std::atomic<int> outOfRange{0};
  std::atomic<int> failedLoads{0};
  std::vector<VstMidiEvent> expected;

  std::thread audio([&] {
    std::vector<float> left(BlockFrames), right(BlockFrames);
    std::vector<float> outLeft(BlockFrames), outRight(BlockFrames);
    float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    start.Arrive();
    for (int block = 0; block < Blocks; ++block) {
      std::vector<VstMidiEvent> events;
      for (int i = 0; i < EventsPerBlock; ++i) {
        const int serial = block * EventsPerBlock + i;
        events.push_back(Tagged(serial, serial * 37 % BlockFrames));
      }
      // Delivered within this block, by offset, equal offsets in the order sent.
      std::vector<VstMidiEvent> due(events);
      std::stable_sort(due.begin(), due.end(), [](const VstMidiEvent& a, const VstMidiEvent& b) {
        return a.deltaFrames < b.deltaFrames;
      });
      expected.insert(expected.end(), due.begin(), due.end());
      host.SendEvents(events);
      std::fill(left.begin(), left.end(), block % 3 == 0 ? 0.9f : 0.2f);
      std::fill(right.begin(), right.end(), -0.4f);
      effect->processReplacing(effect, inputs, outputs, BlockFrames);
      for (int i = 0; i < BlockFrames; ++i) {
        if (!(std::abs(outLeft[i]) <= 1.0f && std::abs(outRight[i]) <= 1.0f)) {
          ++outOfRange;
        }
      }
    }
  });
  std::thread parameters([&] {
    start.Arrive();
    for (int i = 0; i < ParameterWrites; ++i) {
      effect->setParameter(effect, i % 3, static_cast<float>(i % 101) / 100.0f);
      const float value = effect->getParameter(effect, (i + 1) % 3);
      if (!(value >= 0.0f && value <= 1.0f)) {
        ++outOfRange;
      }
    }
  });
  std::thread programs([&] {
    char name[256];
    start.Arrive();
    for (int i = 0; i < ProgramChanges; ++i) {
      host.Dispatch(effSetProgram, 0, i % effect->numPrograms);
      const VstIntPtr current = host.Dispatch(effGetProgram);
      if (current < 0 || current >= effect->numPrograms) {
        ++outOfRange;
      }
      host.Dispatch(effGetProgramName, 0, 0, name);
      host.Dispatch(effGetProgramNameIndexed, i % effect->numPrograms, 0, name);
    }
  });
  std::thread state([&] {
    start.Arrive();
    for (int i = 0; i < ChunkRounds; ++i) {
      const bool program = i % 2 == 0;
      if (host.LoadChunk(program, host.SaveChunk(program)) != 1) {
        ++failedLoads;
      }
    }
  });
  std::thread window([&] {
    IMouseKeys pressed;
    pressed.left = true;
    start.Arrive();
    for (int pass = 0; pass < EditorPasses; ++pass) {
      editor->RedrawRect(editor->DirtyArea());
      // Points spread over the whole editor reach every kind of control.
      const int x = 20 + pass * 97 % (editor->Width() - 40);
      const int y = 20 + pass * 61 % (editor->Height() - 40);
      editor->DispatchPress(x, y, pressed);
      editor->DispatchDrag(x, y - 15, pressed);
      editor->DispatchRelease(x, y - 15, pressed);
      editor->DispatchWheel(x, y, IMouseKeys(), pass % 2 == 0 ? 1 : -1);
      editor->DispatchDoubleClick(x, y, pressed);
      editor->DispatchRelease(x, y, pressed);
    }
  });
  audio.join();
  parameters.join();
  programs.join();
  state.join();
  window.join();

  EXPECT_EQ(outOfRange.load(), 0);
  EXPECT_EQ(failedLoads.load(), 0);

  const std::vector<VstMidiEvent> passed = host.PassedOn();
  ASSERT_EQ(passed.size(), expected.size());
  for (size_t i = 0; i < passed.size(); ++i) {
    ASSERT_EQ(SerialOf(passed[i]), SerialOf(expected[i])) << "event " << i;
    ASSERT_EQ(passed[i].deltaFrames, expected[i].deltaFrames) << "event " << i;
  }

  // The state the threads left behind saves, loads into a fresh instance and saves again the
  // same, with the same parameter values.
  const std::vector<float> values = host.ParameterValues();
  const VstIntPtr current = host.Dispatch(effGetProgram);
  const std::vector<unsigned char> bank = host.SaveChunk(false);
  const std::vector<unsigned char> program = host.SaveChunk(true);
  ASSERT_FALSE(bank.empty());
  ASSERT_FALSE(program.empty());
  InProcessHost fresh;
  fresh.Start(BlockFrames);
  EXPECT_EQ(fresh.LoadChunk(false, bank), 1);
  fresh.Dispatch(effSetProgram, 0, current);
  EXPECT_EQ(fresh.LoadChunk(true, program), 1);
  EXPECT_EQ(fresh.ParameterValues(), values);
  EXPECT_EQ(fresh.Dispatch(effGetProgram), current);
  EXPECT_EQ(fresh.SaveChunk(false), bank);
  EXPECT_EQ(fresh.SaveChunk(true), program);
}
