// The hand-over between the plug-in side, which shows values on controls, and the window's
// redraw pass, interleaved step by step: a value shown while the window draws is never left
// undrawn.

#include "tests/editor/EditorTestSupport.h"
#include "tests/plugin/TestPlugin.h"

#include "editor/Control.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {
// Records the value each Render drew and runs the test's step for the other thread right after
// reading it: between the window's drawing and its cleaning.
class SteppedControl : public IControl {
public:
  SteppedControl(IAudioPlugin* plugin, const IBounds& area) : IControl(plugin, area, 0) {}
  bool Render(IEditor*) override {
    drawn.push_back(Value());
    if (duringRender) {
      std::function<void()> step = std::move(duringRender);
      duringRender = nullptr;
      step();
    }
    return true;
  }
  std::vector<double> drawn;
  std::function<void()> duringRender;
};

class HandOverTest : public ::testing::Test {
protected:
  void SetUp() override {
    editor.PrepareDrawing();
    control = new SteppedControl(&plugin, {0, 0, 10, 10});
    editor.AddControl(control);
    control->ShowValue(0.25);
    editor.RedrawAll();
    ASSERT_FALSE(control->NeedsRedraw());
  }
  // One window tick: the pass over what needs drawing.
  void Tick() { editor.RedrawRect(editor.DirtyArea()); }

  TestPlugin plugin;
  TestEditor editor{&plugin};
  SteppedControl* control = nullptr;
};
} // namespace

TEST_F(HandOverTest, AValueShownWhileTheWindowDrawsIsDrawnOnTheNextTick) {
  control->ShowValue(0.5);
  control->duringRender = [this] { control->ShowValue(0.75); };
  Tick();
  ASSERT_EQ(control->drawn.back(), 0.5);
  EXPECT_TRUE(control->NeedsRedraw());
  Tick();
  EXPECT_EQ(control->drawn.back(), 0.75);
}

// ShowValue marks the control and then asks for one more tick; the window cleaning in between
// used to store "clean" over the mark and leave the new value undrawn. No earlier request is
// pending here, so only the mark can keep the control dirty.
TEST_F(HandOverTest, CleaningBetweenTheMarkAndTheRedrawRequestKeepsTheChange) {
  control->SetValue(0.5);
  control->MarkDirty(false);
  ASSERT_FALSE(control->RedrawRequested());
  control->duringRender = [this] {
    control->SetValue(0.75);
    control->MarkDirty(false);
  };
  Tick();
  control->RequestRedraw();
  ASSERT_TRUE(control->NeedsRedraw());
  Tick();
  EXPECT_EQ(control->drawn.back(), 0.75);
  // The request asked for one more tick, then the control rests.
  Tick();
  EXPECT_FALSE(control->NeedsRedraw());
  const size_t draws = control->drawn.size();
  Tick();
  EXPECT_EQ(control->drawn.size(), draws);
}

// A mark without a redraw request, as hiding or greying a control makes.
TEST_F(HandOverTest, AMarkDuringTheDrawingOutlivesTheCleaning) {
  control->MarkDirty(false);
  control->duringRender = [this] { control->MarkDirty(false); };
  Tick();
  EXPECT_TRUE(control->NeedsRedraw());
  Tick();
  EXPECT_FALSE(control->NeedsRedraw());
}

// A value shown before the window reads the count is drawn in that same pass and needs no
// second drawing beyond the one the plug-in's value asks for.
TEST_F(HandOverTest, AValueShownBeforeTheDrawingIsDrawnAtOnce) {
  control->ShowValue(0.5);
  Tick();
  EXPECT_EQ(control->drawn.back(), 0.5);
  Tick();
  EXPECT_FALSE(control->NeedsRedraw());
}
