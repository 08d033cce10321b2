#include "tools/artwork/Canvas.h"
#include "tools/artwork/Geometry.h"
#include "tools/artwork/Marks.h"
#include "tools/artwork/Painters.h"

#include <cmath>
#include <string>

namespace artwork {

namespace {

constexpr double kMargin = 32.0;
constexpr double kContentTop = 96.0;

const TextStyle kBody{Weight::Regular, 10.5, 0.0, palette::kTextMid, 1.0};
const TextStyle kHeading{Weight::SemiBold, 11.5, 0.1, palette::kTextBright, 1.0};
const TextStyle kOverline{Weight::Bold, 7.5, 1.8, palette::kAccent, 1.0};
const TextStyle kCaption{Weight::SemiBold, 7.0, 1.4, palette::kTextDim, 1.0};

void Rule(Canvas& canvas, double x0, double x1, double y) {
  cairo_t* cr = canvas.cr();
  cairo_set_line_width(cr, 1.0);
  canvas.SetColour(palette::kWhite, 0.08);
  cairo_move_to(cr, x0, y + 0.5);
  cairo_line_to(cr, x1, y + 0.5);
  cairo_stroke(cr);
}

void Card(Canvas& canvas, double x, double y, double w, double h) {
  cairo_t* cr = canvas.cr();
  canvas.RoundedRect(x + 0.5, y + 0.5, w - 1, h - 1, 10);
  canvas.SetColour(palette::kInkRaised);
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, 1.0);
  canvas.SetColour(palette::kWhite, 0.06);
  cairo_stroke(cr);
}

// Every page shares the editor's ink, its name, a close button and the way out in words.
void PaintChrome(Canvas& canvas, const std::string& overline, const std::string& title) {
  cairo_t* cr = canvas.cr();
  cairo_pattern_t* base = cairo_pattern_create_linear(0, 0, 0, kEditorHeight);
  cairo_pattern_add_color_stop_rgb(base, 0.0, palette::kInkRaised.r, palette::kInkRaised.g,
                                   palette::kInkRaised.b);
  cairo_pattern_add_color_stop_rgb(base, 1.0, palette::kInkDeep.r, palette::kInkDeep.g,
                                   palette::kInkDeep.b);
  cairo_set_source(cr, base);
  cairo_paint(cr);
  cairo_pattern_destroy(base);

  cairo_pattern_t* glow =
      cairo_pattern_create_radial(kEditorWidth * 0.15, -40, 10, kEditorWidth * 0.15, -40, 360);
  cairo_pattern_add_color_stop_rgba(glow, 0.0, palette::kAccent.r, palette::kAccent.g,
                                    palette::kAccent.b, 0.10);
  cairo_pattern_add_color_stop_rgba(glow, 1.0, palette::kAccent.r, palette::kAccent.g,
                                    palette::kAccent.b, 0.0);
  cairo_set_source(cr, glow);
  cairo_paint(cr);
  cairo_pattern_destroy(glow);

  for (int i = 0; i < 6; ++i) {
    const MeterStripe& s = kMeterStripes[i];
    cairo_rectangle(cr, s.area.left, 0, s.area.Width(), 3);
    cairo_set_source_rgb(cr, s.red / 255.0, s.green / 255.0, s.blue / 255.0);
    cairo_fill(cr);
  }

  canvas.Text(kOverline, kMargin, 36, overline);
  const TextStyle titleStyle{Weight::DisplayBold, 24.0, 0.2, palette::kTextBright, 1.0};
  canvas.Text(titleStyle, kMargin - 1, 64, title);

  DrawCloseButton(canvas, kEditorWidth - 42, 40, 14);
  canvas.Text(kCaption, kEditorWidth - 42 + 0.7, 68, "CLOSE", Align::Centre);

  Rule(canvas, kMargin, kEditorWidth - kMargin, 80);
  Rule(canvas, kMargin, kEditorWidth - kMargin, 362);
  const TextStyle hint{Weight::Medium, 9.0, 0.3, palette::kTextDim, 1.0};
  canvas.Text(hint, kEditorWidth / 2.0, 383, "Click anywhere to return to the controls",
              Align::Centre);
}

void FactRow(Canvas& canvas, double x, double y, const std::string& label,
             const std::string& value) {
  canvas.Text(kCaption, x, y, label);
  const TextStyle valueStyle{Weight::Medium, 10.0, 0.0, palette::kTextBright, 1.0};
  canvas.Text(valueStyle, x + 74, y + 0.5, value);
}

void ProgramRow(Canvas& canvas, double x, double y, double w, const std::string& name,
                const std::string& amount, double value) {
  cairo_t* cr = canvas.cr();
  const TextStyle nameStyle{Weight::Medium, 10.5, 0.0, palette::kTextBright, 1.0};
  const TextStyle amountStyle{Weight::Medium, 10.0, 0.0, palette::kTextMid, 1.0};
  canvas.Text(nameStyle, x, y, name);
  canvas.Text(amountStyle, x + w, y, amount, Align::Right);
  canvas.RoundedRect(x, y + 6, w, 3, 1.5);
  canvas.SetColour(palette::kInkDeep);
  cairo_fill(cr);
  if (value > 0.0) {
    canvas.RoundedRect(x, y + 6, std::fmax(3.0, w * value), 3, 1.5);
    canvas.SetColour(palette::kAccent);
    cairo_fill(cr);
  }
}

} // namespace

RgbaImage PaintAboutPage(const Typefaces& fonts, int pixelScale) {
  Canvas canvas(fonts, kEditorWidth, kEditorHeight, pixelScale);
  PaintChrome(canvas, "ABOUT", "Ombrix 1.2.1");

  const double left = kMargin;
  const double columnWidth = 250;
  const TextStyle lead{Weight::Medium, 12.5, 0.0, palette::kTextBright, 1.0};
  double y = canvas.Paragraph(lead, left, kContentTop + 10, columnWidth, 17,
                              "A stereo hard-clipping distortion with make-up gain.");
  y = canvas.Paragraph(
      kBody, left, y + 6, columnWidth, 15,
      "One control, Amount of Distortion, clips the signal at 1 \xE2\x88\x92 amount / 100 and "
      "scales the result back to full level, so the output always stays within \xC2\xB1"
      "1. "
      "A little adds edge and density; all the way up turns any sound into a square wave.");
  y += 12;
  FactRow(canvas, left, y, "MADE BY", "Quillmarsh");
  FactRow(canvas, left, y + 19, "FORMATS", "VST 2, VST 3, CLAP, LV2");
  FactRow(canvas, left, y + 38, "MIDI", "Controller 69 sets the amount");
  FactRow(canvas, left, y + 57, "WEB", kWebAddress);

  const double right = 318;
  const double rightWidth = kEditorWidth - kMargin - right - 28;
  Card(canvas, right - 16, kContentTop, kEditorWidth - kMargin - right + 16, 250);
  canvas.Text(kCaption, right, kContentTop + 24, "FACTORY PROGRAMS");
  const struct {
    const char* name;
    const char* amount;
    double value;
  } programs[] = {
      {"Default", "0 %", 0.0},
      {"Kinda Clean", "20 %", 0.2},
      {"Dirty", "40 %", 0.4},
      {"Dirtier", "80 %", 0.8},
      {"Is it still music???", "99.99 %", 1.0},
  };
  double rowY = kContentTop + 52;
  for (const auto& program : programs) {
    ProgramRow(canvas, right, rowY, rightWidth + 12, program.name, program.amount, program.value);
    rowY += 38;
  }
  return canvas.ToImage();
}

RgbaImage PaintCreditsPage(const Typefaces& fonts, int pixelScale) {
  Canvas canvas(fonts, kEditorWidth, kEditorHeight, pixelScale);
  PaintChrome(canvas, "CREDITS", "The people behind the noise");

  const struct {
    const char* role;
    const char* name;
    const char* note;
  } credits[] = {
      {"DESIGN AND SOUND", "Quillmarsh", "Plug-in, signal path and editor."},
      {"ARTWORK", "Quillmarsh", "Every picture drawn in code by Ombrix's own artwork generator."},
      {"TYPEFACE", "Inter", "Designed by Rasmus Andersson, under the SIL Open Font License."},
      {"IMAGE DECODING", "libpng and zlib",
       "The PNG reference library, with zlib by Jean-loup Gailly and Mark Adler."},
  };
  const double columnWidth = (kEditorWidth - 2 * kMargin - 16) / 2;
  for (int i = 0; i < 4; ++i) {
    const double x = kMargin + (i % 2) * (columnWidth + 16);
    const double y = kContentTop + (i / 2) * 106;
    Card(canvas, x, y, columnWidth, 94);
    canvas.Text(kCaption, x + 16, y + 22, credits[i].role);
    const TextStyle name{Weight::SemiBold, 15.0, 0.0, palette::kTextBright, 1.0};
    canvas.Text(name, x + 16, y + 44, credits[i].name);
    canvas.Paragraph(kBody, x + 16, y + 64, columnWidth - 32, 14, credits[i].note);
  }

  const double thanksY = kContentTop + 212;
  const double bars[6] = {0.55, 0.8, 0.65, 1.0, 0.7, 0.9};
  DrawStripeBars(canvas, kMargin, thanksY + 34, 4, 3, 32, bars, 1.0);
  const TextStyle thanks{Weight::Medium, 11.5, 0.0, palette::kTextBright, 1.0};
  canvas.Paragraph(thanks, kMargin + 56, thanksY + 16, 400, 16,
                   "Thanks to everyone who tested the early builds and kept asking the only "
                   "question that matters: is it still music?");
  return canvas.ToImage();
}

RgbaImage PaintGuidePage(const Typefaces& fonts, int pixelScale) {
  Canvas canvas(fonts, kEditorWidth, kEditorHeight, pixelScale);
  PaintChrome(canvas, "GUIDE", "How to use Ombrix");

  const double gap = 14;
  const double cardWidth = (kEditorWidth - 2 * kMargin - 2 * gap) / 3;
  const double cardHeight = 196;
  const struct {
    const char* title;
    const char* text;
  } cards[] = {
      {"The Amount knob",
       "Drag up to add distortion, down to take it away. Hold Shift or Ctrl for fine steps. The "
       "mouse wheel moves one percent a notch. Double-click to reset."},
      {"MIDI controller 69",
       "Send CC 69 on any channel to play the amount from a controller: 0 is clean, 127 is "
       "99.99\xC2\xA0%. The knob follows, and your host records the move."},
      {"The #KELBA button",
       "The switch at the top right starts and stops the beat animation. While it is on, the "
       "badge flips on every beat of your host's transport. Factory programs switch it off."},
  };
  for (int i = 0; i < 3; ++i) {
    const double x = kMargin + i * (cardWidth + gap);
    Card(canvas, x, kContentTop, cardWidth, cardHeight);
    const double iconY = kContentTop + 34;
    const double iconX = x + 36;
    if (i == 0) {
      DrawMiniKnob(canvas, iconX, iconY, 18, 0.62);
    } else if (i == 1) {
      DrawMidiSocket(canvas, iconX, iconY, 18);
    } else {
      DrawToggle(canvas, iconX - 17, iconY - 9.5, 34, 19, true);
    }
    canvas.Text(kHeading, x + 16, kContentTop + 76, cards[i].title);
    canvas.Paragraph(kBody, x + 16, kContentTop + 96, cardWidth - 30, 14.5, cards[i].text);
  }

  const double rowY = kContentTop + cardHeight + 30;
  const double levels[6] = {0.5, 0.75, 0.6, 0.9, 0.7, 0.85};
  DrawStripeBars(canvas, kMargin + 2, rowY + 12, 3, 2, 20, levels, 1.0);
  canvas.Paragraph(kBody, kMargin + 40, rowY, 200, 14.5,
                   "The six coloured stripes are the meters: each rises with the left and right "
                   "output level.");
  const double helpX = kMargin + 268;
  canvas.Paragraph(kBody, helpX, rowY, 228, 14.5,
                   "Click the name OMBRIX for About, the star for Credits and the question mark "
                   "for this guide.");
  return canvas.ToImage();
}

} // namespace artwork
