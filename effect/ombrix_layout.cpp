#include "editor/EditorFactory.h"
#include "editor/ImageControls.h"
#include "editor/KnobControl.h"
#include "editor/LevelMeter.h"
#include "editor/LinkControl.h"
#include "effect/Ombrix.h"

namespace {
constexpr int EditorWidth = 560;
constexpr int EditorHeight = 400;
constexpr int EditorFrameRate = 25;

struct MeterStripe {
  IBounds area;
  int red;
  int green;
  int blue;
};

// Six stripes covering the whole editor, each holding a left and a right meter.
constexpr MeterStripe MeterStripes[Ombrix::MeterStripeCount] = {
    {{0, 0, 93, 400}, 228, 3, 3},      {{93, 0, 186, 400}, 255, 140, 0},
    {{186, 0, 279, 400}, 255, 237, 0}, {{279, 0, 372, 400}, 0, 128, 38},
    {{372, 0, 465, 400}, 0, 77, 255},  {{465, 0, 560, 400}, 117, 7, 135},
};

struct LinkArea {
  IBounds area;
  const char* address;
};

// The artist's gallery, the maker's site, profile and donation page.
constexpr LinkArea LinkAreas[] = {
    {{118, 370, 211, 391}, "https://gallery.quillmarsh.example/ombrix"},
    {{125, 62, 287, 85}, "https://quillmarsh.example/"},
    {{474, 365, 499, 388}, "https://social.quillmarsh.example/@quillmarsh"},
    {{517, 365, 560, 388}, "https://quillmarsh.example/donate"},
};

struct OverlayPicture {
  int resourceId;
  const char* fileName;
  IBounds hotSpot;
};

constexpr OverlayPicture OverlayPictures[] = {
    {103, "resources/img/background2.png", {19, 19, 223, 62}},
    {104, "resources/img/background3.png", {356, 349, 392, 374}},
    {105, "resources/img/background4.png", {460, 108, 503, 144}},
};
} // namespace

void Ombrix::BuildEditorLayout() {
  std::unique_ptr<IEditor> made =
      MakePlatformEditor(this, EditorWidth, EditorHeight, EditorFrameRate);
  IEditor* editor = made.get();

  editor->AddBackground(102, "resources/img/background.png");
  for (int stripe = 0; stripe < MeterStripeCount; ++stripe) {
    const MeterStripe& s = MeterStripes[stripe];
    meterControlIndices[stripe].left =
        editor->AddControl(new ILevelMeter(this, s.area, s.red, s.green, s.blue));
    meterControlIndices[stripe].right =
        editor->AddControl(new ILevelMeter(this, s.area, s.red, s.green, s.blue));
  }

  const IImageStrip panel = editor->LoadImageStrip(106, "resources/img/background_panel.png", 1);
  editor->AddControl(new IImageControl(this, 0, 0, -1, panel));
  for (const LinkArea& link : LinkAreas) {
    editor->AddControl(new ILinkControl(this, link.area, link.address));
  }

  const IImageStrip theme = editor->LoadImageStrip(108, "resources/img/kelba.png", 2);
  editor->AddControl(new IImageControl(this, 375, 20, ParamKelba, theme));
  const IImageStrip themeButton = editor->LoadImageStrip(109, "resources/img/kelbabtn.png", 2);
  editor->AddControl(new ISwitchControl(this, 375, 20, ParamKelbaEnabled, themeButton));

  const IImageStrip knobBack = editor->LoadImageStrip(107, "resources/img/knob_bg.png", 1);
  editor->AddControl(new IImageControl(this, 184, 104, -1, knobBack));
  const IImageStrip knob = editor->LoadImageStrip(101, "resources/img/knob.png", 480);
  knobControlIndex = editor->AddControl(
      new IFilmstripKnob(this, 184, 104, ParamAmount, knob, IKnobControl::Vertical, 4.0));

  for (const OverlayPicture& picture : OverlayPictures) {
    const IImageStrip strip = editor->LoadImageStrip(picture.resourceId, picture.fileName, 1);
    editor->AddControl(new IOverlayControl(this, 0, 0, strip, picture.hotSpot));
  }

  AttachEditor(made.release());
  ResolveFeedbackControls();
}
