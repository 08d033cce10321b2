#include "tests/editor/EditorTestSupport.h"
#include "tests/plugin/TestPlugin.h"

#include "editor/ImageControls.h"
#include "editor/KnobControl.h"
#include "editor/LinkControl.h"

#include <gtest/gtest.h>

#include <string>

namespace {
class ControlTest : public ::testing::Test {
protected:
  IImageStrip Strip(int frames, int frameHeight = 10) {
    images.push_back(RowNumberBitmap(20, frames * frameHeight));
    return StripOf(images.back().get(), frames);
  }
  IMouseKeys Keys(bool shift = false, bool control = false) {
    IMouseKeys keys;
    keys.left = true;
    keys.shift = shift;
    keys.control = control;
    return keys;
  }

  TestPlugin plugin;
  TestEditor editor{&plugin};
  std::vector<std::unique_ptr<RasterMemBitmap>> images;
};
} // namespace

TEST_F(ControlTest, SwitchStepsThroughItsFramesAndWraps) {
  ISwitchControl two(&plugin, 0, 0, -1, Strip(2));
  std::vector<double> seen;
  for (int i = 0; i < 3; ++i) {
    two.PointerDown(0, 0, Keys());
    seen.push_back(two.Value());
  }
  EXPECT_EQ(seen, (std::vector<double>{1.0, 0.0, 1.0}));

  ISwitchControl three(&plugin, 0, 0, -1, Strip(3));
  seen.clear();
  for (int i = 0; i < 4; ++i) {
    three.PointerDown(0, 0, Keys());
    seen.push_back(three.Value());
  }
  EXPECT_EQ(seen, (std::vector<double>{0.5, 1.0, 0.0, 0.5}));
  three.ShowValue(0.3);
  three.PointerDown(0, 0, Keys());
  EXPECT_DOUBLE_EQ(three.Value(), 0.8);
  // A double click is one more click.
  three.PointerDoubleClick(0, 0, Keys());
  EXPECT_EQ(three.Value(), 0.0);
}

TEST_F(ControlTest, SwitchPushesItsValueToTheBoundParameter) {
  ISwitchControl button(&plugin, 0, 0, 1, Strip(2));
  button.ShowValue(1.0);
  button.PointerDown(0, 0, Keys());
  EXPECT_EQ(plugin.Parameter(1)->Value(), 0.0);
  EXPECT_EQ(plugin.log, (std::vector<std::string>{"Changed 1", "Notify 1 " + std::to_string(0.0)}));
}

TEST_F(ControlTest, KnobDragsWithGearingAndClampsBeforeThePlugin) {
  IFilmstripKnob knob(&plugin, 184, 104, 0, Strip(480, 191), IKnobControl::Vertical, 4.0);
  EXPECT_EQ(knob.Area().bottom, 104 + 191);
  // 764 pixels of upward travel cover the whole range.
  knob.PointerDrag(0, 0, 0, -191, Keys());
  EXPECT_DOUBLE_EQ(knob.Value(), 0.25);
  EXPECT_DOUBLE_EQ(plugin.Parameter(0)->Value(), 0.25 * 99.99);
  knob.PointerDrag(0, 0, 0, -191, Keys(true));
  EXPECT_DOUBLE_EQ(knob.Value(), 0.275);
  knob.PointerDrag(0, 0, 0, 191, Keys(false, true));
  EXPECT_DOUBLE_EQ(knob.Value(), 0.25);
  knob.PointerDrag(0, 0, 0, -5000, Keys());
  EXPECT_EQ(knob.Value(), 1.0);
  EXPECT_DOUBLE_EQ(plugin.Parameter(0)->Value(), 99.99);
  EXPECT_EQ(plugin.log.back(), "Notify 0 " + std::to_string(1.0));
  knob.PointerDrag(0, 0, 0, 9000, Keys());
  EXPECT_EQ(knob.Value(), 0.0);

  IFilmstripKnob flat(&plugin, 0, 0, 0, Strip(10, 10), IKnobControl::Horizontal, 1.0);
  flat.PointerDrag(0, 0, 10, -500, Keys());
  EXPECT_DOUBLE_EQ(flat.Value(), 0.5);
}

TEST_F(ControlTest, WheelAndDoubleClickChangeTheValue) {
  IFilmstripKnob knob(&plugin, 0, 0, 0, Strip(480, 191), IKnobControl::Vertical, 4.0);
  knob.PointerDoubleClick(0, 0, Keys());
  EXPECT_TRUE(plugin.log.empty());
  knob.ShowValue(0.37);
  knob.WheelTurned(0, 0, IMouseKeys(), 1);
  EXPECT_DOUBLE_EQ(knob.Value(), 0.38);
  knob.WheelTurned(0, 0, Keys(true), -3);
  EXPECT_DOUBLE_EQ(knob.Value(), 0.377);
  knob.PointerDoubleClick(0, 0, Keys());
  EXPECT_DOUBLE_EQ(knob.Value(), 0.37);
  EXPECT_DOUBLE_EQ(plugin.Parameter(0)->Value(), 0.37 * 99.99);
}

TEST_F(ControlTest, ValuesFromThePluginDrawTwiceAndNeverEchoBack) {
  IImageControl image(&plugin, 0, 0, 2, Strip(2));
  image.MarkClean();
  image.ShowValue(0.0);
  EXPECT_FALSE(image.NeedsRedraw());
  image.ShowValue(1.0);
  EXPECT_TRUE(image.NeedsRedraw());
  image.MarkClean();
  EXPECT_TRUE(image.NeedsRedraw());
  image.MarkClean();
  EXPECT_FALSE(image.NeedsRedraw());
  // Clamped to the control's range; the plug-in hears nothing.
  image.ShowValue(-1.0);
  EXPECT_EQ(image.Value(), 0.0);
  EXPECT_TRUE(plugin.log.empty());
}

TEST_F(ControlTest, KnobDrawsTheFrameItsValueSelects) {
  editor.PrepareDrawing();
  auto strip = RowNumberBitmap(4, 92158);
  auto* knob =
      new IFilmstripKnob(&plugin, 0, 0, 0, StripOf(strip.get(), 480), IKnobControl::Vertical, 4.0);
  editor.AddControl(knob);
  const auto rowShownAt = [&](double value, int y) {
    knob->SetValue(value);
    editor.RedrawAll();
    return static_cast<int>(editor.Pixel(0, y) & 0xFFFFFF);
  };
  EXPECT_EQ(rowShownAt(0.0, 0), 0);
  EXPECT_EQ(rowShownAt(0.5, 0), 46079);
  EXPECT_EQ(rowShownAt(0.5, 190), 46079 + 190);
  EXPECT_EQ(rowShownAt(1.0, 0), 91966);
  EXPECT_EQ(rowShownAt(1.0, 190), 92156);
}

TEST_F(ControlTest, OverlayShowsAndAnswersOnlyWhileOn) {
  editor.PrepareDrawing();
  editor.Fill(0xFF000000);
  auto picture = SolidBitmap(560, 400, 0xFFABCDEF);
  auto* overlay = new IOverlayControl(&plugin, 0, 0, StripOf(picture.get(), 1), {19, 19, 223, 62});
  editor.AddControl(overlay);
  // Until it is first drawn the whole area answers.
  EXPECT_TRUE(overlay->ContainsPoint(500, 300));
  editor.RedrawAll();
  EXPECT_EQ(editor.Pixel(100, 100), 0xFF000000u);
  EXPECT_FALSE(overlay->ContainsPoint(500, 300));
  EXPECT_TRUE(overlay->ContainsPoint(19, 19));
  EXPECT_FALSE(overlay->ContainsPoint(223, 40));
  overlay->PointerDown(20, 20, Keys());
  editor.RedrawAll();
  EXPECT_EQ(editor.Pixel(100, 100), 0xFFABCDEFu);
  EXPECT_TRUE(overlay->ContainsPoint(500, 300));
  overlay->PointerDown(500, 300, Keys());
  editor.Fill(0xFF000000);
  editor.RedrawAll();
  EXPECT_EQ(editor.Pixel(100, 100), 0xFF000000u);
}

TEST_F(ControlTest, LinkOpensItsAddressAndTriesNothingElse) {
  auto* link = new ILinkControl(&plugin, {125, 62, 287, 85}, "https://quillmarsh.example/");
  editor.AddControl(link);
  link->PointerDown(130, 70, Keys());
  EXPECT_EQ(editor.links, (std::vector<std::string>{"https://quillmarsh.example/"}));
  EXPECT_EQ(link->Value(), 0.0);
  const std::string tooLong(256, 'a');
  auto* rejected = new ILinkControl(&plugin, {0, 0, 10, 10}, tooLong.c_str());
  auto* empty = new ILinkControl(&plugin, {0, 0, 10, 10}, nullptr);
  editor.AddControl(rejected);
  editor.AddControl(empty);
  EXPECT_STREQ(rejected->Address(), "");
  rejected->PointerDown(1, 1, Keys());
  empty->PointerDown(1, 1, Keys());
  EXPECT_EQ(editor.links.size(), 1u);
}
