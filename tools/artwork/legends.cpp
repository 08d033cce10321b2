#include "tools/artwork/Geometry.h"
#include "tools/artwork/Marks.h"

#include <string>

namespace artwork {

namespace {

// Dark glass under every legend keeps it legible on any stripe colour.
void Chip(Canvas& canvas, double x, double y, double w, double h, double radius) {
  cairo_t* cr = canvas.cr();
  canvas.RoundedRect(x, y, w, h, radius);
  canvas.SetColour(palette::kInk, 0.9);
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, 1.0);
  canvas.SetColour(palette::kHairline);
  cairo_stroke(cr);
}

void RingChip(Canvas& canvas, double cx, double cy, double radius) {
  Chip(canvas, cx - radius, cy - radius, 2 * radius, 2 * radius, radius);
}

const TextStyle kCaption{Weight::SemiBold, 6.5, 1.3, palette::kTextMid, 1.0, 1.0};

void DrawHeader(Canvas& canvas) {
  DrawWordmark(canvas, kTitleSpot.left + 2, kTitleSpot.bottom - 9, 36);
  const TextStyle byline{Weight::SemiBold, 7.5, 1.6, palette::kTextMid, 1.0, 1.0};
  canvas.Text(byline, kTitleSpot.left + 3.5, kWebLink.top + 14.5, "BY QUILLMARSH");

  const Rect& web = kWebLink;
  Chip(canvas, web.left + 0.5, web.top + 1.5, web.Width() - 1, web.Height() - 3, 10);
  const TextStyle link{Weight::Medium, 10.5, 0.2, palette::kTextBright, 1.0};
  // The address the button opens, so nobody is surprised where it leads.
  const double textWidth = canvas.MeasureText(link, kWebAddress);
  const double groupWidth = 11 + 6 + textWidth + 6 + 6.5;
  double x = web.CentreX() - groupWidth / 2;
  DrawGlobe(canvas, x + 5.5, web.CentreY(), 5.5, palette::kTextMid);
  x += 17;
  canvas.Text(link, x, web.CentreY() + 3.7, kWebAddress);
  DrawOutArrow(canvas, x + textWidth + 6, web.CentreY() - 3.3, 6.5, palette::kAccent);
}

void DrawHotSpotMarks(Canvas& canvas) {
  const Rect& help = kHelpSpot;
  RingChip(canvas, help.CentreX(), help.top + 12, 11.5);
  DrawHelpMark(canvas, help.CentreX(), help.top + 12, 8, palette::kTextBright);
  canvas.Text(kCaption, help.CentreX() + 0.6, help.bottom - 2, "GUIDE", Align::Centre);

  const Rect& credits = kCreditsSpot;
  RingChip(canvas, credits.CentreX(), credits.top + 12, 11.5);
  DrawStar(canvas, credits.CentreX(), credits.top + 12.6, 6.5, palette::kTextBright);
  canvas.Text(kCaption, credits.CentreX() + 0.6, credits.bottom + 9, "CREDITS", Align::Centre);
}

void DrawFooter(Canvas& canvas) {
  // One picture serves every plug-in format, so the corner names none of them.
  canvas.Text(kCaption, 22, 383, "VERSION  1.2.1");

  const Rect& art = kArtistLink;
  Chip(canvas, art.left + 0.5, art.top + 1.5, art.Width() - 1, art.Height() - 3, 9);
  const TextStyle credit{Weight::Medium, 9.5, 0.1, palette::kTextBright, 1.0};
  const std::string text = "Art \xC2\xB7 Quillmarsh";
  const double width = canvas.MeasureText(credit, text);
  const double x = art.CentreX() - (width + 11) / 2;
  canvas.Text(credit, x, art.CentreY() + 3.5, text);
  DrawOutArrow(canvas, x + width + 5, art.CentreY() - 2.9, 5.5, palette::kAccent);

  const double rowY = kSocialLink.CentreY();
  RingChip(canvas, kSocialLink.CentreX(), rowY, 11.5);
  DrawAtSign(canvas, kSocialLink.CentreX(), rowY, 13.0, palette::kTextBright);
  const double heartX = kDonateLink.left + 14.5;
  RingChip(canvas, heartX, rowY, 11.5);
  DrawHeart(canvas, heartX, rowY + 0.3, 11, palette::kAccent);
}

} // namespace

void DrawEditorLegends(Canvas& canvas) {
  DrawHeader(canvas);
  DrawHotSpotMarks(canvas);
  DrawFooter(canvas);
}

} // namespace artwork
