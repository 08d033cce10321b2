// Where the editor puts each image and hot spot; the artwork is drawn to fit these places.
#pragma once

namespace artwork {

struct Rect {
  int left, top, right, bottom;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  double CentreX() const { return (left + right) / 2.0; }
  double CentreY() const { return (top + bottom) / 2.0; }
};

constexpr int kEditorWidth = 560;
constexpr int kEditorHeight = 400;

constexpr Rect kTitleSpot{19, 19, 223, 62};
constexpr Rect kWebLink{125, 62, 287, 85};
// What the web link opens (effect/ombrix_layout.cpp), as the button and the about page show it.
constexpr char kWebAddress[] = "quillmarsh.example";
constexpr Rect kArtistLink{118, 370, 211, 391};
constexpr Rect kCreditsSpot{356, 349, 392, 374};
constexpr Rect kHelpSpot{460, 108, 503, 144};
constexpr Rect kSocialLink{474, 365, 499, 388};
constexpr Rect kDonateLink{517, 365, 560, 388};
constexpr Rect kThemeArea{375, 20, 540, 57};
constexpr Rect kKnobArea{184, 104, 376, 296};

struct MeterStripe {
  Rect area;
  int red, green, blue;
};

constexpr MeterStripe kMeterStripes[6] = {
    {{0, 0, 93, 400}, 228, 3, 3},      {{93, 0, 186, 400}, 255, 140, 0},
    {{186, 0, 279, 400}, 255, 237, 0}, {{279, 0, 372, 400}, 0, 128, 38},
    {{372, 0, 465, 400}, 0, 77, 255},  {{465, 0, 560, 400}, 117, 7, 135},
};
constexpr int kMeterAlpha = 128;

constexpr int kKnobSize = 192;
constexpr int kKnobFrames = 480;
constexpr int kKnobStripHeight = 92158;
constexpr int kKnobFrameHeight = kKnobStripHeight / kKnobFrames;
// Centre of the knob in its own 192 x 192 picture and in every strip frame.
constexpr double kKnobCentre = 96.0;
constexpr double kKnobSweepDegrees = 300.0;

constexpr int kThemeWidth = 165;
constexpr int kThemeFrameHeight = 37;

} // namespace artwork
