#include "WindowTestSupport.h"

#include "tests/vst2/PluginModule.h"
#include "tests/vst2/TestHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

// The built plug-in library driven as a host drives it: effEditOpen into a window of ours,
// messages pumped, mouse and key messages sent to the editor's child window, pixels read back.
namespace {
constexpr int kParamAmount = 0;
constexpr int kParamThemeEnabled = 1;
const POINT kThemeButton{457, 38};
const POINT kKnob{280, 200};
const POINT kTitleHotSpot{60, 40};
// Inside the first meter stripe, below the panel's artwork.
const POINT kMeterProbe{46, 385};

// The editor's pixels as the screen shows them, read from the window.
class Pixels {
public:
  explicit Pixels(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    width = client.right;
    height = client.bottom;
    pixels = ScreenPixels(window, width, height);
  }

  std::uint32_t At(POINT p) const { return pixels[p.y * width + p.x]; }
  // Pixels that differ inside a rectangle.
  int Differences(const Pixels& other, const RECT& area) const {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
      for (int x = area.left; x < area.right; ++x) {
        count += pixels[y * width + x] != other.pixels[y * width + x];
      }
    }
    return count;
  }

  int width = 0;
  int height = 0;

private:
  std::vector<std::uint32_t> pixels;
};

const RECT kWholeEditor{0, 0, 560, 400};

// A plug-in instance with its editor open in a frame of ours.
class OpenEditor {
public:
  explicit OpenEditor(HWND parentFrame = nullptr)
      : frame(std::make_unique<HostWindow>(600, 450, parentFrame)) {
    host.Start(512);
    opened = host.Dispatch(effEditOpen, 0, 0, frame->Handle());
    window = EditorChild(frame->Handle());
    Settle();
    host.calls.clear();
  }
  ~OpenEditor() { host.Dispatch(effEditClose); }

  // Enough ticks for every dirty control to be drawn twice.
  void Settle() { PumpMessages(150); }
  void Send(UINT message, WPARAM wParam, POINT at) {
    SendMessageA(window, message, wParam, PointerAt(at.x, at.y));
  }
  void Click(POINT at) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON, at);
    Send(WM_LBUTTONUP, 0, at);
  }
  float Parameter(int index) { return host.effect->getParameter(host.effect, index); }
  void ProcessTone(float amplitude, int blocks) { host.ProcessTone(amplitude, blocks); }
  std::vector<VstInt32> Opcodes() const { return host.EditOpcodes(); }
  bool AllCallsFor(int index) const {
    return std::all_of(host.calls.begin(), host.calls.end(),
                       [index](const HostCall& call) { return call.index == index; });
  }

  TestHost host;
  std::unique_ptr<HostWindow> frame;
  VstIntPtr opened = 0;
  HWND window = nullptr;
};

bool EditorClassRegistered() {
  WNDCLASSA info{};
  return GetClassInfoA(GetModuleHandleA("Ombrix.dll"), "EditorWndClass", &info) != 0;
}

// A switch steps its value as it is pressed, inside the gesture's begin and end notices.
const std::vector<VstInt32> kSwitchGesture{audioMasterBeginEdit, audioMasterAutomate,
                                           audioMasterEndEdit};
} // namespace

TEST(HostEditor, OpensAChildWindowThatPaintsTheEditor) {
  OpenEditor e;
  ASSERT_EQ(e.opened, 1);
  ASSERT_NE(e.window, nullptr);
  EXPECT_EQ(GetParent(e.window), e.frame->Handle());
  EXPECT_TRUE(GetWindowLongA(e.window, GWL_STYLE) & WS_CHILD);
  const Pixels shown(e.window);
  EXPECT_EQ(shown.width, 560);
  EXPECT_EQ(shown.height, 400);
  // Painted: the background artwork is not one flat colour.
  int distinct = 0;
  for (int x = 0; x < 560; x += 7) {
    distinct += shown.At(POINT{x, 200}) != shown.At(POINT{0, 200});
  }
  EXPECT_GT(distinct, 10);
}

TEST(HostEditor, MetersRepaintOnTheTimerAfterProcessedBlocks) {
  OpenEditor e;
  const Pixels quiet(e.window);
  e.ProcessTone(0.9f, 40);
  e.Settle();
  const Pixels loud(e.window);
  EXPECT_NE(loud.At(kMeterProbe), quiet.At(kMeterProbe));
  EXPECT_GT(loud.Differences(quiet, RECT{0, 0, 93, 400}), 1000);
  // Silence lets the meters fall back.
  e.ProcessTone(0.0f, 400);
  e.Settle();
  const Pixels fallen(e.window);
  EXPECT_EQ(fallen.At(kMeterProbe), quiet.At(kMeterProbe));
}

TEST(HostEditor, ThemeButtonClickTogglesThePlainParameterWithAGesture) {
  OpenEditor e;
  const float before = e.Parameter(kParamThemeEnabled);
  e.Click(kThemeButton);
  EXPECT_EQ(e.Opcodes(), kSwitchGesture);
  EXPECT_TRUE(e.AllCallsFor(kParamThemeEnabled));
  EXPECT_FLOAT_EQ(e.Parameter(kParamThemeEnabled), 1.0f - before);
  const Pixels toggled(e.window);
  e.Settle();
  EXPECT_GT(Pixels(e.window).Differences(toggled, RECT{375, 20, 540, 57}), 50)
      << "the button shows its other frame";
  e.Click(kThemeButton);
  EXPECT_FLOAT_EQ(e.Parameter(kParamThemeEnabled), before);
}

TEST(HostEditor, KnobDragsWithFineShift) {
  OpenEditor e;
  const float start = e.Parameter(kParamAmount);
  e.Send(WM_LBUTTONDOWN, MK_LBUTTON, kKnob);
  e.Send(WM_MOUSEMOVE, MK_LBUTTON, POINT{kKnob.x, kKnob.y - 76});
  const float coarse = e.Parameter(kParamAmount);
  // 76 pixels of the 764 that span the range.
  EXPECT_NEAR(coarse - start, 76.0 / 764.0, 1e-4);
  e.Send(WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, POINT{kKnob.x, kKnob.y - 152});
  EXPECT_NEAR(e.Parameter(kParamAmount) - coarse, 76.0 / 7640.0, 1e-4);
  e.Send(WM_LBUTTONUP, 0, POINT{kKnob.x, kKnob.y - 152});
  EXPECT_TRUE(e.AllCallsFor(kParamAmount));
  EXPECT_EQ(e.host.CallsOf(audioMasterBeginEdit).size(), 1u);
  EXPECT_EQ(e.host.CallsOf(audioMasterAutomate).size(), 2u);
  EXPECT_EQ(e.host.CallsOf(audioMasterEndEdit).size(), 1u);
}

TEST(HostEditor, WheelNotchAndDoubleClickMoveTheKnobWithoutGestures) {
  OpenEditor e;
  const float start = e.Parameter(kParamAmount);
  RECT placed{};
  GetWindowRect(e.window, &placed);
  SendMessageA(e.window, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA),
               PointerAt(placed.left + kKnob.x, placed.top + kKnob.y));
  EXPECT_NEAR(e.Parameter(kParamAmount) - start, 0.01, 1e-5);
  // A double click goes back to the value shown when the editor was attached.
  e.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, kKnob);
  EXPECT_FLOAT_EQ(e.Parameter(kParamAmount), start);
  EXPECT_EQ(e.host.CountOf(audioMasterBeginEdit), 0);
  EXPECT_EQ(e.host.CountOf(audioMasterEndEdit), 0);
  EXPECT_EQ(e.host.CountOf(audioMasterAutomate), 2);
}

TEST(HostEditor, OverlayOpensFromItsHotSpotAndClosesOnAnyClick) {
  OpenEditor e;
  const Pixels plain(e.window);
  e.Click(kTitleHotSpot);
  e.Settle();
  const Pixels shown(e.window);
  EXPECT_GT(shown.Differences(plain, kWholeEditor), 100000) << "a full-size picture";
  // Anywhere on it, even over the knob, closes it and moves nothing.
  e.Click(kKnob);
  e.Settle();
  EXPECT_LT(Pixels(e.window).Differences(plain, kWholeEditor), 1000);
  EXPECT_TRUE(e.host.calls.empty() || e.Opcodes().empty());
}

TEST(HostEditor, ReleaseOverAnotherControlEndsThePressedOnesGesture) {
  OpenEditor e;
  e.Send(WM_LBUTTONDOWN, MK_LBUTTON, kThemeButton);
  e.Send(WM_LBUTTONUP, 0, kKnob);
  EXPECT_EQ(e.Opcodes(), kSwitchGesture);
  EXPECT_TRUE(e.AllCallsFor(kParamThemeEnabled));
}

TEST(HostEditor, KeysGoToTheHostsRootWindow) {
  OpenEditor e;
  SendMessageA(e.window, WM_KEYDOWN, 'K', 1);
  SendMessageA(e.window, WM_KEYDOWN, VK_SPACE, 1);
  EXPECT_EQ(HostWindow::KeysReceived(), (std::vector<WPARAM>{'K', VK_SPACE}));
}

TEST(HostEditor, TwoEditorsShareTheWindowClassUntilBothClose) {
  auto first = std::make_unique<OpenEditor>();
  auto second = std::make_unique<OpenEditor>();
  ASSERT_NE(first->window, nullptr);
  ASSERT_NE(second->window, nullptr);
  EXPECT_TRUE(EditorClassRegistered());
  first->host.Dispatch(effEditClose);
  EXPECT_FALSE(IsWindow(first->window));
  EXPECT_TRUE(EditorClassRegistered());
  second->host.Dispatch(effEditClose);
  EXPECT_FALSE(EditorClassRegistered());
  // Opening again registers it again.
  EXPECT_EQ(first->host.Dispatch(effEditOpen, 0, 0, first->frame->Handle()), 1);
  EXPECT_TRUE(EditorClassRegistered());
}

TEST(HostEditor, OpeningAgainMovesTheWindowKeepingSizeAndOffset) {
  OpenEditor e;
  HostWindow other(700, 500);
  SetWindowPos(e.window, nullptr, 12, 7, 500, 300, SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_EQ(e.host.Dispatch(effEditOpen, 0, 0, other.Handle()), 1);
  EXPECT_FALSE(IsWindow(e.window));
  e.window = EditorChild(other.Handle());
  ASSERT_NE(e.window, nullptr);
  const RECT placed = PlacementWithin(e.window, other.Handle());
  EXPECT_EQ(placed.left, 12);
  EXPECT_EQ(placed.top, 7);
  EXPECT_EQ(placed.right, 500);
  EXPECT_EQ(placed.bottom, 300);
  e.host.Dispatch(effEditClose);
}

TEST(HostEditor, ClosingAndOpeningShowsTheSameValues) {
  OpenEditor e;
  e.host.effect->setParameter(e.host.effect, kParamAmount, 0.6f);
  e.Settle();
  const Pixels before(e.window);
  e.host.Dispatch(effEditClose);
  EXPECT_EQ(EditorChild(e.frame->Handle()), nullptr);
  ASSERT_EQ(e.host.Dispatch(effEditOpen, 0, 0, e.frame->Handle()), 1);
  e.window = EditorChild(e.frame->Handle());
  e.Settle();
  const Pixels after(e.window);
  EXPECT_EQ(after.Differences(before, kWholeEditor), 0);
  EXPECT_FLOAT_EQ(e.Parameter(kParamAmount), 0.6f);
}
