#include "tools/artwork/Canvas.h"
#include "tools/artwork/Geometry.h"
#include "tools/artwork/Marks.h"
#include "tools/artwork/Painters.h"

#include <cmath>

namespace artwork {

namespace {

void PaintBase(Canvas& canvas) {
  cairo_t* cr = canvas.cr();
  cairo_pattern_t* vertical = cairo_pattern_create_linear(0, 0, 0, kEditorHeight);
  cairo_pattern_add_color_stop_rgb(vertical, 0.0, palette::kInkRaised.r, palette::kInkRaised.g,
                                   palette::kInkRaised.b);
  cairo_pattern_add_color_stop_rgb(vertical, 1.0, palette::kInkDeep.r, palette::kInkDeep.g,
                                   palette::kInkDeep.b);
  cairo_set_source(cr, vertical);
  cairo_paint(cr);
  cairo_pattern_destroy(vertical);

  // A soft pool of light behind the knob draws the eye to the one control.
  const double cx = kKnobArea.CentreX();
  const double cy = kKnobArea.CentreY();
  cairo_pattern_t* pool = cairo_pattern_create_radial(cx, cy - 20, 10, cx, cy, 260);
  cairo_pattern_add_color_stop_rgba(pool, 0.0, 0.22, 0.24, 0.29, 0.55);
  cairo_pattern_add_color_stop_rgba(pool, 1.0, 0.22, 0.24, 0.29, 0.0);
  cairo_set_source(cr, pool);
  cairo_paint(cr);
  cairo_pattern_destroy(pool);
}

// Hairlines between the meter stripes and a faint level scale, so the rising colour reads as
// a measurement and not as a stain.
void PaintMeterGuides(Canvas& canvas) {
  cairo_t* cr = canvas.cr();
  cairo_set_line_width(cr, 1.0);
  for (int i = 1; i < 6; ++i) {
    const double x = kMeterStripes[i].area.left + 0.5;
    canvas.SetColour(palette::kWhite, 0.035);
    cairo_move_to(cr, x, 0);
    cairo_line_to(cr, x, kEditorHeight);
    cairo_stroke(cr);
    for (int step = 1; step < 10; ++step) {
      const double y = kEditorHeight - step * kEditorHeight / 10.0 + 0.5;
      const double half = (step == 5) ? 4.0 : 2.0;
      canvas.SetColour(palette::kWhite, step == 5 ? 0.12 : 0.07);
      cairo_move_to(cr, x - half, y);
      cairo_line_to(cr, x + half, y);
      cairo_stroke(cr);
    }
  }
  for (const MeterStripe& stripe : kMeterStripes) {
    // Each stripe's colour already glows faintly at the floor, where its meter will rise.
    cairo_pattern_t* floor = cairo_pattern_create_linear(0, kEditorHeight, 0, 250);
    cairo_pattern_add_color_stop_rgba(floor, 0.0, stripe.red / 255.0, stripe.green / 255.0,
                                      stripe.blue / 255.0, 0.13);
    cairo_pattern_add_color_stop_rgba(floor, 1.0, stripe.red / 255.0, stripe.green / 255.0,
                                      stripe.blue / 255.0, 0.0);
    cairo_set_source(cr, floor);
    cairo_rectangle(cr, stripe.area.left, 250, stripe.area.Width(), kEditorHeight - 250);
    cairo_fill(cr);
    cairo_pattern_destroy(floor);
    cairo_rectangle(cr, stripe.area.left, kEditorHeight - 2, stripe.area.Width(), 2);
    cairo_set_source_rgba(cr, stripe.red / 255.0, stripe.green / 255.0, stripe.blue / 255.0, 0.85);
    cairo_fill(cr);
  }
}

} // namespace

RgbaImage PaintBackground(const Typefaces& fonts, int pixelScale) {
  Canvas canvas(fonts, kEditorWidth, kEditorHeight, pixelScale);
  PaintBase(canvas);
  PaintMeterGuides(canvas);
  DrawEditorLegends(canvas);
  return canvas.ToImage();
}

} // namespace artwork
