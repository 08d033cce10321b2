// A cairo drawing surface with the few drawing helpers every picture shares.
#pragma once

#include "tools/artwork/Palette.h"
#include "tools/artwork/RgbaImage.h"
#include "tools/artwork/Typefaces.h"

#include <cairo.h>

#include <string>

namespace artwork {

enum class Align { Left, Centre, Right };

struct TextStyle {
  Weight weight = Weight::Regular;
  double size = 12.0;
  double tracking = 0.0; // extra pixels after every glyph
  Colour colour = palette::kTextBright;
  double alpha = 1.0;
  double halo = 0.0; // strength of a soft dark rim that keeps text legible on any stripe
};

// Painters draw in the editor's own units; a canvas at pixel scale 2 holds twice as many pixels
// each way, so the same drawing comes out at twice the resolution.
class Canvas {
public:
  Canvas(const Typefaces& fonts, int width, int height, int pixelScale);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  cairo_t* cr() const { return cr_; }
  // In drawing units, whatever the pixel scale.
  int Width() const { return width_; }
  int Height() const { return height_; }

  void SetColour(const Colour& colour, double alpha = 1.0);
  void RoundedRect(double x, double y, double w, double h, double radius);
  void Circle(double cx, double cy, double radius);

  // Draws one line of text with its baseline at y; returns its advance width.
  double Text(const TextStyle& style, double x, double y, const std::string& text,
              Align align = Align::Left);
  double MeasureText(const TextStyle& style, const std::string& text);
  // Breaks text into lines no wider than width; returns the baseline after the last line.
  double Paragraph(const TextStyle& style, double x, double y, double width, double lineHeight,
                   const std::string& text);

  // Converts cairo's premultiplied pixels to straight alpha; fully transparent pixels are 0.
  // The image has the canvas's size times its pixel scale.
  RgbaImage ToImage() const;

private:
  void ApplyFont(const TextStyle& style);

  const Typefaces& fonts_;
  int width_;
  int height_;
  int pixelScale_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
  cairo_font_options_t* fontOptions_;
};

// Angle on the knob's dial in radians, clockwise from straight up.
double DialRadians(double degreesFromTop);

} // namespace artwork
