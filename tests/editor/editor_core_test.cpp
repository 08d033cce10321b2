#include "tests/editor/EditorTestSupport.h"
#include "tests/plugin/TestPlugin.h"

#include "editor/ImageControls.h"
#include "editor/LevelMeter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
// A control that records the calls it receives.
class ProbeControl : public IControl {
public:
  ProbeControl(IAudioPlugin* plugin, const IBounds& area, int paramIndex,
               std::vector<std::string>* log)
      : IControl(plugin, area, paramIndex), log(log) {}
  void PointerDown(int x, int y, const IMouseKeys&) override { Note("Down", x, y); }
  void PointerUp(int x, int y, const IMouseKeys&) override { Note("Up", x, y); }
  void PointerDrag(int, int, int dx, int dy, const IMouseKeys&) override { Note("Drag", dx, dy); }
  void PointerDoubleClick(int x, int y, const IMouseKeys&) override { Note("Double", x, y); }
  void WheelTurned(int, int, const IMouseKeys&, int notches) override { Note("Wheel", notches, 0); }
  bool KeyPressed(int, int, int key) override {
    Note("Key", key, 0);
    return takesKeys;
  }
  bool Render(IEditor*) override {
    ++renders;
    return true;
  }
  void Note(const char* what, int a, int b) {
    log->push_back(std::string(what) + " " + std::to_string(a) + " " + std::to_string(b));
  }
  void AsPress() { doubleClickAsPress = true; }
  bool takesKeys = false;
  int renders = 0;

private:
  std::vector<std::string>* log;
};

class EditorTest : public ::testing::Test {
protected:
  TestPlugin plugin;
  TestEditor editor{&plugin};
  std::vector<std::string> log;
};
} // namespace

TEST(BoundsTest, OverlapIsOpenOnTheRightAndEmptyNeverOverlaps) {
  EXPECT_TRUE(Overlaps({0, 0, 10, 10}, {10, 0, 20, 10}));
  EXPECT_FALSE(Overlaps({10, 0, 20, 10}, {0, 0, 10, 10}));
  EXPECT_FALSE(Overlaps({0, 0, 10, 10}, {0, 0, 0, 0}));
  EXPECT_FALSE(Overlaps({0, 0, 0, 0}, {0, 0, 10, 10}));
  // Only all four zeros make a rectangle empty.
  EXPECT_FALSE((IBounds{5, 5, 5, 5}).IsEmpty());
  const IBounds cut = Intersection({0, 0, 100, 50}, {40, 20, 300, 300});
  EXPECT_EQ(cut.left, 40);
  EXPECT_EQ(cut.top, 20);
  EXPECT_EQ(cut.right, 100);
  EXPECT_EQ(cut.bottom, 50);
  EXPECT_TRUE(Intersection({10, 0, 20, 10}, {0, 0, 10, 10}).IsEmpty());
}

TEST(ImageStripTest, FramesStartAtTheNearestRowAndBadValuesPickAnEnd) {
  IImageStrip knob;
  knob.width = 192;
  knob.height = 92158;
  knob.frames = 480;
  EXPECT_EQ(knob.FrameHeight(), 191);
  EXPECT_EQ(knob.SourceRowFor(0.0), 0);
  EXPECT_EQ(knob.SourceRowFor(0.5), 46079);
  EXPECT_EQ(knob.SourceRowFor(1.0), 91966);
  EXPECT_EQ(knob.SourceRowFor(-1.0), 0);
  EXPECT_EQ(knob.SourceRowFor(1e300), 91966);
  EXPECT_EQ(knob.SourceRowFor(std::numeric_limits<double>::quiet_NaN()), 0);
  IImageStrip single = knob;
  single.frames = 1;
  EXPECT_EQ(single.SourceRowFor(1.0), 0);
}

TEST_F(EditorTest, PreparedDrawingHasTheEditorsSize) {
  EXPECT_EQ(editor.DrawBitmap(), nullptr);
  editor.PrepareDrawing();
  ASSERT_NE(editor.DrawBitmap(), nullptr);
  EXPECT_EQ(editor.DrawBitmap()->Width(), 560);
  EXPECT_EQ(editor.DrawBitmap()->Height(), 400);
  EXPECT_EQ(1000 / editor.FrameRate(), 40);
}

TEST_F(EditorTest, BackgroundGoesFirstAndMovesEarlierControlsUp) {
  editor.images[9101] = {560, 400, 0xFF102030};
  auto* first = new ProbeControl(&plugin, {0, 0, 10, 10}, -1, &log);
  auto* second = new ProbeControl(&plugin, {0, 0, 10, 10}, -1, &log);
  EXPECT_EQ(editor.AddControl(first), 0);
  EXPECT_EQ(editor.AddControl(second), 1);
  editor.AddBackground(9101, "background.png");
  ASSERT_EQ(editor.ControlCount(), 3);
  EXPECT_EQ(editor.Control(1), first);
  EXPECT_EQ(editor.Control(2), second);
  auto* background = dynamic_cast<IImageControl*>(editor.Control(0));
  ASSERT_NE(background, nullptr);
  EXPECT_EQ(background->Blend().kind, BlendOpaque);
  EXPECT_EQ(background->ParamIndex(), -1);
  EXPECT_EQ(background->Area().right, 560);
  EXPECT_EQ(background->Area().bottom, 400);
  EXPECT_EQ(editor.Control(3), nullptr);
  EXPECT_EQ(editor.Control(-1), nullptr);
}

TEST_F(EditorTest, ImagesAreDecodedOncePerProcessAndFailedLoadsRetried) {
  editor.images[9201] = {8, 6, 0xFF0000FF};
  const IImageStrip a = editor.LoadImageStrip(9201, "a.png", 2);
  EXPECT_EQ(a.width, 8);
  EXPECT_EQ(a.height, 6);
  EXPECT_EQ(a.frames, 2);
  const IImageStrip b = editor.LoadImageStrip(9201, "other.png", 3);
  EXPECT_EQ(b.bitmap, a.bitmap);
  EXPECT_EQ(b.frames, 3);
  TestEditor another(&plugin);
  EXPECT_EQ(another.LoadImageStrip(9201, "a.png", 1).bitmap, a.bitmap);
  EXPECT_EQ(editor.loads[9201], 1);
  EXPECT_EQ(another.loads[9201], 0);

  const IImageStrip missing = editor.LoadImageStrip(9202, "missing.png", 1);
  EXPECT_EQ(missing.bitmap, nullptr);
  EXPECT_EQ(missing.width, 0);
  editor.images[9202] = {4, 4, 0xFF00FF00};
  const IImageStrip retried = editor.LoadImageStrip(9202, "missing.png", 1);
  ASSERT_NE(retried.bitmap, nullptr);
  EXPECT_EQ(editor.LoadImageStrip(9202, "missing.png", 1).bitmap, retried.bitmap);
  EXPECT_EQ(editor.loads[9202], 2);
}

TEST_F(EditorTest, ParameterValuesReachEveryBoundControl) {
  auto* a = new ProbeControl(&plugin, {0, 0, 10, 10}, 0, &log);
  auto* b = new ProbeControl(&plugin, {0, 0, 10, 10}, 0, &log);
  auto* other = new ProbeControl(&plugin, {0, 0, 10, 10}, 1, &log);
  editor.AddControl(a);
  editor.AddControl(b);
  editor.AddControl(other);
  editor.ShowParameterValue(0, 49.995, false);
  EXPECT_DOUBLE_EQ(a->Value(), 0.5);
  EXPECT_DOUBLE_EQ(b->Value(), 0.5);
  EXPECT_EQ(other->Value(), 0.0);
  // The first value shown becomes the double-click default and leaves the control clean.
  EXPECT_DOUBLE_EQ(a->DefaultValue(), 0.5);
  editor.ShowParameterValue(0, 0.25, true);
  EXPECT_EQ(a->Value(), 0.25);
  EXPECT_DOUBLE_EQ(a->DefaultValue(), 0.5);
  // Out of range parameters are ignored in real units.
  editor.ShowParameterValue(7, 1.0, false);
}

TEST_F(EditorTest, RedrawDrawsOverlappingControlsCleansAllAndPresents) {
  EXPECT_TRUE(editor.RedrawAll());
  EXPECT_TRUE(editor.presented.empty());
  editor.PrepareDrawing();
  auto* near = new ProbeControl(&plugin, {0, 0, 10, 10}, -1, &log);
  auto* far = new ProbeControl(&plugin, {300, 300, 310, 310}, -1, &log);
  auto* hidden = new ProbeControl(&plugin, {0, 0, 10, 10}, -1, &log);
  editor.AddControl(near);
  editor.AddControl(far);
  editor.AddControl(hidden);
  hidden->SetHidden(true);
  EXPECT_TRUE(near->NeedsRedraw());
  EXPECT_TRUE(editor.RedrawRect({5, 5, 20, 20}));
  EXPECT_EQ(near->renders, 1);
  EXPECT_EQ(far->renders, 0);
  EXPECT_EQ(hidden->renders, 0);
  EXPECT_FALSE(near->NeedsRedraw());
  EXPECT_FALSE(far->NeedsRedraw());
  // SetHidden asked for one more tick.
  EXPECT_TRUE(hidden->NeedsRedraw());
  ASSERT_EQ(editor.presented.size(), 1u);
  EXPECT_EQ(editor.presented[0].right, 20);

  editor.RedrawRect({100, 100, 120, 120});
  EXPECT_EQ(near->renders, 1);
  EXPECT_FALSE(hidden->NeedsRedraw());
  EXPECT_EQ(editor.presented.size(), 2u);
  EXPECT_TRUE(editor.DirtyArea().IsEmpty());
}

TEST_F(EditorTest, DirtyAreaMergesTheControlsThatNeedDrawing) {
  auto* a = new ProbeControl(&plugin, {10, 20, 30, 40}, -1, &log);
  auto* b = new ProbeControl(&plugin, {100, 5, 110, 15}, -1, &log);
  auto* clean = new ProbeControl(&plugin, {0, 0, 500, 500}, -1, &log);
  editor.AddControl(a);
  editor.AddControl(b);
  editor.AddControl(clean);
  clean->MarkClean();
  const IBounds area = editor.DirtyArea();
  EXPECT_EQ(area.left, 10);
  EXPECT_EQ(area.top, 5);
  EXPECT_EQ(area.right, 110);
  EXPECT_EQ(area.bottom, 40);
  editor.MarkAllDirty();
  EXPECT_EQ(editor.DirtyArea().right, 500);
}

TEST_F(EditorTest, DrawImageClipsToTheRedrawRectangleAndShiftsTheSource) {
  editor.PrepareDrawing();
  editor.Fill(0xFF000000);
  auto rows = RowNumberBitmap(50, 50);
  const IImageStrip strip = StripOf(rows.get(), 1);
  editor.AddControl(new IImageControl(&plugin, 90, 90, -1, strip));
  editor.RedrawRect({100, 100, 200, 200});
  // Only the part inside the rectangle is drawn, read 10 rows and columns into the source.
  EXPECT_EQ(editor.Pixel(99, 99), 0xFF000000u);
  EXPECT_EQ(editor.Pixel(100, 100), 0xFF00000Au);
  EXPECT_EQ(editor.Pixel(100, 139), 0xFF000031u);
  EXPECT_EQ(editor.Pixel(100, 140), 0xFF000000u);
}

TEST_F(EditorTest, StripsWithoutImagesDrawNothing) {
  editor.PrepareDrawing();
  editor.Fill(0xFF123456);
  editor.AddBackground(9301, "absent.png");
  editor.AddControl(new IImageControl(&plugin, 10, 10, -1, IImageStrip()));
  EXPECT_TRUE(editor.RedrawAll());
  EXPECT_EQ(editor.Pixel(0, 0), 0xFF123456u);
  EXPECT_EQ(editor.ControlIndexAt(0, 0, false), -1);
}

TEST_F(EditorTest, MeterFillsFromTheBottomHalfAndHalf) {
  editor.PrepareDrawing();
  editor.images[9401] = {560, 400, 0xFF646464};
  editor.AddBackground(9401, "background.png");
  auto* left = new ILevelMeter(&plugin, {279, 0, 372, 400}, 0, 128, 38);
  auto* right = new ILevelMeter(&plugin, {279, 0, 372, 400}, 0, 128, 38);
  editor.AddControl(left);
  editor.AddControl(right);
  left->ShowValue(0.5);
  right->ShowValue(0.25);
  editor.RedrawAll();
  const std::uint32_t grey = 0xFF646464;
  // Alpha 128 mixes half and half, every byte truncated: 0x80008026 / 2 + 0xFF646464 / 2.
  const std::uint32_t once = 0xBF327245;
  const std::uint32_t twice = 0x9F197935;
  EXPECT_EQ(editor.Pixel(279, 199), grey);
  EXPECT_EQ(editor.Pixel(279, 200), once);
  EXPECT_EQ(editor.Pixel(371, 299), once);
  EXPECT_EQ(editor.Pixel(371, 300), twice);
  EXPECT_EQ(editor.Pixel(300, 399), twice);
  EXPECT_EQ(editor.Pixel(278, 399), grey);
  EXPECT_EQ(editor.Pixel(372, 399), grey);
  // Meters ask for every tick; levels outside 0..1 stay inside the area.
  EXPECT_TRUE(left->NeedsRedraw());
  left->ShowValue(7.0);
  right->ShowValue(std::numeric_limits<double>::quiet_NaN());
  editor.RedrawAll();
  EXPECT_EQ(editor.Pixel(279, 0), once);
}

// A meter skips the change count (it is redrawn every tick), but must keep the same values as
// any other control: the first level as given, later ones clamped, not a number as 0.
TEST_F(EditorTest, MeterKeepsTheValuesAPlainControlKeeps) {
  ILevelMeter meter(&plugin, {0, 0, 10, 10}, 1, 2, 3);
  ProbeControl plain(&plugin, {0, 0, 10, 10}, -1, &log);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (double level : {1.5, 0.25, 0.25, -0.5, 2.0, nan, 0.75, 1.0}) {
    meter.ShowValue(level);
    plain.ShowValue(level);
    EXPECT_EQ(meter.Value(), plain.Value()) << level;
    EXPECT_EQ(meter.DefaultValue(), plain.DefaultValue()) << level;
  }
}

TEST_F(EditorTest, DispatchBracketsGesturesOnBoundControls) {
  auto* background = new ProbeControl(&plugin, {0, 0, 560, 400}, -1, &log);
  auto* bound = new ProbeControl(&plugin, {100, 100, 200, 200}, 1, &log);
  editor.AddControl(background);
  editor.AddControl(bound);
  IMouseKeys keys;
  keys.left = true;
  editor.DispatchPress(150, 150, keys);
  EXPECT_EQ(editor.CapturedIndex(), 1);
  editor.DispatchDrag(150, 150, keys);
  editor.DispatchDrag(155, 140, keys);
  // Captured: the control answers everywhere, also outside the editor.
  EXPECT_EQ(editor.ControlIndexAt(-50, 900, false), 1);
  editor.DispatchDrag(-50, 900, keys);
  editor.DispatchRelease(-50, 900, keys);
  EXPECT_EQ(editor.CapturedIndex(), -1);
  editor.DispatchDoubleClick(150, 150, keys);
  editor.DispatchWheel(10, 10, keys, -2);
  EXPECT_EQ(log, (std::vector<std::string>{"Down 150 150", "Drag 5 -10", "Drag -205 760",
                                           "Up -50 900", "Double 150 150", "Wheel -2 0"}));
  EXPECT_EQ(plugin.log, (std::vector<std::string>{"Begin 1", "End 1"}));
  // A press where nothing is hit captures nothing.
  editor.DispatchPress(600, 10, keys);
  EXPECT_EQ(editor.CapturedIndex(), -1);
}

TEST_F(EditorTest, KeysGoToControlsAboveTheBackgroundOrToTheHost) {
  auto* background = new ProbeControl(&plugin, {0, 0, 560, 400}, -1, &log);
  auto* taker = new ProbeControl(&plugin, {100, 100, 200, 200}, -1, &log);
  editor.AddControl(background);
  editor.AddControl(taker);
  background->takesKeys = true;
  EXPECT_FALSE(editor.DispatchKey(10, 10, KeyA));
  EXPECT_FALSE(editor.DispatchKey(150, 150, KeyUp));
  taker->takesKeys = true;
  EXPECT_TRUE(editor.DispatchKey(150, 150, KeyUp));
  auto* target = new ProbeControl(&plugin, {0, 0, 0, 0}, -1, &log);
  target->takesKeys = true;
  editor.SetKeyTarget(target);
  EXPECT_TRUE(editor.DispatchKey(10, 10, KeySpace));
  EXPECT_EQ(log, (std::vector<std::string>{"Key 1 0", "Key 1 0", "Key 0 0"}));
}

TEST_F(EditorTest, DoubleClickAsPressCapturesWithoutBeginNotice) {
  auto* control = new ProbeControl(&plugin, {0, 0, 100, 100}, 2, &log);
  control->AsPress();
  editor.AddControl(control);
  EXPECT_TRUE(editor.DispatchDoubleClick(5, 5, IMouseKeys()));
  EXPECT_EQ(editor.CapturedIndex(), 0);
  editor.DispatchRelease(5, 5, IMouseKeys());
  EXPECT_EQ(log, (std::vector<std::string>{"Down 5 5", "Up 5 5"}));
  EXPECT_EQ(plugin.log, (std::vector<std::string>{"End 2"}));
}

TEST_F(EditorTest, GreyedAndHiddenControlsAreNotHitAndHoverNeedsTracking) {
  auto* lower = new ProbeControl(&plugin, {0, 0, 100, 100}, -1, &log);
  auto* upper = new ProbeControl(&plugin, {0, 0, 100, 100}, -1, &log);
  editor.AddControl(lower);
  editor.AddControl(upper);
  EXPECT_EQ(editor.ControlIndexAt(50, 50, false), 1);
  upper->SetGreyed(true);
  EXPECT_EQ(upper->Blend().weight, 0.25f);
  EXPECT_EQ(editor.ControlIndexAt(50, 50, true), 0);
  upper->SetGreyed(false);
  upper->SetHidden(true);
  EXPECT_EQ(editor.ControlIndexAt(50, 50, false), 0);
  EXPECT_EQ(editor.ControlIndexAt(100, 50, false), -1);
  EXPECT_FALSE(editor.DispatchHover(50, 50, IMouseKeys()));
  EXPECT_EQ(editor.HoverIndex(), -1);
  editor.SetHoverTracking(true);
  EXPECT_TRUE(editor.DispatchHover(50, 50, IMouseKeys()));
  EXPECT_EQ(editor.HoverIndex(), 0);
  editor.DispatchLeave();
  EXPECT_EQ(editor.HoverIndex(), -1);
}

TEST_F(EditorTest, ResizingRemovesTheControlsAndRemakesTheBitmap) {
  editor.PrepareDrawing();
  editor.AddControl(new ProbeControl(&plugin, {0, 0, 10, 10}, -1, &log));
  editor.DispatchPress(5, 5, IMouseKeys());
  editor.SetEditorSize(300, 200);
  EXPECT_EQ(editor.ControlCount(), 0);
  EXPECT_EQ(editor.CapturedIndex(), -1);
  EXPECT_EQ(editor.DrawBitmap()->Width(), 300);
  EXPECT_EQ(editor.Width(), 300);
  EXPECT_EQ(editor.Height(), 200);
}

// A shown opaque picture over the whole redraw rectangle hides everything before it: those
// controls are cleaned but not drawn. Translucent, greyed or hidden pictures hide nothing.
TEST_F(EditorTest, ControlsUnderAShownOpaquePictureAreNotDrawn) {
  editor.images[9501] = {560, 400, 0xFF112233u};
  editor.images[9502] = {560, 400, 0xFE112233u};
  editor.PrepareDrawing();
  auto* below = new ProbeControl(&plugin, {0, 0, 560, 400}, -1, &log);
  editor.AddControl(below);
  auto* opaque =
      new IOverlayControl(&plugin, 0, 0, editor.LoadImageStrip(9501, "page.png", 1), {0, 0, 9, 9});
  editor.AddControl(opaque);
  auto* translucent = new IOverlayControl(
      &plugin, 0, 0, editor.LoadImageStrip(9502, "glass.png", 1), {9, 9, 19, 19});
  editor.AddControl(translucent);
  auto* above = new ProbeControl(&plugin, {0, 0, 10, 10}, -1, &log);
  editor.AddControl(above);

  editor.RedrawAll();
  EXPECT_EQ(below->renders, 1);
  opaque->ShowValue(1.0);
  below->MarkDirty(false);
  editor.RedrawAll();
  EXPECT_EQ(below->renders, 1);
  EXPECT_EQ(above->renders, 2);
  EXPECT_FALSE(below->NeedsRedraw());
  EXPECT_EQ(editor.Pixel(300, 200), 0xFF112233u);
  // Only what the picture covers: a rectangle reaching beyond it draws everything.
  editor.RedrawRect({0, 0, 561, 400});
  EXPECT_EQ(below->renders, 2);

  translucent->ShowValue(1.0);
  editor.RedrawAll();
  EXPECT_EQ(below->renders, 2);
  opaque->SetGreyed(true);
  editor.RedrawAll();
  EXPECT_EQ(below->renders, 3);
  opaque->SetGreyed(false);
  opaque->SetHidden(true);
  editor.RedrawAll();
  EXPECT_EQ(below->renders, 4);
  opaque->SetHidden(false);
  editor.RedrawAll();
  EXPECT_EQ(below->renders, 4);
}
