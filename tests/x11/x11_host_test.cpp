// Before the X headers, whose macros (None, Bool) would break it.
#include <gtest/gtest.h>

#include "tests/vst2/PluginModule.h"
#include "tests/vst2/TestHost.h"
#include "tests/x11/X11TestHost.h"
#include "vst2/EditorSnapshotExport.h"

#include <X11/keysym.h>
#include <dlfcn.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

// The built Ombrix.so opened as a Linux host opens it: effEditOpen with an X window id of the
// host's, effEditIdle pumped, pointer input through XTest, the editor's pixels read back from
// the server and compared with the module's off-screen picture of the same state.
namespace {
constexpr int kWidth = 560;
constexpr int kHeight = 400;
constexpr int kParentX = 100;
constexpr int kParentY = 100;
constexpr int kParamAmount = 0;
constexpr int kParamThemeEnabled = 1;
constexpr int kTimeoutMs = 3000;
// Enough for two redraw ticks.
constexpr int kTwoTicksMs = 120;
struct Point {
  int x;
  int y;
};
const Point kThemeButton{457, 38};
const Point kKnob{280, 200};
const Point kTitleHotSpot{60, 40};
const Point kMakerSiteLink{200, 70};
const Point kMeterProbe{46, 385};

std::vector<std::uint32_t> OffscreenPicture(TestHost& host) {
  void* module = dlopen(OMBRIX_PLUGIN_FILE, RTLD_NOW | RTLD_NOLOAD);
  const auto snapshot =
      module ? reinterpret_cast<OmbrixEditorSnapshotProc>(dlsym(module, OmbrixEditorSnapshotName))
             : nullptr;
  std::vector<std::uint32_t> pixels(static_cast<size_t>(kWidth) * kHeight);
  if (!snapshot || snapshot(host.effect, pixels.data(), kWidth, kHeight) != 1) {
    pixels.clear();
  }
  if (module) {
    dlclose(module);
  }
  for (std::uint32_t& pixel : pixels) {
    pixel &= 0xFFFFFFu;
  }
  return pixels;
}

// One plug-in instance with its editor open in a parent window of the test's.
class OpenEditor {
public:
  explicit OpenEditor(X11TestHost& x, int parentX = kParentX, int parentY = kParentY)
      : x(x), parent(x.MakeParent(parentX, parentY, 700, 500)) {
    host.Start(512);
    opened = Open(parent);
    Settle();
    host.calls.clear();
  }
  ~OpenEditor() {
    Close();
    x.Destroy(parent);
  }

  VstIntPtr Open(Window into) {
    const VstIntPtr result =
        host.Dispatch(effEditOpen, 0, reinterpret_cast<VstIntPtr>(x.Connection()),
                      reinterpret_cast<void*>(static_cast<std::uintptr_t>(into)));
    const std::vector<Window> children = x.Children(into);
    child = children.empty() ? 0 : children.front();
    return result;
  }
  VstIntPtr Close() { return host.Dispatch(effEditClose); }
  void Idle() { host.Dispatch(effEditIdle); }
  bool PumpUntil(const std::function<bool()>& done) {
    return ::PumpUntil([this] { Idle(); }, done, kTimeoutMs);
  }
  void Settle() {
    PumpFor([this] { Idle(); }, kTwoTicksMs);
  }

  std::vector<std::uint32_t> Shown() { return x.Pixels(child, kWidth, kHeight); }
  // The pointer at editor pixel p.
  void MoveTo(Point p) {
    int rootX = 0;
    int rootY = 0;
    x.RootPosition(child, &rootX, &rootY);
    x.MovePointer(rootX + p.x, rootY + p.y);
  }
  void Click(Point p, unsigned button = 1) {
    MoveTo(p);
    x.Button(button, true);
    x.Button(button, false);
  }
  // Waits until the editor has taken everything sent so far: the host hears of the release.
  bool ClickAndWait(Point p) {
    const size_t before = host.calls.size();
    Click(p);
    return PumpUntil([&] { return host.calls.size() > before; });
  }
  float Parameter(int index) { return host.effect->getParameter(host.effect, index); }
  std::vector<VstInt32> EditOpcodes() const { return host.EditOpcodes(); }
  void ProcessTone(float amplitude, int blocks) { host.ProcessTone(amplitude, blocks); }
  // The window's picture now, then the module's off-screen one of the same state (which the
  // module gives only while no window is open): they must be the same pixels.
  int DifferencesFromOffscreen() {
    Settle();
    const std::vector<std::uint32_t> shown = Shown();
    Close();
    const std::vector<std::uint32_t> offscreen = OffscreenPicture(host);
    if (offscreen.empty()) {
      return -1;
    }
    return Differences(shown, offscreen, kWidth, 0, 0, kWidth, kHeight);
  }

  X11TestHost& x;
  TestHost host;
  Window parent;
  Window child = 0;
  VstIntPtr opened = 0;
};

const std::vector<VstInt32> kSwitchGesture{audioMasterBeginEdit, audioMasterAutomate,
                                           audioMasterEndEdit};

class X11HostEditor : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_NE(x.Connection(), nullptr) << "no X server"; }
  void TearDown() override {
    EXPECT_EQ(X11TestHost::ErrorsSeen(), 0) << "an X error reached the host";
  }
  X11TestHost x;
};
} // namespace

TEST_F(X11HostEditor, OpensOneChildThatShowsTheOffscreenPictureExactly) {
  OpenEditor e(x);
  ASSERT_EQ(e.opened, 1);
  ASSERT_EQ(x.Children(e.parent).size(), 1u);
  const XWindowAttributes placed = x.Attributes(e.child);
  EXPECT_EQ(placed.x, 0);
  EXPECT_EQ(placed.y, 0);
  EXPECT_EQ(placed.width, kWidth);
  EXPECT_EQ(placed.height, kHeight);
  EXPECT_EQ(placed.map_state, IsViewable);
  ERect* rect = nullptr;
  EXPECT_EQ(e.host.Dispatch(effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->right, kWidth);
  EXPECT_EQ(rect->bottom, kHeight);
  // While the window is open the module leaves its bitmap to it.
  EXPECT_TRUE(OffscreenPicture(e.host).empty());
  EXPECT_EQ(e.DifferencesFromOffscreen(), 0);
}

TEST_F(X11HostEditor, ThemeButtonClickTogglesItsParameterInsideAGestureAndShowsTheOtherFrame) {
  OpenEditor e(x);
  const float before = e.Parameter(kParamThemeEnabled);
  const std::vector<std::uint32_t> plain = e.Shown();
  ASSERT_TRUE(e.ClickAndWait(kThemeButton));
  ASSERT_TRUE(e.PumpUntil([&] { return e.EditOpcodes().size() >= 3; }));
  EXPECT_EQ(e.EditOpcodes(), kSwitchGesture);
  for (const HostCall& call : e.host.calls) {
    EXPECT_EQ(call.index, kParamThemeEnabled);
  }
  EXPECT_FLOAT_EQ(e.Parameter(kParamThemeEnabled), 1.0f - before);
  EXPECT_TRUE(e.PumpUntil([&] {
    return Differences(e.Shown(), plain, kWidth, 375, 20, 540, 57) > 50;
  })) << "the button shows its other frame";
  EXPECT_EQ(e.DifferencesFromOffscreen(), 0);
}

TEST_F(X11HostEditor, KnobDragFollowsItsGearingAndContinuesOutsideTheWindow) {
  OpenEditor e(x);
  const float start = e.Parameter(kParamAmount);
  e.MoveTo(kKnob);
  x.Button(1, true);
  ASSERT_TRUE(e.PumpUntil([&] { return e.host.CountOf(audioMasterBeginEdit) == 1; }));
  e.MoveTo(Point{kKnob.x, kKnob.y - 76});
  ASSERT_TRUE(e.PumpUntil([&] { return e.Parameter(kParamAmount) != start; }));
  const float coarse = e.Parameter(kParamAmount);
  // 76 pixels of the 764 that span the range.
  EXPECT_NEAR(coarse - start, 76.0 / 764.0, 1e-4);
  x.Key(XK_Shift_L, true);
  e.MoveTo(Point{kKnob.x, kKnob.y - 152});
  ASSERT_TRUE(e.PumpUntil([&] { return e.Parameter(kParamAmount) != coarse; }));
  const float fine = e.Parameter(kParamAmount);
  EXPECT_NEAR(fine - coarse, 76.0 / 7640.0, 1e-4);
  x.Key(XK_Shift_L, false);
  // Above the editor's top edge: the window keeps the pointer while the button is held.
  e.MoveTo(Point{kKnob.x, kKnob.y - 252});
  ASSERT_TRUE(e.PumpUntil([&] { return e.Parameter(kParamAmount) != fine; }));
  EXPECT_NEAR(e.Parameter(kParamAmount) - fine, 100.0 / 764.0, 1e-4);
  x.Button(1, false);
  ASSERT_TRUE(e.PumpUntil([&] { return e.host.CountOf(audioMasterEndEdit) == 1; }));
  EXPECT_EQ(e.host.CountOf(audioMasterBeginEdit), 1);
  EXPECT_EQ(e.host.CountOf(audioMasterAutomate), 3);
  for (const HostCall& call : e.host.calls) {
    EXPECT_EQ(call.index, kParamAmount);
  }
  EXPECT_EQ(e.DifferencesFromOffscreen(), 0);
}

TEST_F(X11HostEditor, WheelNotchesAndADoubleClickRestoringTheAttachTimeValue) {
  OpenEditor e(x);
  const float start = e.Parameter(kParamAmount);
  e.Click(kKnob, 4);
  ASSERT_TRUE(e.PumpUntil([&] { return e.Parameter(kParamAmount) != start; }));
  EXPECT_NEAR(e.Parameter(kParamAmount) - start, 0.01, 1e-5);
  e.Click(kKnob, 4);
  e.Click(kKnob, 5);
  e.Click(kKnob, 4);
  ASSERT_TRUE(e.PumpUntil([&] { return e.host.CountOf(audioMasterAutomate) == 4; }));
  EXPECT_NEAR(e.Parameter(kParamAmount) - start, 0.02, 1e-5);
  EXPECT_EQ(e.host.CountOf(audioMasterBeginEdit), 0) << "the wheel brackets nothing";
  const float turned = e.Parameter(kParamAmount);

  // Two clicks further apart than a double click's interval are two presses.
  ASSERT_TRUE(e.ClickAndWait(kKnob));
  PumpFor([&] { e.Idle(); }, 600);
  ASSERT_TRUE(e.ClickAndWait(kKnob));
  ASSERT_TRUE(e.PumpUntil([&] { return e.host.CountOf(audioMasterEndEdit) == 2; }));
  EXPECT_FLOAT_EQ(e.Parameter(kParamAmount), turned);

  // Two quick ones are a double click: press, release, double click, release.
  PumpFor([&] { e.Idle(); }, 600);
  e.host.calls.clear();
  e.Click(kKnob);
  e.Click(kKnob);
  ASSERT_TRUE(e.PumpUntil([&] { return e.Parameter(kParamAmount) != turned; }));
  EXPECT_FLOAT_EQ(e.Parameter(kParamAmount), start);
  ASSERT_TRUE(e.PumpUntil([&] { return e.host.CountOf(audioMasterEndEdit) == 2; }));
  EXPECT_EQ(e.host.CountOf(audioMasterBeginEdit), 1) << "the double click sends no begin";
  EXPECT_EQ(e.DifferencesFromOffscreen(), 0);
}

TEST_F(X11HostEditor, ClickOnPictureOpensFromItsHotSpotAndClosesOnAnyClick) {
  OpenEditor e(x);
  const std::vector<std::uint32_t> plain = e.Shown();
  e.Click(kTitleHotSpot);
  EXPECT_TRUE(e.PumpUntil([&] {
    return Differences(e.Shown(), plain, kWidth, 0, 0, kWidth, kHeight) > 100000;
  })) << "a full-size picture";
  // Anywhere on it, even over the knob, closes it and moves nothing.
  e.Click(kKnob);
  EXPECT_TRUE(e.PumpUntil(
      [&] { return Differences(e.Shown(), plain, kWidth, 0, 0, kWidth, kHeight) < 1000; }));
  EXPECT_TRUE(e.EditOpcodes().empty());
  EXPECT_EQ(e.DifferencesFromOffscreen(), 0);
}

TEST_F(X11HostEditor, MetersRiseWithAToneAndFallInSilence) {
  OpenEditor e(x);
  const std::uint32_t quiet = e.Shown()[kMeterProbe.y * kWidth + kMeterProbe.x];
  e.ProcessTone(0.9f, 40);
  EXPECT_TRUE(
      e.PumpUntil([&] { return e.Shown()[kMeterProbe.y * kWidth + kMeterProbe.x] != quiet; }));
  EXPECT_EQ(e.DifferencesFromOffscreen(), 0);
  ASSERT_EQ(e.Open(e.parent), 1);
  e.ProcessTone(0.0f, 400);
  EXPECT_TRUE(
      e.PumpUntil([&] { return e.Shown()[kMeterProbe.y * kWidth + kMeterProbe.x] == quiet; }));
}

TEST_F(X11HostEditor, LinkAreaStartsTheBrowserWithTheAddressAsItsOneArgument) {
  char folder[] = "/tmp/ombrix-link-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string record = std::string(folder) + "/arguments";
  const std::string opener = std::string(folder) + "/xdg-open";
  {
    std::ofstream script(opener);
    script << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > " << record << ".part\n"
           << "mv " << record << ".part " << record << "\n";
  }
  chmod(opener.c_str(), 0755);
  const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", (std::string(folder) + ":" + path).c_str(), 1);
  {
    OpenEditor e(x);
    e.Click(kMakerSiteLink);
    EXPECT_TRUE(e.PumpUntil([&] { return access(record.c_str(), F_OK) == 0; }));
  }
  setenv("PATH", path.c_str(), 1);
  std::ifstream in(record);
  std::string line;
  std::vector<std::string> lines;
  while (std::getline(in, line)) {
    lines.push_back(line);
  }
  EXPECT_EQ(lines, std::vector<std::string>{"https://quillmarsh.example/"});
  std::remove(record.c_str());
  std::remove(opener.c_str());
  rmdir(folder);
}

TEST_F(X11HostEditor, ClosingAndReopeningShowsTheSamePictureAndKeepsOffsetAndSize) {
  OpenEditor e(x);
  e.host.effect->setParameter(e.host.effect, kParamAmount, 0.6f);
  e.Settle();
  const std::vector<std::uint32_t> before = e.Shown();
  EXPECT_EQ(e.Close(), 1);
  EXPECT_TRUE(x.Children(e.parent).empty());
  ASSERT_EQ(e.Open(e.parent), 1);
  e.Settle();
  EXPECT_EQ(Differences(e.Shown(), before, kWidth, 0, 0, kWidth, kHeight), 0);

  // Moved and resized by the host, then opened into another parent while open.
  XMoveResizeWindow(x.Connection(), e.child, 12, 7, 500, 300);
  XSync(x.Connection(), False);
  const Window other = x.MakeParent(50, 50, 800, 600);
  ASSERT_EQ(e.Open(other), 1);
  EXPECT_TRUE(x.Children(e.parent).empty());
  const XWindowAttributes placed = x.Attributes(e.child);
  EXPECT_EQ(placed.x, 12);
  EXPECT_EQ(placed.y, 7);
  EXPECT_EQ(placed.width, 500);
  EXPECT_EQ(placed.height, 300);
  e.Close();
  x.Destroy(other);
}

TEST_F(X11HostEditor, TwoEditorsAtOnceEachShowItsOwnInstance) {
  OpenEditor first(x, 0, 0);
  OpenEditor second(x, 720, 0);
  ASSERT_EQ(first.opened, 1);
  ASSERT_EQ(second.opened, 1);
  EXPECT_NE(first.child, second.child);
  first.host.effect->setParameter(first.host.effect, kParamAmount, 0.2f);
  second.host.effect->setParameter(second.host.effect, kParamAmount, 0.9f);
  first.Settle();
  second.Settle();
  EXPECT_GT(Differences(first.Shown(), second.Shown(), kWidth, 184, 104, 376, 295), 100);
  EXPECT_EQ(first.DifferencesFromOffscreen(), 0);
  EXPECT_EQ(second.DifferencesFromOffscreen(), 0);
}

TEST_F(X11HostEditor, AParentThatDoesNotExistOpensNothing) {
  TestHost host;
  host.Start(512);
  const int files = OpenFileCount();
  EXPECT_EQ(host.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(0x7FFFFF0)), 0);
  EXPECT_EQ(host.Dispatch(effEditOpen, 0, 0, nullptr), 0);
  EXPECT_EQ(OpenFileCount(), files) << "the editor's connection is closed again";
  host.Dispatch(effEditIdle);
  EXPECT_EQ(host.Dispatch(effEditClose), 1);
}

TEST_F(X11HostEditor, WithoutADisplayTheEditorDoesNotOpen) {
  OpenEditor e(x);
  e.Close();
  const std::string display = std::getenv("DISPLAY");
  unsetenv("DISPLAY");
  EXPECT_EQ(e.Open(e.parent), 0);
  setenv("DISPLAY", display.c_str(), 1);
  EXPECT_TRUE(x.Children(e.parent).empty());
}

TEST_F(X11HostEditor, AParentDestroyedBeforeCloseLeavesNothingBehind) {
  const int files = OpenFileCount();
  {
    // The idle pump learns of it first.
    OpenEditor e(x);
    x.Destroy(e.parent);
    PumpFor([&] { e.Idle(); }, kTwoTicksMs);
    EXPECT_EQ(e.Close(), 1);
    e.parent = x.MakeParent(kParentX, kParentY, 700, 500);
    EXPECT_EQ(e.Open(e.parent), 1) << "opens again into a new parent";
  }
  {
    // Or the close comes before any idle.
    OpenEditor e(x);
    x.Destroy(e.parent);
    EXPECT_EQ(e.Close(), 1);
    e.Idle();
    e.parent = x.MakeParent(kParentX, kParentY, 700, 500);
  }
  EXPECT_EQ(OpenFileCount(), files);
}

TEST_F(X11HostEditor, ManyOpenCloseCyclesLeaveFilesAndThreadsAsTheyWere) {
  TestHost host;
  host.Start(512);
  const Window parent = x.MakeParent(kParentX, kParentY, 700, 500);
  const int files = OpenFileCount();
  const int threads = ThreadCount();
  for (int cycle = 0; cycle < 40; ++cycle) {
    ASSERT_EQ(host.Dispatch(effEditOpen, 0, 0,
                            reinterpret_cast<void*>(static_cast<std::uintptr_t>(parent))),
              1);
    host.Dispatch(effEditIdle);
    host.Dispatch(effEditClose);
  }
  EXPECT_EQ(OpenFileCount(), files);
  EXPECT_EQ(ThreadCount(), threads);
  EXPECT_TRUE(x.Children(parent).empty());
  x.Destroy(parent);
}

TEST_F(X11HostEditor, HostKeysStayTheHostsAsNoControlTakesKeys) {
  OpenEditor e(x);
  e.MoveTo(kKnob);
  EXPECT_EQ(e.host.Dispatch(effEditKeyDown, 'k', 0), 0);
  EXPECT_EQ(e.host.Dispatch(effEditKeyUp, 'k', 0), 0);
  EXPECT_EQ(e.host.Dispatch(effEditKeyDown, 0, VKEY_SPACE), 0);
  EXPECT_EQ(e.host.Dispatch(effEditKeyDown, 0, VKEY_UP), 0);
  EXPECT_EQ(e.host.Dispatch(effEditKeyDown, 0, 6), 0) << "escape";
  EXPECT_EQ(e.DifferencesFromOffscreen(), 0);
}
