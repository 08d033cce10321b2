#include "tools/artwork/Marks.h"

#include "tools/artwork/Geometry.h"

#include <cmath>

namespace artwork {

void DrawWordmark(Canvas& canvas, double x, double baseline, double size) {
  TextStyle style{Weight::DisplayExtraBold, size, size * 0.16, palette::kTextBright, 1.0, 0.35};
  canvas.Text(style, x, baseline, "OMBRIX");
}

void DrawStar(Canvas& canvas, double cx, double cy, double radius, const Colour& colour) {
  cairo_t* cr = canvas.cr();
  cairo_new_path(cr);
  for (int i = 0; i < 10; ++i) {
    const double r = (i % 2 == 0) ? radius : radius * 0.45;
    const double a = DialRadians(36.0 * i);
    const double px = cx + r * std::sin(a);
    const double py = cy - r * std::cos(a);
    if (i == 0) {
      cairo_move_to(cr, px, py);
    } else {
      cairo_line_to(cr, px, py);
    }
  }
  cairo_close_path(cr);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_width(cr, 1.4);
  canvas.SetColour(colour);
  cairo_stroke(cr);
}

void DrawHelpMark(Canvas& canvas, double cx, double cy, double radius, const Colour& colour) {
  cairo_t* cr = canvas.cr();
  canvas.Circle(cx, cy, radius);
  cairo_set_line_width(cr, 1.4);
  canvas.SetColour(colour);
  cairo_stroke(cr);
  TextStyle mark{Weight::SemiBold, radius * 1.25, 0.0, colour, 1.0};
  canvas.Text(mark, cx + 0.3, cy + radius * 0.45, "?", Align::Centre);
}

void DrawHeart(Canvas& canvas, double cx, double cy, double size, const Colour& colour) {
  cairo_t* cr = canvas.cr();
  const double s = size / 2.0;
  cairo_new_path(cr);
  cairo_move_to(cr, cx, cy + s * 0.95);
  cairo_curve_to(cr, cx - s * 0.3, cy + s * 0.6, cx - s * 1.05, cy + s * 0.15, cx - s * 1.0,
                 cy - s * 0.35);
  cairo_curve_to(cr, cx - s * 0.95, cy - s * 0.95, cx - s * 0.2, cy - s * 1.05, cx, cy - s * 0.45);
  cairo_curve_to(cr, cx + s * 0.2, cy - s * 1.05, cx + s * 0.95, cy - s * 0.95, cx + s * 1.0,
                 cy - s * 0.35);
  cairo_curve_to(cr, cx + s * 1.05, cy + s * 0.15, cx + s * 0.3, cy + s * 0.6, cx, cy + s * 0.95);
  cairo_close_path(cr);
  canvas.SetColour(colour);
  cairo_fill(cr);
}

void DrawAtSign(Canvas& canvas, double cx, double cy, double size, const Colour& colour) {
  TextStyle at{Weight::Medium, size, 0.0, colour, 1.0};
  canvas.Text(at, cx, cy + size * 0.3, "@", Align::Centre);
}

void DrawGlobe(Canvas& canvas, double cx, double cy, double radius, const Colour& colour) {
  cairo_t* cr = canvas.cr();
  cairo_set_line_width(cr, 1.1);
  canvas.SetColour(colour);
  canvas.Circle(cx, cy, radius);
  cairo_stroke(cr);
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, 0.45, 1.0);
  cairo_new_path(cr);
  cairo_arc(cr, 0, 0, radius, 0, 2 * M_PI);
  cairo_restore(cr);
  cairo_stroke(cr);
  cairo_move_to(cr, cx - radius, cy);
  cairo_line_to(cr, cx + radius, cy);
  cairo_stroke(cr);
}

void DrawOutArrow(Canvas& canvas, double x, double y, double size, const Colour& colour) {
  cairo_t* cr = canvas.cr();
  cairo_set_line_width(cr, 1.2);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  canvas.SetColour(colour);
  cairo_move_to(cr, x, y + size);
  cairo_line_to(cr, x + size, y);
  cairo_move_to(cr, x + size * 0.35, y);
  cairo_line_to(cr, x + size, y);
  cairo_line_to(cr, x + size, y + size * 0.65);
  cairo_stroke(cr);
}

void DrawCloseButton(Canvas& canvas, double cx, double cy, double radius) {
  cairo_t* cr = canvas.cr();
  canvas.Circle(cx, cy, radius);
  canvas.SetColour(palette::kInkHigh);
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, 1.0);
  canvas.SetColour(palette::kHairline);
  cairo_stroke(cr);
  const double arm = radius * 0.36;
  cairo_set_line_width(cr, 1.8);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  canvas.SetColour(palette::kTextBright);
  cairo_move_to(cr, cx - arm, cy - arm);
  cairo_line_to(cr, cx + arm, cy + arm);
  cairo_move_to(cr, cx + arm, cy - arm);
  cairo_line_to(cr, cx - arm, cy + arm);
  cairo_stroke(cr);
}

void DrawToggle(Canvas& canvas, double x, double y, double w, double h, bool on) {
  cairo_t* cr = canvas.cr();
  canvas.RoundedRect(x, y, w, h, h / 2);
  if (on) {
    canvas.SetColour(palette::kAccent);
    cairo_fill(cr);
  } else {
    canvas.SetColour(palette::kInkDeep);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1.0);
    canvas.SetColour(palette::kHairline);
    cairo_stroke(cr);
  }
  const double thumbRadius = h / 2 - 2.5;
  const double thumbX = on ? x + w - h / 2 : x + h / 2;
  canvas.Circle(thumbX, y + h / 2 + 0.6, thumbRadius);
  canvas.SetColour(palette::kBlack, 0.35);
  cairo_fill(cr);
  canvas.Circle(thumbX, y + h / 2, thumbRadius);
  canvas.SetColour(on ? palette::kWhite : palette::kTextDim);
  cairo_fill(cr);
}

void DrawMiniKnob(Canvas& canvas, double cx, double cy, double radius, double value) {
  cairo_t* cr = canvas.cr();
  const double start = DialRadians(-kKnobSweepDegrees / 2) - M_PI / 2;
  const double end = start + DialRadians(kKnobSweepDegrees);
  const double at = start + DialRadians(kKnobSweepDegrees) * value;
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_width(cr, radius * 0.12);
  canvas.SetColour(palette::kInkDeep);
  cairo_new_path(cr);
  cairo_arc(cr, cx, cy, radius, start, end);
  cairo_stroke(cr);
  canvas.SetColour(palette::kAccent);
  cairo_new_path(cr);
  cairo_arc(cr, cx, cy, radius, start, at);
  cairo_stroke(cr);
  canvas.Circle(cx, cy, radius * 0.72);
  canvas.SetColour(palette::kInkHigh);
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, 1.0);
  canvas.SetColour(palette::kHairline);
  cairo_stroke(cr);
  const double a = at + M_PI / 2;
  cairo_set_line_width(cr, radius * 0.12);
  canvas.SetColour(palette::kTextBright);
  cairo_move_to(cr, cx + radius * 0.28 * std::sin(a), cy - radius * 0.28 * std::cos(a));
  cairo_line_to(cr, cx + radius * 0.58 * std::sin(a), cy - radius * 0.58 * std::cos(a));
  cairo_stroke(cr);
}

void DrawMidiSocket(Canvas& canvas, double cx, double cy, double radius) {
  cairo_t* cr = canvas.cr();
  canvas.Circle(cx, cy, radius);
  canvas.SetColour(palette::kInkHigh);
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, radius * 0.1);
  canvas.SetColour(palette::kTextMid);
  cairo_stroke(cr);
  for (int pin = 0; pin < 5; ++pin) {
    const double a = DialRadians(-90.0 + 45.0 * pin);
    canvas.Circle(cx + radius * 0.55 * std::sin(a), cy - radius * 0.55 * std::cos(a),
                  radius * 0.11);
    canvas.SetColour(pin == 2 ? palette::kAccent : palette::kTextBright);
    cairo_fill(cr);
  }
  canvas.RoundedRect(cx - radius * 0.14, cy + radius * 0.72, radius * 0.28, radius * 0.2, 1.0);
  canvas.SetColour(palette::kTextMid);
  cairo_fill(cr);
}

void DrawStripeBars(Canvas& canvas, double x, double baseline, double barWidth, double gap,
                    double maxHeight, const double heights[6], double alpha) {
  cairo_t* cr = canvas.cr();
  for (int i = 0; i < 6; ++i) {
    const MeterStripe& stripe = kMeterStripes[i];
    const double h = std::fmax(barWidth, maxHeight * heights[i]);
    canvas.RoundedRect(x + i * (barWidth + gap), baseline - h, barWidth, h, barWidth / 2);
    cairo_set_source_rgba(cr, stripe.red / 255.0, stripe.green / 255.0, stripe.blue / 255.0, alpha);
    cairo_fill(cr);
  }
}

} // namespace artwork
