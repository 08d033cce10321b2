// The editor view in a real X server's window, driven by the host's run loop as Ardour drives
// it: opened and closed again and again it leaves nothing behind, gestures reach the host's
// component handler, and a host without a run loop gets no blank window.
// Before the X headers, whose macros (None, Bool) would break it.
#include <gtest/gtest.h>

#include "tests/vst3/Vst3TestHost.h"
#include "tests/x11/X11TestHost.h"

namespace {
using vst3host::ComponentHandler;

constexpr int EditorWidth = 560;
constexpr int EditorHeight = 400;
constexpr int Openings = 20;
constexpr int SettleMs = 100;
// A point on the knob, and how far a drag moves it.
constexpr int KnobX = 280;
constexpr int KnobY = 200;
constexpr int DragPixels = 40;

void* ParentPointer(Window parent) {
  return reinterpret_cast<void*>(static_cast<std::uintptr_t>(parent));
}

vst3::IPlugView* Attach(vst3host::Instance& host, vst3host::PlugFrame& frame, Window parent) {
  vst3::IPlugView* view = host.controller->createView(vst3::kEditorViewType);
  if (!view) {
    return nullptr;
  }
  view->setFrame(&frame);
  if (view->attached(ParentPointer(parent), vst3::kPlatformTypeX11EmbedWindowID) !=
      vst3::kResultOk) {
    view->setFrame(nullptr);
    view->release();
    return nullptr;
  }
  return view;
}

void Detach(vst3::IPlugView* view) {
  view->removed();
  view->setFrame(nullptr);
  view->release();
}
} // namespace

TEST(Vst3View, OpensAndClosesAgainLeavingNothingBehind) {
  X11TestHost x;
  vst3host::Instance host(48000.0, 512);
  vst3host::PlugFrame frame;
  const Window parent = x.MakeParent(0, 0, EditorWidth + 40, EditorHeight + 40);
  EXPECT_EQ(host.controller->createView(nullptr), nullptr);
  EXPECT_EQ(host.controller->createView("other"), nullptr);

  const int files = OpenFileCount();
  const int threads = ThreadCount();
  for (int round = 0; round < Openings; ++round) {
    vst3::IPlugView* view = Attach(host, frame, parent);
    ASSERT_NE(view, nullptr) << round;
    vst3::ViewRect size{};
    view->getSize(&size);
    EXPECT_EQ(size.right - size.left, EditorWidth);
    EXPECT_EQ(size.bottom - size.top, EditorHeight);
    EXPECT_EQ(view->canResize(), vst3::kResultFalse);
    EXPECT_EQ(frame.TimerCount(), 1u);
    EXPECT_EQ(frame.HandlerCount(), 1u);
    EXPECT_EQ(ThreadCount(), threads) << "the host's run loop drives the editor";
    frame.RunOnce();
    EXPECT_EQ(x.Children(parent).size(), 1u);
    // Keys no control takes stay the host's.
    EXPECT_EQ(view->onKeyDown(u' ', 0, 0), vst3::kResultFalse);
    Detach(view);
    EXPECT_TRUE(x.Children(parent).empty());
    EXPECT_EQ(frame.TimerCount(), 0u);
    EXPECT_EQ(frame.HandlerCount(), 0u);
  }
  EXPECT_EQ(OpenFileCount(), files) << "the editor's X connection is closed";
  x.Destroy(parent);
  EXPECT_EQ(X11TestHost::ErrorsSeen(), 0);
}

TEST(Vst3View, ParentThatDisappearsFirstRaisesNoErrorInTheHost) {
  X11TestHost x;
  vst3host::Instance host(48000.0, 512);
  vst3host::PlugFrame frame;
  const Window parent = x.MakeParent(0, 0, EditorWidth, EditorHeight);
  vst3::IPlugView* view = Attach(host, frame, parent);
  ASSERT_NE(view, nullptr);
  x.Destroy(parent);
  PumpFor([&frame] { frame.RunOnce(); }, SettleMs);
  Detach(view);
  EXPECT_EQ(X11TestHost::ErrorsSeen(), 0);
}

TEST(Vst3View, WithoutTheHostsRunLoopNoEditorOpens) {
  X11TestHost x;
  vst3host::Instance host(48000.0, 512);
  vst3host::PlugFrame frame;
  frame.offersRunLoop = false;
  const Window parent = x.MakeParent(0, 0, EditorWidth, EditorHeight);
  EXPECT_EQ(Attach(host, frame, parent), nullptr);
  EXPECT_TRUE(x.Children(parent).empty());
  x.Destroy(parent);
}

// A drag on the knob is one gesture on the amount: begin, values, end, from the view's thread.
TEST(Vst3View, KnobGesturesReachTheComponentHandler) {
  X11TestHost x;
  vst3host::Instance host(48000.0, 512);
  vst3host::PlugFrame frame;
  const Window parent = x.MakeParent(0, 0, EditorWidth, EditorHeight);
  vst3::IPlugView* view = Attach(host, frame, parent);
  ASSERT_NE(view, nullptr);
  auto idle = [&frame] { frame.RunOnce(); };
  PumpFor(idle, SettleMs);
  int rootX = 0;
  int rootY = 0;
  x.RootPosition(x.Children(parent).front(), &rootX, &rootY);
  host.handler.Take();
  x.MovePointer(rootX + KnobX, rootY + KnobY);
  x.Button(1, true);
  PumpFor(idle, SettleMs);
  x.MovePointer(rootX + KnobX, rootY + KnobY - DragPixels);
  PumpFor(idle, SettleMs);
  x.Button(1, false);
  PumpFor(idle, SettleMs);
  const std::vector<ComponentHandler::Edit> edits = host.handler.Take();
  ASSERT_GE(edits.size(), 3u);
  EXPECT_EQ(edits.front().kind, ComponentHandler::Edit::Kind::Begin);
  EXPECT_EQ(edits.back().kind, ComponentHandler::Edit::Kind::End);
  bool moved = false;
  for (const ComponentHandler::Edit& edit : edits) {
    EXPECT_EQ(edit.id, 0u);
    moved = moved || (edit.kind == ComponentHandler::Edit::Kind::Perform && edit.value > 0.0);
  }
  EXPECT_TRUE(moved);
  EXPECT_GT(host.controller->getParamNormalized(0), 0.0);
  Detach(view);
  x.Destroy(parent);
}
