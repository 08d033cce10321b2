#include "editor/EditorScale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(EditorScale, AnyRequestGivesTheNearestScaleDrawn) {
  EXPECT_EQ(editor_scale::Nearest(1.0), 1.0);
  EXPECT_EQ(editor_scale::Nearest(1.3), 1.25);
  EXPECT_EQ(editor_scale::Nearest(1.4), 1.5);
  EXPECT_EQ(editor_scale::Nearest(1.75), 1.75);
  EXPECT_EQ(editor_scale::Nearest(0.5), 1.0);
  EXPECT_EQ(editor_scale::Nearest(3.0), 2.0);
  EXPECT_EQ(editor_scale::Nearest(-2.0), 1.0);
  EXPECT_EQ(editor_scale::Nearest(std::numeric_limits<double>::quiet_NaN()), 1.0);
  EXPECT_EQ(editor_scale::Nearest(std::numeric_limits<double>::infinity()), 2.0);
  EXPECT_EQ(editor_scale::FromDotsPerInch(96), 1.0);
  EXPECT_EQ(editor_scale::FromDotsPerInch(120), 1.25);
  EXPECT_EQ(editor_scale::FromDotsPerInch(144), 1.5);
  EXPECT_EQ(editor_scale::FromDotsPerInch(192), 2.0);
}

TEST(EditorScale, WindowRectanglesMapBackToTheEditorPixelsHoldingThem) {
  for (double scale : {1.0, 1.25, 1.5, 1.75, 2.0}) {
    SCOPED_TRACE(scale);
    const IBounds knob{184, 104, 376, 295};
    const IBounds window = editor_scale::ToWindow(knob, scale);
    EXPECT_EQ(window.left, static_cast<int>(std::floor(184 * scale + 0.5)));
    // Adjacent rectangles stay adjacent.
    EXPECT_EQ(editor_scale::ToWindow(IBounds{0, 0, 184, 104}, scale).right, window.left);
    const IBounds back = editor_scale::ToEditor(window, scale);
    EXPECT_LE(back.left, knob.left);
    EXPECT_LE(back.top, knob.top);
    EXPECT_GE(back.right, knob.right);
    EXPECT_GE(back.bottom, knob.bottom);
    EXPECT_LE(back.right - back.left, knob.Width() + 1);
    // Every window pixel of the control lands on the control.
    EXPECT_EQ(editor_scale::ToEditor(window.left, scale), knob.left);
    EXPECT_EQ(editor_scale::ToEditor(window.right - 1, scale), knob.right - 1);
  }
}
