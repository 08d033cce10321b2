// Before the X headers, whose macros (None, Bool) would break it.
#include <gtest/gtest.h>

#include "editor/VirtualKeys.h"
#include "editor/x11/X11Input.h"

#include <X11/X.h>
#include <X11/keysym.h>

using namespace x11_input;

TEST(X11Input, PressCountsItsButtonReleaseNoLongerDoesModifiersComeFromTheState) {
  const IMouseKeys press = MouseKeys(ShiftMask, Transition::Press, ButtonLeft);
  EXPECT_TRUE(press.left);
  EXPECT_FALSE(press.right);
  EXPECT_TRUE(press.shift);
  const IMouseKeys release =
      MouseKeys(Button1Mask | ControlMask | Mod1Mask, Transition::Release, ButtonLeft);
  EXPECT_FALSE(release.left);
  EXPECT_TRUE(release.control);
  EXPECT_TRUE(release.alt);
  const IMouseKeys right = MouseKeys(Button1Mask, Transition::Press, ButtonRight);
  EXPECT_TRUE(right.left);
  EXPECT_TRUE(right.right);
  // The middle button is neither of the editor's two.
  const IMouseKeys middle = MouseKeys(0, Transition::Press, ButtonMiddle);
  EXPECT_FALSE(middle.left || middle.right);
  EXPECT_TRUE(DragButtonHeld(Button3Mask));
  EXPECT_FALSE(DragButtonHeld(Button2Mask | ShiftMask));
  EXPECT_EQ(WheelNotches(ButtonWheelUp), 1);
  EXPECT_EQ(WheelNotches(ButtonWheelDown), -1);
  EXPECT_EQ(WheelNotches(ButtonLeft), 0);
}

TEST(X11Input, KeySymbolsReachTheSameKeyTableAsWindowsVirtualKeys) {
  auto code = [](unsigned long symbol) { return EditorKeyCode(VirtualKeyForKeySym(symbol)); };
  EXPECT_EQ(code(XK_space), KeySpace);
  EXPECT_EQ(code(XK_Up), KeyUp);
  EXPECT_EQ(code(XK_Down), KeyDown);
  EXPECT_EQ(code(XK_Left), KeyLeft);
  EXPECT_EQ(code(XK_Right), KeyRight);
  EXPECT_EQ(code(XK_7), Key0 + 7);
  EXPECT_EQ(code(XK_a), KeyA);
  EXPECT_EQ(code(XK_Z), KeyZ);
  // The keypad and function keys land on the letters, as on Windows.
  EXPECT_EQ(code(XK_KP_1), KeyA);
  EXPECT_EQ(code(XK_F1), KeyA + ('P' - 'A'));
  EXPECT_EQ(code(XK_KP_Divide), KeyA + 14);
  EXPECT_EQ(code(XK_Escape), -1);
  EXPECT_EQ(code(XK_F12), -1) << "beyond the letters";
  EXPECT_EQ(RedrawTickMilliseconds(25.0), 40);
  EXPECT_EQ(RedrawTickMilliseconds(30.0), 33);
  EXPECT_EQ(RedrawTickMilliseconds(0.0), 0);
}

TEST(X11Input, ASecondLeftPressSoonAndNearIsADoubleClickAndAThirdStartsOver) {
  DoubleClickDetector clicks;
  EXPECT_FALSE(clicks.LeftPress(100, 100, 1000));
  EXPECT_TRUE(clicks.LeftPress(102, 98, 1500)) << "500 ms and 2 pixels are still a pair";
  EXPECT_FALSE(clicks.LeftPress(102, 98, 1600)) << "the pair is spent";
  EXPECT_TRUE(clicks.LeftPress(102, 98, 1700));

  EXPECT_FALSE(clicks.LeftPress(10, 10, 5000));
  EXPECT_FALSE(clicks.LeftPress(10, 10, 5501)) << "too slow";
  EXPECT_FALSE(clicks.LeftPress(13, 10, 5600)) << "too far";
  EXPECT_FALSE(clicks.LeftPress(13, 10, 9000));
  clicks.OtherPress();
  EXPECT_FALSE(clicks.LeftPress(13, 10, 9100)) << "another button broke the pair";
  // Server time wraps.
  EXPECT_FALSE(clicks.LeftPress(0, 0, 0xFFFFFF00u));
  EXPECT_TRUE(clicks.LeftPress(0, 0, 0x00000010u));
}
