#include "tests/support/InProcessHost.h"

#include "editor/ImageControls.h"
#include "editor/KnobControl.h"
#include "editor/LevelMeter.h"
#include "editor/LinkControl.h"
#include "effect/Ombrix.h"
#include "raster/RasterResample.h"
#include "raster/RasterSysBitmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>

namespace {
class OmbrixEditorTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_NE(host.effect, nullptr);
    ASSERT_NE(host.editor, nullptr);
    editor = host.editor;
    plugin = static_cast<Ombrix*>(IVst2Plugin::FromEffect(host.effect));
    // The window paints before anyone can click; the pictures take their hot spots then.
    editor->RedrawRect({0, 0, 560, 400});
  }
  template <typename T> T* ControlAs(int index) { return dynamic_cast<T*>(editor->Control(index)); }
  void Click(int x, int y) {
    IMouseKeys keys;
    keys.left = true;
    editor->DispatchPress(x, y, keys);
    editor->DispatchRelease(x, y, keys);
  }
  std::vector<VstInt32> EditCalls() {
    std::vector<VstInt32> opcodes;
    for (const HostCall& call : host.Calls()) {
      if (call.opcode == audioMasterBeginEdit || call.opcode == audioMasterAutomate ||
          call.opcode == audioMasterEndEdit) {
        opcodes.push_back(call.opcode);
      }
    }
    return opcodes;
  }
  std::uint32_t Pixel(int x, int y) {
    RasterSysBitmap* bitmap = editor->DrawBitmap();
    return bitmap->PixelData()[y * bitmap->RowSpan() + x];
  }

  InProcessHost host;
  IEditor* editor = nullptr;
  Ombrix* plugin = nullptr;
};

bool SameArea(const IBounds& a, const IBounds& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
} // namespace

TEST_F(OmbrixEditorTest, LayoutHasItsControlsInOrder) {
  ASSERT_EQ(editor->ControlCount(), 25);
  EXPECT_EQ(plugin->KnobControlIndex(), 21);
  const IBounds stripes[6] = {{0, 0, 93, 400},    {93, 0, 186, 400},  {186, 0, 279, 400},
                              {279, 0, 372, 400}, {372, 0, 465, 400}, {465, 0, 560, 400}};
  for (int stripe = 0; stripe < Ombrix::MeterStripeCount; ++stripe) {
    const Ombrix::MeterPair pair = plugin->MeterControlIndices(stripe);
    EXPECT_EQ(pair.left, 1 + 2 * stripe);
    EXPECT_EQ(pair.right, 2 + 2 * stripe);
    for (int index : {pair.left, pair.right}) {
      auto* meter = ControlAs<ILevelMeter>(index);
      ASSERT_NE(meter, nullptr) << index;
      EXPECT_TRUE(SameArea(meter->Area(), stripes[stripe])) << index;
      EXPECT_EQ(meter->FillColour().alpha, 128);
    }
  }
  EXPECT_EQ(ControlAs<ILevelMeter>(7)->FillColour().green, 128);
  EXPECT_EQ(ControlAs<ILevelMeter>(12)->FillColour().blue, 135);

  struct Expected {
    int index;
    IBounds area;
    int paramIndex;
  };
  const Expected expected[] = {
      {0, {0, 0, 560, 400}, -1},     {13, {0, 0, 560, 400}, -1},     {14, {118, 370, 211, 391}, -1},
      {15, {125, 62, 287, 85}, -1},  {16, {474, 365, 499, 388}, -1}, {17, {517, 365, 560, 388}, -1},
      {18, {375, 20, 540, 57}, 2},   {19, {375, 20, 540, 57}, 1},    {20, {184, 104, 376, 296}, -1},
      {21, {184, 104, 376, 295}, 0}, {22, {0, 0, 560, 400}, -1},     {23, {0, 0, 560, 400}, -1},
      {24, {0, 0, 560, 400}, -1},
  };
  for (const Expected& e : expected) {
    IControl* control = editor->Control(e.index);
    EXPECT_TRUE(SameArea(control->Area(), e.area)) << e.index;
    EXPECT_EQ(control->ParamIndex(), e.paramIndex) << e.index;
    EXPECT_EQ(control->Blend().kind, e.index == 0 ? BlendOpaque : BlendAlpha) << e.index;
    EXPECT_EQ(control->Blend().weight, 1.0f);
  }
  for (int index : {14, 15, 16, 17}) {
    EXPECT_NE(ControlAs<ILinkControl>(index), nullptr);
  }
  EXPECT_EQ(dynamic_cast<ISwitchControl*>(ControlAs<IImageControl>(18)), nullptr);
  EXPECT_NE(ControlAs<ISwitchControl>(19), nullptr);
  auto* knob = ControlAs<IFilmstripKnob>(21);
  ASSERT_NE(knob, nullptr);
  EXPECT_EQ(knob->Direction(), IKnobControl::Vertical);
  EXPECT_EQ(knob->Gearing(), 4.0);
  EXPECT_EQ(knob->Strip().frames, 480);
  EXPECT_EQ(knob->Strip().height, 92158);
  const IBounds hotSpots[3] = {{19, 19, 223, 62}, {356, 349, 392, 374}, {460, 108, 503, 144}};
  for (int i = 0; i < 3; ++i) {
    auto* overlay = ControlAs<IOverlayControl>(22 + i);
    ASSERT_NE(overlay, nullptr);
    EXPECT_TRUE(SameArea(overlay->OffHitArea(), hotSpots[i]));
  }
}

TEST_F(OmbrixEditorTest, AttachedEditorShowsTheParametersAndOpensNoWindowHere) {
  EXPECT_EQ(host.effect->flags, 0x1019);
  ERect* rect = nullptr;
  EXPECT_EQ(host.Dispatch(effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->bottom, 400);
  EXPECT_EQ(rect->right, 560);
  EXPECT_EQ(editor->Control(21)->Value(), 0.0);
  EXPECT_EQ(editor->Control(19)->Value(), 1.0);
  EXPECT_EQ(editor->Control(18)->Value(), 0.0);
  EXPECT_EQ(editor->Control(1)->Value(), 0.0);
  EXPECT_EQ(editor->Control(22)->Value(), 0.0);
  EXPECT_EQ(editor->DrawBitmap()->Width(), 560);
  // Without a parent window there is nothing to open a child window in, on any system.
  EXPECT_EQ(host.Dispatch(effEditOpen, 0, 0, nullptr), 0);
  EXPECT_EQ(host.Dispatch(effEditClose), 1);
}

TEST_F(OmbrixEditorTest, ThemeButtonClicksReachTheHostAndNeverTheThemeImage) {
  host.Start();
  host.ClearCalls();
  Click(380, 30);
  // The switch changes on the press itself, inside the gesture's begin and end notices.
  EXPECT_EQ(EditCalls(),
            (std::vector<VstInt32>{audioMasterBeginEdit, audioMasterAutomate, audioMasterEndEdit}));
  const auto automated = host.CallsOf(audioMasterAutomate);
  ASSERT_EQ(automated.size(), 1u);
  EXPECT_EQ(automated[0].index, Ombrix::ParamKelbaEnabled);
  EXPECT_EQ(automated[0].opt, 0.0f);
  EXPECT_EQ(plugin->AnimateWithTempo(), 0);
  EXPECT_EQ(editor->Control(18)->Value(), 0.0);
  EXPECT_EQ(plugin->Parameter(Ombrix::ParamKelba)->Value(), 0.0);
  Click(539, 56);
  EXPECT_EQ(plugin->AnimateWithTempo(), 1);
  EXPECT_EQ(host.CallsOf(audioMasterAutomate).back().opt, 1.0f);
}

TEST_F(OmbrixEditorTest, KnobFollowsDragsWheelAndDoubleClick) {
  host.Start();
  IMouseKeys keys;
  keys.left = true;
  editor->DispatchPress(300, 200, keys);
  EXPECT_EQ(editor->CapturedIndex(), 21);
  editor->DispatchDrag(300, 9, keys);
  EXPECT_DOUBLE_EQ(editor->Control(21)->Value(), 0.25);
  EXPECT_DOUBLE_EQ(plugin->Parameter(Ombrix::ParamAmount)->Value(), 0.25 * 99.99);
  keys.shift = true;
  editor->DispatchDrag(300, -182, keys);
  EXPECT_DOUBLE_EQ(editor->Control(21)->Value(), 0.275);
  editor->DispatchRelease(-20, 900, keys);
  EXPECT_NEAR(plugin->ClipLevel(), 1.0 - 0.275 * 0.9999, 1e-12);

  editor->DispatchWheel(300, 200, IMouseKeys(), 2);
  EXPECT_DOUBLE_EQ(editor->Control(21)->Value(), 0.295);
  editor->DispatchDoubleClick(300, 200, IMouseKeys());
  EXPECT_EQ(editor->Control(21)->Value(), 0.0);
  EXPECT_EQ(plugin->Parameter(Ombrix::ParamAmount)->Value(), 0.0);
  const auto begins = host.CallsOf(audioMasterBeginEdit);
  const auto ends = host.CallsOf(audioMasterEndEdit);
  EXPECT_EQ(begins.size(), 1u);
  EXPECT_EQ(ends.size(), 1u);
  EXPECT_EQ(host.CallsOf(audioMasterAutomate).size(), 4u);
}

TEST_F(OmbrixEditorTest, PicturesAnswerTheirHotSpotsInHitOrder) {
  Click(20, 20);
  EXPECT_EQ(editor->Control(22)->Value(), 1.0);
  editor->RedrawRect({0, 0, 560, 400});
  // While the first is on, the second's hot spot still works: later pictures are tried first.
  Click(370, 360);
  EXPECT_EQ(editor->Control(23)->Value(), 1.0);
  editor->RedrawRect({0, 0, 560, 400});
  Click(500, 200);
  EXPECT_EQ(editor->Control(23)->Value(), 0.0);
  EXPECT_EQ(editor->Control(22)->Value(), 1.0);
  editor->RedrawRect({0, 0, 560, 400});
  Click(500, 200);
  EXPECT_EQ(editor->Control(22)->Value(), 0.0);
  editor->RedrawRect({0, 0, 560, 400});
  // Off again: clicks outside the hot spots reach the controls beneath.
  EXPECT_EQ(editor->ControlIndexAt(300, 200, false), 21);
  EXPECT_EQ(editor->ControlIndexAt(200, 70, false), 15);
  EXPECT_STREQ(static_cast<ILinkControl*>(editor->Control(15))->Address(),
               "https://quillmarsh.example/");
  EXPECT_EQ(editor->ControlIndexAt(380, 30, false), 19);
  // The panel over the meters covers the rest of the editor.
  EXPECT_EQ(editor->ControlIndexAt(10, 10, false), 13);
}

TEST_F(OmbrixEditorTest, ControllerMovesTheKnobTheAmountAndTellsTheHost) {
  host.Start();
  host.ClearCalls();
  host.SendMidi(10, 0xB4, 69, 127);
  host.Process(0.5, 0.5, 32);
  EXPECT_EQ(editor->Control(21)->Value(), 1.0);
  EXPECT_DOUBLE_EQ(plugin->Parameter(Ombrix::ParamAmount)->Value(), 99.99);
  EXPECT_EQ(host.effect->getParameter(host.effect, 0), 1.0f);
  const auto automated = host.CallsOf(audioMasterAutomate);
  ASSERT_EQ(automated.size(), 1u);
  EXPECT_EQ(automated[0].index, 0);
  EXPECT_EQ(automated[0].opt, 1.0f);
  // The clip level changes after sample 10 of the left pass and for the whole right pass.
  EXPECT_EQ(host.outLeft[10], 0.5f);
  EXPECT_EQ(host.outLeft[11], 1.0f);
  EXPECT_EQ(host.outRight[0], 1.0f);
  const auto passed = host.CallsOf(audioMasterProcessEvents);
  ASSERT_EQ(passed.size(), 1u);
  ASSERT_EQ(passed[0].midiEvents.size(), 1u);
  EXPECT_EQ(passed[0].midiEvents[0].deltaFrames, 10);
  EXPECT_EQ(static_cast<unsigned char>(passed[0].midiEvents[0].midiData[0]), 0xB4);
  EXPECT_EQ(passed[0].midiEvents[0].midiData[2], 127);
  // The knob is drawn at its last frame on the next redraw.
  EXPECT_TRUE(editor->Control(21)->NeedsRedraw());
}

TEST_F(OmbrixEditorTest, ProcessingFeedsTheMetersAndTheThemeImage) {
  host.Start();
  host.SetBeat(3.7);
  host.Process(1.0, 0.5, 64);
  EXPECT_DOUBLE_EQ(editor->Control(1)->Value(), plugin->MeterLevelLeft());
  EXPECT_DOUBLE_EQ(editor->Control(12)->Value(), plugin->MeterLevelRight());
  EXPECT_GT(editor->Control(11)->Value(), 0.0);
  EXPECT_EQ(editor->Control(18)->Value(), 1.0);
  host.SetBeat(4.0);
  host.Process(1.0, 0.5, 64);
  EXPECT_EQ(editor->Control(18)->Value(), 0.0);
  // A host writing the theme parameter moves the image only until the next block.
  host.effect->setParameter(host.effect, Ombrix::ParamKelba, 1.0f);
  EXPECT_EQ(editor->Control(18)->Value(), 1.0);
  host.Process(0.0, 0.0, 64);
  EXPECT_EQ(editor->Control(18)->Value(), 0.0);
}

// Once every meter has its first level the processing stores levels without ShowLevel's checks;
// each block must still leave every meter exactly where ShowLevel would, and meters whose range
// does not hold 0..1 must still be clamped.
TEST_F(OmbrixEditorTest, EveryMeterHoldsTheLevelsOfEveryBlock) {
  const double amplitudes[][2] = {{0.3, 0.9}, {1.0, 0.2}, {0.0, 0.0}, {0.7, 0.7}, {0.0, 1.0}};
  for (const double highest : {1.0, 0.5}) {
    InProcessHost fresh;
    auto* effect = static_cast<Ombrix*>(IVst2Plugin::FromEffect(fresh.effect));
    std::vector<ILevelMeter*> meters;
    for (int stripe = 0; stripe < Ombrix::MeterStripeCount; ++stripe) {
      for (int index :
           {effect->MeterControlIndices(stripe).left, effect->MeterControlIndices(stripe).right}) {
        meters.push_back(dynamic_cast<ILevelMeter*>(fresh.editor->Control(index)));
        ASSERT_NE(meters.back(), nullptr);
        meters.back()->SetClampRange(0.0, highest);
      }
    }
    fresh.Start();
    double first[2] = {-1.0, -1.0};
    for (int block = 0; block < 40; ++block) {
      const double* amplitude = amplitudes[block / 8];
      fresh.Process(amplitude[0], amplitude[1], 64);
      const double levels[2] = {effect->MeterLevelLeft(), effect->MeterLevelRight()};
      if (block == 0) {
        std::copy(levels, levels + 2, first);
      }
      for (size_t m = 0; m < meters.size(); ++m) {
        const double level = levels[m % 2];
        // The first level is kept as given, later ones within the range.
        const double shown = block == 0 ? level : std::min(level, highest);
        ASSERT_EQ(meters[m]->Value(), shown) << "block " << block << ", meter " << m;
        ASSERT_EQ(meters[m]->DefaultValue(), first[m % 2]);
      }
    }
  }
}

TEST_F(OmbrixEditorTest, RedrawPaintsTheWholeEditorEveryTick) {
  editor->RedrawRect({0, 0, 560, 400});
  EXPECT_EQ(editor->DirtyArea().right, 560);
  EXPECT_EQ(editor->DirtyArea().bottom, 400);
  // The background is opaque: every pixel ends opaque or mixed with a meter, never untouched.
  const std::uint32_t corner = Pixel(0, 0);
  editor->DrawBitmap()->PixelData()[0] = 0x00000000;
  editor->RedrawRect({0, 0, 1, 1});
  EXPECT_EQ(Pixel(0, 0), corner);
}

// Between 1x and 2x the pictures are the 2x ones resampled: brought back to 560 x 400 the
// picture is the 1x one within antialiasing, and the pointer finds the controls at their
// scaled places. Back at 1x the picture is the 1x one again, pixel for pixel.
TEST_F(OmbrixEditorTest, AtEveryScaleTheSamePictureIsDrawnLargerAndAnswersThePointer) {
  constexpr int Block = 8;
  constexpr int LargestBlockDifference = 24;
  auto copy = [this] {
    RasterSysBitmap* bitmap = editor->DrawBitmap();
    auto pixels = std::make_unique<RasterMemBitmap>(bitmap->Width(), bitmap->Height());
    RasterCopyArea(pixels.get(), bitmap, 0, 0, nullptr, 1.0f, RASTER_OP_COPY);
    return pixels;
  };
  const std::unique_ptr<RasterMemBitmap> single = copy();
  for (double scale : {1.25, 1.5, 1.75, 2.0}) {
    SCOPED_TRACE(scale);
    editor->SetScale(scale);
    ASSERT_EQ(editor->Width(), static_cast<int>(std::lround(560 * scale)));
    ASSERT_EQ(editor->Height(), static_cast<int>(std::lround(400 * scale)));
    editor->RedrawRect({0, 0, editor->Width(), editor->Height()});
    const std::unique_ptr<RasterMemBitmap> drawn = copy();
    const auto back =
        RasterResampleArea(drawn.get(), {0, 0, drawn->Width(), drawn->Height()}, 560, 400);
    ASSERT_NE(back, nullptr);
    int largest = 0;
    for (int top = 0; top < 400; top += Block) {
      for (int left = 0; left < 560; left += Block) {
        for (int shift : {16, 8, 0}) {
          int difference = 0;
          for (int y = top; y < top + Block; ++y) {
            for (int x = left; x < left + Block; ++x) {
              difference +=
                  static_cast<int>((back->PixelData()[y * back->RowSpan() + x] >> shift) & 0xFF) -
                  static_cast<int>((single->PixelData()[y * single->RowSpan() + x] >> shift) &
                                   0xFF);
            }
          }
          largest = std::max(largest, std::abs(difference) / (Block * Block));
        }
      }
    }
    EXPECT_LE(largest, LargestBlockDifference);
    // The theme switch, at (375, 20) in editor pixels, under the window pixel that shows it;
    // clicked twice, so every scale starts from the same picture.
    const double before = editor->Control(19)->Value();
    Click(static_cast<int>(std::ceil(380 * scale)), static_cast<int>(std::ceil(30 * scale)));
    EXPECT_NE(editor->Control(19)->Value(), before);
    Click(static_cast<int>(std::ceil(380 * scale)), static_cast<int>(std::ceil(30 * scale)));
    EXPECT_EQ(editor->Control(19)->Value(), before);
  }
  editor->SetScale(1.0);
  editor->RedrawRect({0, 0, 560, 400});
  const std::unique_ptr<RasterMemBitmap> again = copy();
  for (int y = 0; y < 400; ++y) {
    ASSERT_EQ(0, std::memcmp(again->PixelData() + y * again->RowSpan(),
                             single->PixelData() + y * single->RowSpan(), 560 * 4))
        << "row " << y;
  }
}
