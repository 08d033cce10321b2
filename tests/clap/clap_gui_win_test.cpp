// The editor in a host's HWND under Wine: a child window with the VST 2 editor's pixels, and
// nothing left behind by many cycles or by a parent that is destroyed first.
#include "tests/clap/ClapTestHost.h"
#include "tests/vst2/TestHost.h"
#include "tests/window/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace {
constexpr double SampleRate = 48000.0;
constexpr uint32_t Frames = 256;
constexpr int EditorWidth = 560;
constexpr int EditorHeight = 400;
constexpr int SettleMs = 200;
constexpr int Cycles = 20;

TEST(ClapWin32Editor, ShowsTheVst2EditorsPixelsInTheHostWindow) {
  HostWindow clapFrame(600, 450);
  ClapTestHost clap(SampleRate, Frames);
  ASSERT_TRUE(clap.OpenEditor(reinterpret_cast<uintptr_t>(clapFrame.Handle())))
      << (clap.logLines.empty() ? "" : clap.logLines.back());
  PumpMessages(SettleMs);
  const HWND clapChild = EditorChild(clapFrame.Handle());
  ASSERT_NE(clapChild, nullptr);
  EXPECT_TRUE(GetWindowLongA(clapChild, GWL_STYLE) & WS_CHILD);
  const std::vector<std::uint32_t> shown = ScreenPixels(clapChild, EditorWidth, EditorHeight);
  EXPECT_NE(std::count(shown.begin(), shown.end(), shown.front()),
            static_cast<std::ptrdiff_t>(shown.size()));

  HostWindow vst2Frame(600, 450);
  TestHost vst2;
  vst2.Start(Frames);
  ASSERT_EQ(vst2.Dispatch(effEditOpen, 0, 0, vst2Frame.Handle()), 1);
  PumpMessages(SettleMs);
  EXPECT_EQ(shown, ScreenPixels(EditorChild(vst2Frame.Handle()), EditorWidth, EditorHeight));
  vst2.Dispatch(effEditClose);

  clap.CloseEditor();
  EXPECT_EQ(EditorChild(clapFrame.Handle()), nullptr);
}

TEST(ClapWin32Editor, ManyCyclesAndAParentGoneFirstLeaveNothing) {
  ClapTestHost clap(SampleRate, Frames);
  for (int cycle = 0; cycle < Cycles; ++cycle) {
    auto frame = std::make_unique<HostWindow>(600, 450);
    const HWND parent = frame->Handle();
    ASSERT_TRUE(clap.OpenEditor(reinterpret_cast<uintptr_t>(parent))) << cycle;
    PumpMessages(10);
    if (cycle % 2 == 1) {
      frame.reset();
    }
    clap.CloseEditor();
    if (frame) {
      EXPECT_EQ(EditorChild(parent), nullptr) << cycle;
    }
  }
  EXPECT_EQ(clap.TimersRegistered(), 0u);
}
} // namespace
