// Before the X headers, whose macros (None, Bool) would break it.
#include <gtest/gtest.h>

#include "tests/support/InProcessHost.h"
#include "tests/x11/X11TestHost.h"

#include <atomic>
#include <cstdint>
#include <thread>

// The open X11 editor painting on the host's user-interface thread (idle pumped, the pointer
// dragging the knob through XTest) while the audio thread processes with MIDI and a host thread
// automates every parameter. Run under ThreadSanitizer, any unguarded hand-over between the
// window's drawing and the plug-in side is reported.
TEST(X11StressTest, EditorPaintsWhileAudioProcessesAndTheHostAutomates) {
  X11TestHost x;
  InProcessHost host(InProcessHost::Recording::PassedOnMidi);
  ASSERT_NE(host.editor, nullptr);
  host.Start(256);
  host.SetBeat(1.5);
  const Window parent = x.MakeParent(0, 0, 600, 450);
  ASSERT_EQ(host.Dispatch(effEditOpen, 0, 0,
                          reinterpret_cast<void*>(static_cast<std::uintptr_t>(parent))),
            1);
  std::atomic<bool> audioDone{false};

  std::thread audio([&] {
    for (int block = 0; block < 3000; ++block) {
      host.SendMidi(block % 200, 0xB0, 69, block % 128);
      host.Process(block % 3 == 0 ? 0.9 : 0.2, 0.4, 256);
    }
    audioDone = true;
  });
  std::thread automation([&] {
    for (int i = 0; !audioDone; ++i) {
      host.effect->setParameter(host.effect, i % 3, static_cast<float>(i % 101) / 100.0f);
      if (i % 50 == 0) {
        host.Dispatch(effSetProgram, 0, i % 5);
      }
      std::this_thread::yield();
    }
  });

  // This thread is the host's user-interface thread.
  int rootX = 0;
  int rootY = 0;
  x.RootPosition(x.Children(parent).front(), &rootX, &rootY);
  for (int pass = 0; !audioDone || pass < 20; ++pass) {
    x.MovePointer(rootX + 280, rootY + 200 - pass % 40);
    if (pass % 10 == 0) {
      x.Button(1, true);
    } else if (pass % 10 == 5) {
      x.Button(1, false);
    }
    PumpFor([&] { host.Dispatch(effEditIdle); }, 10);
  }
  x.Button(1, false);
  audio.join();
  automation.join();
  PumpFor([&] { host.Dispatch(effEditIdle); }, 50);
  EXPECT_EQ(host.Dispatch(effEditClose), 1);
  x.Destroy(parent);
  EXPECT_EQ(X11TestHost::ErrorsSeen(), 0);
  EXPECT_FALSE(host.PassedOn().empty());
}
