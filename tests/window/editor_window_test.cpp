#include "TestControls.h"
#include "WindowTestSupport.h"

#include "../plugin/TestPlugin.h"
#include "editor/win/EditorWin.h"
#include "editor/win/WindowInput.h"
#include "platform/DebugPrint.h"
#include "raster/RasterSysBitmap.h"

#include <gtest/gtest.h>

#include <memory>

namespace {
constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kBlue = 0xFF0000FFu;

// One editor in a host window: a background, a control bound to the amount (left) and one
// bound to nothing (right).
struct EditorInHost {
  EditorInHost() : editor(std::make_unique<IEditorWin>(&plugin, 560, 400, 25)) {
    editor->AddControl(
        new RecordingControl(&plugin, {0, 0, 560, 400}, -1, 0xFF202020u, &plugin.log, "back"));
    knob = new RecordingControl(&plugin, {10, 10, 110, 110}, 0, kRed, &plugin.log, "knob");
    editor->AddControl(knob);
    free = new RecordingControl(&plugin, {200, 10, 300, 110}, -1, kBlue, &plugin.log, "free");
    editor->AddControl(free);
    editor->PrepareDrawing();
    window = static_cast<HWND>(editor->AttachWindow(host.Handle()));
    plugin.log.clear();
  }
  ~EditorInHost() { editor->DetachWindow(); }

  LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageA(window, message, wParam, lParam);
  }
  void Tick() { Send(WM_TIMER, IEditorWin::RedrawTimerId, 0); }

  TestPlugin plugin;
  HostWindow host;
  std::unique_ptr<IEditorWin> editor;
  RecordingControl* knob = nullptr;
  RecordingControl* free = nullptr;
  HWND window = nullptr;
};

std::vector<std::string>& DebugLines() {
  static std::vector<std::string> lines;
  return lines;
}

void CaptureDebugLine(const char* line) {
  DebugLines().push_back(line);
}

bool ClassRegistered() {
  WNDCLASSA info{};
  return GetClassInfoA(GetModuleHandleA(nullptr), "EditorWndClass", &info) != 0;
}

std::vector<std::string> Log(const TestPlugin& plugin) {
  return plugin.log;
}
} // namespace

TEST(WindowInput, ConvertsMessagesToEditorRecords) {
  using namespace window_input;
  EXPECT_EQ(TimerPeriod(25.0), 40u);
  EXPECT_EQ(TimerPeriod(30.0), 33u);
  EXPECT_EQ(WheelNotches(MAKEWPARAM(0, 60)), 0);
  EXPECT_EQ(WheelNotches(MAKEWPARAM(0, static_cast<WORD>(-240))), -2);
  EXPECT_EQ(WheelNotches(MAKEWPARAM(0, 120)), 1);
  EXPECT_EQ(KeyCode(VK_SPACE), KeySpace);
  EXPECT_EQ(KeyCode(VK_RIGHT), KeyRight);
  EXPECT_EQ(KeyCode('7'), Key0 + 7);
  EXPECT_EQ(KeyCode('A'), KeyA);
  EXPECT_EQ(KeyCode(0x61), KeyA) << "numeric keypad 1";
  EXPECT_EQ(KeyCode(VK_F1), KeyA + ('P' - 'A'));
  EXPECT_EQ(KeyCode(VK_ESCAPE), -1);
  EXPECT_EQ(PointerX(PointerAt(-5, 7)), -5);
  EXPECT_EQ(PointerY(PointerAt(-5, -7)), -7);
  const IMouseKeys keys = MouseKeys(MK_LBUTTON | MK_SHIFT);
  EXPECT_TRUE(keys.left);
  EXPECT_TRUE(keys.shift);
  EXPECT_FALSE(keys.right);
  EXPECT_FALSE(keys.control);
}

TEST(EditorWindow, ClassIsRegisteredOnceWhileAnyWindowExists) {
  ASSERT_FALSE(ClassRegistered());
  TestPlugin pluginA;
  TestPlugin pluginB;
  HostWindow host;
  IEditorWin first(&pluginA, 560, 400, 25);
  IEditorWin second(&pluginB, 560, 400, 25);
  first.PrepareDrawing();
  second.PrepareDrawing();
  ASSERT_NE(first.AttachWindow(host.Handle()), nullptr);
  ASSERT_NE(second.AttachWindow(host.Handle()), nullptr);
  EXPECT_EQ(IEditorWin::WindowClassUsers(), 2);
  EXPECT_TRUE(ClassRegistered());
  first.DetachWindow();
  EXPECT_TRUE(ClassRegistered()) << "the second window still uses the class";
  EXPECT_FALSE(first.HasWindow());
  first.DetachWindow();
  EXPECT_EQ(IEditorWin::WindowClassUsers(), 1);
  second.DetachWindow();
  EXPECT_EQ(IEditorWin::WindowClassUsers(), 0);
  EXPECT_FALSE(ClassRegistered());
}

TEST(EditorWindow, FailedCreationGivesBackTheClass) {
  TestPlugin plugin;
  IEditorWin editor(&plugin, 560, 400, 25);
  // A child window needs a parent.
  EXPECT_EQ(editor.AttachWindow(nullptr), nullptr);
  EXPECT_EQ(IEditorWin::WindowClassUsers(), 0);
  EXPECT_FALSE(ClassRegistered());
}

TEST(EditorWindow, ReattachingKeepsSizeAndOffset) {
  TestPlugin plugin;
  HostWindow first;
  HostWindow second(700, 500);
  IEditorWin editor(&plugin, 560, 400, 25);
  editor.PrepareDrawing();
  HWND old = static_cast<HWND>(editor.AttachWindow(first.Handle()));
  const RECT placed = PlacementWithin(old, first.Handle());
  EXPECT_EQ(placed.right, 560);
  EXPECT_EQ(placed.bottom, 400);
  SetWindowPos(old, nullptr, 30, 40, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
  const RECT moved = PlacementWithin(old, first.Handle());
  HWND moving = static_cast<HWND>(editor.AttachWindow(second.Handle()));
  ASSERT_NE(moving, nullptr);
  EXPECT_FALSE(IsWindow(old));
  EXPECT_EQ(GetParent(moving), second.Handle());
  const RECT kept = PlacementWithin(moving, second.Handle());
  EXPECT_EQ(kept.left, moved.left);
  EXPECT_EQ(kept.top, moved.top);
  EXPECT_EQ(kept.right, 300);
  EXPECT_EQ(kept.bottom, 200);
  EXPECT_EQ(IEditorWin::WindowClassUsers(), 1);
  editor.DetachWindow();
}

TEST(EditorWindow, TickPaintsDirtyControlsIntoTheWindow) {
  EditorInHost e;
  ASSERT_NE(e.window, nullptr);
  // Attaching marks everything dirty: the first ticks draw every control.
  ASSERT_TRUE(PumpUntil([&] { return e.knob->renders > 0 && e.free->renders > 0; }, 2000));
  EXPECT_FALSE(e.knob->NeedsRedraw());
  const int before = e.free->renders;
  // Only what is dirty is invalidated: a dirty knob does not repaint the other control.
  e.knob->SetColour(kBlue);
  e.knob->MarkDirty(false);
  ASSERT_TRUE(PumpUntil([&] { return !e.knob->NeedsRedraw(); }, 2000));
  EXPECT_EQ(e.free->renders, before);
  RasterSysBitmap* drawn = e.editor->DrawBitmap();
  EXPECT_EQ(drawn->PixelData()[50 * drawn->RowSpan() + 50] & 0xFFFFFFu, kBlue & 0xFFFFFFu);
  // The window shows the draw bitmap.
  HDC screen = GetDC(e.window);
  EXPECT_EQ(GetPixel(screen, 50, 50), RGB(0, 0, 255));
  ReleaseDC(e.window, screen);
}

TEST(EditorWindow, TimerTicksAboutEvery40Milliseconds) {
  EditorInHost e;
  e.knob->alwaysDirty = true;
  PumpMessages(100);
  const int start = e.knob->renders;
  PumpMessages(1000);
  const int ticks = e.knob->renders - start;
  EXPECT_GT(ticks, 10);
  EXPECT_LE(ticks, 27);
}

TEST(EditorWindow, PressDragReleaseReachTheCapturedControl) {
  EditorInHost e;
  e.Send(WM_LBUTTONDOWN, MK_LBUTTON, PointerAt(20, 20));
  EXPECT_EQ(GetCapture(), e.window);
  e.Send(WM_MOUSEMOVE, MK_LBUTTON, PointerAt(20, 20));
  e.Send(WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, PointerAt(23, 15));
  // Released over the other control: the pressed one still gets it.
  e.Send(WM_LBUTTONUP, 0, PointerAt(250, 50));
  EXPECT_EQ(Log(e.plugin),
            (std::vector<std::string>{"Begin 0", "knob down 20,20", "knob drag 3,-5 shift",
                                      "knob up 250,50", "End 0"}));
  EXPECT_EQ(e.editor->CapturedIndex(), -1);
  EXPECT_NE(GetCapture(), e.window);
  // Without a button held, motion is hover, which is off.
  e.plugin.log.clear();
  e.Send(WM_MOUSEMOVE, 0, PointerAt(30, 30));
  EXPECT_TRUE(Log(e.plugin).empty());
}

TEST(EditorWindow, UnboundControlsGetNoHostNotices) {
  EditorInHost e;
  e.Send(WM_RBUTTONDOWN, MK_RBUTTON, PointerAt(250, 50));
  e.Send(WM_RBUTTONUP, 0, PointerAt(250, 50));
  e.Send(WM_MBUTTONDOWN, MK_MBUTTON, PointerAt(251, 51));
  EXPECT_EQ(Log(e.plugin),
            (std::vector<std::string>{"free down 250,50", "free up 250,50", "free down 251,51"}));
}

TEST(EditorWindow, DoubleClickAndWheelSendNoNotices) {
  EditorInHost e;
  e.Send(WM_LBUTTONDBLCLK, MK_LBUTTON | MK_CONTROL, PointerAt(40, 40));
  RECT placed{};
  GetWindowRect(e.window, &placed);
  // The wheel reports screen positions.
  e.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)),
         PointerAt(placed.left + 60, placed.top + 70));
  e.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, 60), PointerAt(placed.left + 60, placed.top + 70));
  EXPECT_EQ(Log(e.plugin), (std::vector<std::string>{"knob double 40,40 control",
                                                     "knob wheel 60,70 -2", "knob wheel 60,70 0"}));
}

TEST(EditorWindow, UnclaimedKeysGoToTheHostsRootWindow) {
  EditorInHost e;
  e.Send(WM_KEYDOWN, VK_SPACE, 1);
  e.Send(WM_KEYDOWN, VK_F5, 1);
  EXPECT_EQ(HostWindow::KeysReceived(), (std::vector<WPARAM>{VK_SPACE, VK_F5}));
}

TEST(EditorWindow, CloseMessageDetaches) {
  EditorInHost e;
  e.Send(WM_CLOSE, 0, 0);
  EXPECT_FALSE(e.editor->HasWindow());
  EXPECT_FALSE(IsWindow(e.window));
  EXPECT_EQ(IEditorWin::WindowClassUsers(), 0);
}

TEST(EditorWindow, SizeChangeResizesWindowAndEnclosingChildFrame) {
  TestPlugin plugin;
  HostWindow top(900, 700);
  HostWindow frame(600, 450, top.Handle());
  IEditorWin editor(&plugin, 560, 400, 25);
  editor.AddControl(new RecordingControl(&plugin, {0, 0, 10, 10}, -1, kRed, &plugin.log, "c"));
  editor.PrepareDrawing();
  HWND window = static_cast<HWND>(editor.AttachWindow(frame.Handle()));
  RECT topBefore{};
  GetWindowRect(top.Handle(), &topBefore);
  editor.SetEditorSize(560, 400);
  EXPECT_EQ(editor.ControlCount(), 1) << "the same size changes nothing";
  editor.SetEditorSize(600, 450);
  EXPECT_EQ(editor.ControlCount(), 0);
  EXPECT_EQ(editor.DrawBitmap()->Width(), 600);
  EXPECT_EQ(PlacementWithin(window, frame.Handle()).right, 600);
  EXPECT_EQ(PlacementWithin(window, frame.Handle()).bottom, 450);
  EXPECT_EQ(PlacementWithin(frame.Handle(), top.Handle()).right, 640);
  EXPECT_EQ(PlacementWithin(frame.Handle(), top.Handle()).bottom, 500);
  // Two levels up: the frame is a child, so its parent follows too.
  RECT topAfter{};
  GetWindowRect(top.Handle(), &topAfter);
  EXPECT_EQ(topAfter.right - topAfter.left, topBefore.right - topBefore.left + 40);
  EXPECT_EQ(topAfter.bottom - topAfter.top, topBefore.bottom - topBefore.top + 50);
  editor.DetachWindow();
}

TEST(EditorWindow, PointerHidesAndComesBackWhereItWas) {
  TestPlugin plugin;
  IEditorWin editor(&plugin, 560, 400, 25);
  SetCursorPos(123, 45);
  POINT before{};
  GetCursorPos(&before);
  editor.HidePointer();
  editor.HidePointer();
  SetCursorPos(300, 300);
  editor.RestorePointer();
  POINT after{};
  GetCursorPos(&after);
  EXPECT_EQ(after.x, before.x);
  EXPECT_EQ(after.y, before.y);
  CURSORINFO info{};
  info.cbSize = sizeof(info);
  GetCursorInfo(&info);
  EXPECT_TRUE(info.flags & CURSOR_SHOWING);
}

TEST(EditorWindow, LoadsTheModulesPngResourcesOnly) {
  TestPlugin plugin;
  IEditorWin editor(&plugin, 560, 400, 25);
  EXPECT_EQ(editor.LoadImageResource(101, "knob.bmp"), nullptr);
  EXPECT_EQ(editor.LoadImageResource(4242, "missing.png"), nullptr);
}

TEST(EditorWindow, OpacityGoesToTheHostsTopLevelWindow) {
  TestPlugin plugin;
  // Hidden, so that destroying the top-level window does not wait for Wine.
  HWND top = CreateWindowExA(0, "STATIC", "Host", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr,
                             nullptr, nullptr);
  HWND frame =
      CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 300, 200, top, nullptr, nullptr, nullptr);
  IEditorWin editor(&plugin, 100, 100, 25);
  editor.PrepareDrawing();
  ASSERT_NE(editor.AttachWindow(frame), nullptr);
  DebugLines().clear();
  SetDebugSink(CaptureDebugLine);
  editor.SetHostWindowOpacity(200);
  SetDebugSink(nullptr);
  EXPECT_TRUE(GetWindowLongA(top, GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_FALSE(GetWindowLongA(frame, GWL_EXSTYLE) & WS_EX_LAYERED);
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(top, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 200);
  EXPECT_TRUE(flags & LWA_ALPHA);
  ASSERT_EQ(DebugLines().size(), 1u);
  EXPECT_NE(DebugLines()[0].find("200"), std::string::npos);
  editor.DetachWindow();
  DestroyWindow(top);
}
