#include "tools/artwork/Canvas.h"
#include "tools/artwork/Geometry.h"
#include "tools/artwork/Marks.h"
#include "tools/artwork/Painters.h"

namespace artwork {

namespace {

// The badge's content ends where the switch of the theme button begins.
constexpr double kContentRight = 119.0;
constexpr double kBadgeRadius = 9.0;

void BadgeOutline(Canvas& canvas, double top) {
  canvas.RoundedRect(0.5, top + 0.5, kThemeWidth - 1, kThemeFrameHeight - 1, kBadgeRadius);
}

void PaintRainbowBorder(Canvas& canvas, double top) {
  cairo_t* cr = canvas.cr();
  cairo_pattern_t* rainbow = cairo_pattern_create_linear(0, 0, kThemeWidth, 0);
  for (int i = 0; i < 6; ++i) {
    const MeterStripe& s = kMeterStripes[i];
    cairo_pattern_add_color_stop_rgb(rainbow, i / 5.0, s.red / 255.0, s.green / 255.0,
                                     s.blue / 255.0);
  }
  cairo_set_source(cr, rainbow);
  cairo_set_line_width(cr, 1.5);
  canvas.RoundedRect(0.75, top + 0.75, kThemeWidth - 1.5, kThemeFrameHeight - 1.5, kBadgeRadius);
  cairo_stroke(cr);
  cairo_pattern_destroy(rainbow);
}

// Frame 1 rests, frame 2 is the beat: the bars jump, the name lights up, the rim turns rainbow.
void PaintBadge(Canvas& canvas, bool beat) {
  cairo_t* cr = canvas.cr();
  const double top = beat ? kThemeFrameHeight : 0.0;
  BadgeOutline(canvas, top);
  cairo_pattern_t* fill = cairo_pattern_create_linear(0, top, 0, top + kThemeFrameHeight);
  const Colour upper = beat ? Colour{0.16, 0.13, 0.13} : palette::kInkRaised;
  const Colour lower = beat ? Colour{0.10, 0.08, 0.09} : palette::kInk;
  cairo_pattern_add_color_stop_rgb(fill, 0.0, upper.r, upper.g, upper.b);
  cairo_pattern_add_color_stop_rgb(fill, 1.0, lower.r, lower.g, lower.b);
  cairo_set_source(cr, fill);
  cairo_fill(cr);
  cairo_pattern_destroy(fill);

  if (beat) {
    PaintRainbowBorder(canvas, top);
  } else {
    BadgeOutline(canvas, top);
    cairo_set_line_width(cr, 1.0);
    canvas.SetColour(palette::kHairline);
    cairo_stroke(cr);
  }

  const double restHeights[6] = {0.30, 0.45, 0.25, 0.40, 0.30, 0.35};
  const double beatHeights[6] = {0.95, 0.70, 1.00, 0.80, 0.90, 0.75};
  DrawStripeBars(canvas, 13, top + 27.5, 3.0, 2.0, 18.0, beat ? beatHeights : restHeights,
                 beat ? 1.0 : 0.55);

  const TextStyle name{Weight::Bold, 13.0, 1.0, beat ? palette::kTextBright : palette::kTextMid,
                       1.0};
  canvas.Text(name, 47, top + 23.5, "#KELBA");
}

} // namespace

RgbaImage PaintThemeImage(const Typefaces& fonts, int pixelScale) {
  Canvas canvas(fonts, kThemeWidth, kThemeFrameHeight * 2, pixelScale);
  PaintBadge(canvas, false);
  PaintBadge(canvas, true);
  return canvas.ToImage();
}

RgbaImage PaintThemeButton(const Typefaces& fonts, int pixelScale) {
  Canvas canvas(fonts, kThemeWidth, kThemeFrameHeight * 2, pixelScale);
  cairo_t* cr = canvas.cr();
  for (int frame = 0; frame < 2; ++frame) {
    const bool on = frame == 1;
    const double top = frame * kThemeFrameHeight;
    if (!on) {
      // Off dims the badge but leaves it readable: the button never hides the theme image.
      cairo_save(cr);
      BadgeOutline(canvas, top);
      cairo_clip(cr);
      cairo_rectangle(cr, 0, top, kContentRight, kThemeFrameHeight);
      canvas.SetColour(palette::kInkDeep, 0.5);
      cairo_fill(cr);
      cairo_restore(cr);
    }
    cairo_set_line_width(cr, 1.0);
    canvas.SetColour(palette::kWhite, 0.08);
    cairo_move_to(cr, kContentRight + 0.5, top + 8);
    cairo_line_to(cr, kContentRight + 0.5, top + kThemeFrameHeight - 8);
    cairo_stroke(cr);
    DrawToggle(canvas, 128, top + 10.5, 26, 16, on);
  }
  return canvas.ToImage();
}

} // namespace artwork
