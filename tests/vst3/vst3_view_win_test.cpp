// The editor view in a window of the test program under Wine: the Windows editor window as a
// child of the host's HWND, painting the same picture as the VST 2 build's editor, gone again
// when the view is removed.
#include "tests/vst2/TestHost.h"
#include "tests/vst3/Vst3TestHost.h"
#include "tests/window/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {
constexpr int EditorWidth = 560;
constexpr int EditorHeight = 400;
constexpr int PaintMs = 300;

} // namespace

TEST(Vst3WindowsView, TheEditorWindowOpensInTheHostsWindowWithTheVst2Picture) {
  vst3host::Instance host(44100.0, 512);
  ASSERT_TRUE(host.Ready());
  HostWindow frame;
  vst3::IPlugView* view = host.controller->createView(vst3::kEditorViewType);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->isPlatformTypeSupported(vst3::kPlatformTypeHWND), vst3::kResultTrue);
  EXPECT_EQ(view->isPlatformTypeSupported(vst3::kPlatformTypeX11EmbedWindowID), vst3::kResultFalse);
  ASSERT_EQ(view->attached(frame.Handle(), vst3::kPlatformTypeHWND), vst3::kResultOk);
  const HWND editor = EditorChild(frame.Handle());
  ASSERT_NE(editor, nullptr);
  const RECT placed = PlacementWithin(editor, frame.Handle());
  EXPECT_EQ(placed.right - placed.left, EditorWidth);
  EXPECT_EQ(placed.bottom - placed.top, EditorHeight);
  PumpMessages(PaintMs);
  const std::vector<std::uint32_t> shown = ScreenPixels(editor, EditorWidth, EditorHeight);
  EXPECT_NE(std::count(shown.begin(), shown.end(), shown.front()),
            static_cast<std::ptrdiff_t>(shown.size()));

  TestHost vst2;
  vst2.Start();
  HostWindow vst2Frame;
  ASSERT_EQ(vst2.Dispatch(effEditOpen, 0, 0, vst2Frame.Handle()), 1);
  PumpMessages(PaintMs);
  EXPECT_EQ(shown, ScreenPixels(EditorChild(vst2Frame.Handle()), EditorWidth, EditorHeight));
  vst2.Dispatch(effEditClose);

  EXPECT_EQ(view->removed(), vst3::kResultOk);
  EXPECT_EQ(EditorChild(frame.Handle()), nullptr);
  view->release();
}
