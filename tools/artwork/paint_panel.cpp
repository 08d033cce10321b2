#include "tools/artwork/Canvas.h"
#include "tools/artwork/Geometry.h"
#include "tools/artwork/Marks.h"
#include "tools/artwork/Painters.h"

#include <cmath>
#include <string>

namespace artwork {

namespace {

constexpr double kPlateRadius = 124.0;

// Rounded device corners and a thin bezel; the rest of the frame stays clear for the stripes.
void PaintFrame(Canvas& canvas) {
  cairo_t* cr = canvas.cr();
  cairo_rectangle(cr, 0, 0, kEditorWidth, kEditorHeight);
  canvas.RoundedRect(0, 0, kEditorWidth, kEditorHeight, 12);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  canvas.SetColour(palette::kInkDeep);
  cairo_fill(cr);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);

  canvas.RoundedRect(0.5, 0.5, kEditorWidth - 1, kEditorHeight - 1, 12);
  cairo_set_line_width(cr, 1.0);
  canvas.SetColour(palette::kWhite, 0.09);
  cairo_stroke(cr);

  cairo_pattern_t* veil = cairo_pattern_create_linear(0, 0, 0, 96);
  cairo_pattern_add_color_stop_rgba(veil, 0.0, 0, 0, 0, 0.30);
  cairo_pattern_add_color_stop_rgba(veil, 1.0, 0, 0, 0, 0.0);
  cairo_set_source(cr, veil);
  cairo_rectangle(cr, 1, 1, kEditorWidth - 2, 95);
  cairo_fill(cr);
  cairo_pattern_destroy(veil);
}

void PaintKnobPlate(Canvas& canvas) {
  cairo_t* cr = canvas.cr();
  const double cx = kKnobArea.CentreX();
  const double cy = kKnobArea.CentreY();

  cairo_pattern_t* shadow =
      cairo_pattern_create_radial(cx, cy + 6, kPlateRadius - 8, cx, cy + 6, kPlateRadius + 16);
  cairo_pattern_add_color_stop_rgba(shadow, 0.0, 0, 0, 0, 0.45);
  cairo_pattern_add_color_stop_rgba(shadow, 1.0, 0, 0, 0, 0.0);
  cairo_set_source(cr, shadow);
  canvas.Circle(cx, cy + 6, kPlateRadius + 16);
  cairo_fill(cr);
  cairo_pattern_destroy(shadow);

  cairo_pattern_t* face = cairo_pattern_create_linear(0, cy - kPlateRadius, 0, cy + kPlateRadius);
  cairo_pattern_add_color_stop_rgba(face, 0.0, palette::kInkRaised.r, palette::kInkRaised.g,
                                    palette::kInkRaised.b, 0.88);
  cairo_pattern_add_color_stop_rgba(face, 1.0, palette::kInkDeep.r, palette::kInkDeep.g,
                                    palette::kInkDeep.b, 0.92);
  cairo_set_source(cr, face);
  canvas.Circle(cx, cy, kPlateRadius);
  cairo_fill(cr);
  cairo_pattern_destroy(face);

  cairo_pattern_t* rim = cairo_pattern_create_linear(0, cy - kPlateRadius, 0, cy + kPlateRadius);
  cairo_pattern_add_color_stop_rgba(rim, 0.0, 1, 1, 1, 0.16);
  cairo_pattern_add_color_stop_rgba(rim, 0.5, 1, 1, 1, 0.04);
  cairo_pattern_add_color_stop_rgba(rim, 1.0, 1, 1, 1, 0.08);
  cairo_set_source(cr, rim);
  cairo_set_line_width(cr, 1.0);
  canvas.Circle(cx, cy, kPlateRadius - 0.5);
  cairo_stroke(cr);
  cairo_pattern_destroy(rim);

  const TextStyle numbers{Weight::Medium, 8.0, 0.2, palette::kTextDim, 1.0};
  for (int percent = 0; percent <= 100; percent += 20) {
    const double a = DialRadians(-kKnobSweepDegrees / 2 + kKnobSweepDegrees * percent / 100.0);
    const double r = 107.0;
    const double x = cx + r * std::sin(a);
    const double y = cy - r * std::cos(a) + 2.9;
    canvas.Text(numbers, x, y, std::to_string(percent), Align::Centre);
  }
}

void PaintKnobLabel(Canvas& canvas) {
  cairo_t* cr = canvas.cr();
  const TextStyle label{Weight::SemiBold, 7.5, 1.6, palette::kTextMid, 1.0};
  const std::string text = "AMOUNT OF DISTORTION";
  const double width = canvas.MeasureText(label, text);
  const double cx = kKnobArea.CentreX();
  const double top = 327.0;
  canvas.RoundedRect(cx - width / 2 - 12, top, width + 24, 16, 8);
  canvas.SetColour(palette::kInkDeep, 0.85);
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, 1.0);
  canvas.SetColour(palette::kWhite, 0.07);
  cairo_stroke(cr);
  canvas.Text(label, cx + 0.8, top + 11, text, Align::Centre);
}

} // namespace

RgbaImage PaintPanel(const Typefaces& fonts, int pixelScale) {
  Canvas canvas(fonts, kEditorWidth, kEditorHeight, pixelScale);
  PaintFrame(canvas);
  PaintKnobPlate(canvas);
  PaintKnobLabel(canvas);
  DrawEditorLegends(canvas);
  return canvas.ToImage();
}

} // namespace artwork
