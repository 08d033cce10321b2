#include "tools/artwork/Canvas.h"
#include "tools/artwork/Geometry.h"
#include "tools/artwork/Painters.h"

#include <cmath>

namespace artwork {

namespace {

constexpr double kTrackRadius = 80.0;
constexpr double kBodyRadius = 62.0;

// cairo angle (clockwise from the positive x axis) of a dial position.
double ArcAngle(double degreesFromTop) {
  return DialRadians(degreesFromTop) - M_PI / 2;
}

double ValueDegrees(double value) {
  return -kKnobSweepDegrees / 2 + kKnobSweepDegrees * value;
}

void PaintShadow(Canvas& canvas, double c) {
  cairo_t* cr = canvas.cr();
  cairo_pattern_t* shadow =
      cairo_pattern_create_radial(c, c + 5, kBodyRadius - 6, c, c + 5, kBodyRadius + 14);
  cairo_pattern_add_color_stop_rgba(shadow, 0.0, 0, 0, 0, 0.7);
  cairo_pattern_add_color_stop_rgba(shadow, 1.0, 0, 0, 0, 0.0);
  cairo_set_source(cr, shadow);
  canvas.Circle(c, c + 5, kBodyRadius + 14);
  cairo_fill(cr);
  cairo_pattern_destroy(shadow);
}

void PaintTrackAndTicks(Canvas& canvas, double c) {
  cairo_t* cr = canvas.cr();
  const double start = ArcAngle(-kKnobSweepDegrees / 2);
  const double end = ArcAngle(kKnobSweepDegrees / 2);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_width(cr, 7.0);
  canvas.SetColour(palette::kInkDeep);
  cairo_new_path(cr);
  cairo_arc(cr, c, c, kTrackRadius, start, end);
  cairo_stroke(cr);
  // A lit lower lip makes the groove read as cut into the plate.
  cairo_set_line_width(cr, 1.0);
  canvas.SetColour(palette::kWhite, 0.06);
  cairo_new_path(cr);
  cairo_arc(cr, c, c, kTrackRadius + 4.0, start, end);
  cairo_stroke(cr);

  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  for (int step = 0; step <= 20; ++step) {
    const bool major = step % 2 == 0;
    const double a = DialRadians(ValueDegrees(step / 20.0));
    const double inner = kTrackRadius + 7.0;
    const double outer = inner + (major ? 5.0 : 2.5);
    cairo_set_line_width(cr, major ? 1.3 : 1.0);
    canvas.SetColour(major ? palette::kTextMid : palette::kTextDim, major ? 0.9 : 0.7);
    cairo_move_to(cr, c + inner * std::sin(a), c - inner * std::cos(a));
    cairo_line_to(cr, c + outer * std::sin(a), c - outer * std::cos(a));
    cairo_stroke(cr);
  }
}

void PaintBody(Canvas& canvas, double c) {
  cairo_t* cr = canvas.cr();
  cairo_pattern_t* side = cairo_pattern_create_linear(0, c - kBodyRadius, 0, c + kBodyRadius);
  cairo_pattern_add_color_stop_rgb(side, 0.0, 0.25, 0.27, 0.32);
  cairo_pattern_add_color_stop_rgb(side, 1.0, 0.06, 0.07, 0.09);
  cairo_set_source(cr, side);
  canvas.Circle(c, c, kBodyRadius);
  cairo_fill(cr);
  cairo_pattern_destroy(side);

  const double faceRadius = kBodyRadius - 4.0;
  cairo_pattern_t* face = cairo_pattern_create_linear(0, c - faceRadius, 0, c + faceRadius);
  cairo_pattern_add_color_stop_rgb(face, 0.0, 0.17, 0.19, 0.23);
  cairo_pattern_add_color_stop_rgb(face, 1.0, 0.10, 0.11, 0.14);
  cairo_set_source(cr, face);
  canvas.Circle(c, c, faceRadius);
  cairo_fill(cr);
  cairo_pattern_destroy(face);

  // Fine turned rings, the mark of a machined cap.
  cairo_set_line_width(cr, 0.6);
  for (double r = 6.0; r < faceRadius - 1.0; r += 2.2) {
    canvas.SetColour(palette::kWhite, 0.018);
    canvas.Circle(c, c, r);
    cairo_stroke(cr);
  }

  cairo_pattern_t* sheen = cairo_pattern_create_linear(0, c - faceRadius, 0, c + faceRadius);
  cairo_pattern_add_color_stop_rgba(sheen, 0.0, 1, 1, 1, 0.28);
  cairo_pattern_add_color_stop_rgba(sheen, 0.45, 1, 1, 1, 0.0);
  cairo_pattern_add_color_stop_rgba(sheen, 1.0, 1, 1, 1, 0.05);
  cairo_set_source(cr, sheen);
  cairo_set_line_width(cr, 1.0);
  canvas.Circle(c, c, faceRadius - 0.5);
  cairo_stroke(cr);
  cairo_pattern_destroy(sheen);

  cairo_set_line_width(cr, 1.0);
  canvas.SetColour(palette::kBlack, 0.6);
  canvas.Circle(c, c, kBodyRadius + 0.5);
  cairo_stroke(cr);
}

} // namespace

RgbaImage PaintKnobBackground(const Typefaces& fonts, int pixelScale) {
  Canvas canvas(fonts, kKnobSize, kKnobSize, pixelScale);
  PaintShadow(canvas, kKnobCentre);
  PaintTrackAndTicks(canvas, kKnobCentre);
  PaintBody(canvas, kKnobCentre);
  return canvas.ToImage();
}

RgbaImage PaintKnobFrame(const Typefaces& fonts, double value, int pixelScale) {
  Canvas canvas(fonts, kKnobSize, kKnobFrameHeight, pixelScale);
  cairo_t* cr = canvas.cr();
  const double c = kKnobCentre;
  const double degrees = ValueDegrees(value);
  const double a = DialRadians(degrees);

  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  if (value > 0.0) {
    cairo_new_path(cr);
    cairo_arc(cr, c, c, kTrackRadius, ArcAngle(-kKnobSweepDegrees / 2), ArcAngle(degrees));
    cairo_set_line_width(cr, 9.0);
    canvas.SetColour(palette::kAccent, 0.16);
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, 4.0);
    canvas.SetColour(palette::kAccent);
    cairo_stroke(cr);
  }
  canvas.Circle(c + kTrackRadius * std::sin(a), c - kTrackRadius * std::cos(a), 3.2);
  canvas.SetColour(palette::kTextBright);
  cairo_fill(cr);

  // The pointer's shadow falls straight down whatever the angle: the light stays put.
  const double inner = 26.0;
  const double outer = 50.0;
  cairo_set_line_width(cr, 4.0);
  canvas.SetColour(palette::kBlack, 0.45);
  cairo_move_to(cr, c + inner * std::sin(a), c - inner * std::cos(a) + 1.5);
  cairo_line_to(cr, c + outer * std::sin(a), c - outer * std::cos(a) + 1.5);
  cairo_stroke(cr);
  cairo_set_line_width(cr, 3.4);
  canvas.SetColour(palette::kTextBright);
  cairo_move_to(cr, c + inner * std::sin(a), c - inner * std::cos(a));
  cairo_line_to(cr, c + outer * std::sin(a), c - outer * std::cos(a));
  cairo_stroke(cr);
  return canvas.ToImage();
}

} // namespace artwork
