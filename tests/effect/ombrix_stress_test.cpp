#include "tests/support/InProcessHost.h"

#include "editor/Control.h"
#include "effect/Ombrix.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

// The three kinds of thread a host brings together, running at once: the audio thread
// processing blocks with MIDI, a host thread writing parameters and switching programs, and the
// window's thread drawing and handling pointer gestures. Run under ThreadSanitizer, any
// unguarded hand-over between them is reported.
TEST(OmbrixStressTest, AudioHostAndWindowThreadsRunTogether) {
  InProcessHost host(InProcessHost::Recording::PassedOnMidi);
  ASSERT_NE(host.editor, nullptr);
  host.Start(256);
  host.SetBeat(1.5);
  IEditor* editor = host.editor;
  std::atomic<bool> audioDone{false};

  std::thread audio([&] {
    for (int block = 0; block < 1500; ++block) {
      host.SendMidi(block % 200, 0xB0, 69, block % 128);
      host.SendMidi(17, 0x90, 60, 100);
      host.Process(block % 3 == 0 ? 0.9 : 0.2, 0.4, 256);
    }
    audioDone = true;
  });
  std::thread parameters([&] {
    for (int i = 0; i < 1500; ++i) {
      host.effect->setParameter(host.effect, i % 3, static_cast<float>(i % 101) / 100.0f);
      host.effect->getParameter(host.effect, 0);
      if (i % 25 == 0) {
        host.Dispatch(effSetProgram, 0, i % Ombrix::PresetSlots);
      }
    }
  });
  std::thread window([&] {
    IMouseKeys keys;
    keys.left = true;
    int pass = 0;
    while (!audioDone || pass < 40) {
      editor->RedrawRect(editor->DirtyArea());
      editor->DispatchPress(300, 200, keys);
      editor->DispatchDrag(300, 190 - pass % 7, keys);
      editor->DispatchRelease(300, 180, keys);
      editor->DispatchWheel(300, 200, IMouseKeys(), pass % 2 == 0 ? 1 : -1);
      editor->DispatchPress(380, 30, keys);
      editor->DispatchRelease(380, 30, keys);
      editor->DispatchDoubleClick(300, 200, keys);
      editor->DispatchPress(20, 20, keys);
      editor->DispatchRelease(20, 20, keys);
      ++pass;
    }
  });
  audio.join();
  parameters.join();
  window.join();

  const double knob = editor->Control(21)->Value();
  EXPECT_GE(knob, 0.0);
  EXPECT_LE(knob, 1.0);
  EXPECT_FALSE(host.PassedOn().empty());
}
