#include "tools/artwork/Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace artwork {

Canvas::Canvas(const Typefaces& fonts, int width, int height, int pixelScale)
    : fonts_(fonts), width_(width), height_(height), pixelScale_(pixelScale),
      surface_(
          cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width * pixelScale, height * pixelScale)),
      cr_(cairo_create(surface_)), fontOptions_(cairo_font_options_create()) {
  if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS) {
    std::fprintf(stderr, "ombrix_artwork: cairo cannot make a %d x %d surface\n",
                 width * pixelScale, height * pixelScale);
    std::exit(1);
  }
  cairo_scale(cr_, pixelScale, pixelScale);
  // Unhinted grey antialiasing: the same outlines at every position, no LCD colour fringes.
  cairo_font_options_set_antialias(fontOptions_, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(fontOptions_, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(fontOptions_, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr_, fontOptions_);
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_GOOD);
}

Canvas::~Canvas() {
  cairo_font_options_destroy(fontOptions_);
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

void Canvas::SetColour(const Colour& colour, double alpha) {
  cairo_set_source_rgba(cr_, colour.r, colour.g, colour.b, alpha);
}

void Canvas::RoundedRect(double x, double y, double w, double h, double radius) {
  const double r = std::fmin(radius, std::fmin(w, h) / 2.0);
  cairo_new_sub_path(cr_);
  cairo_arc(cr_, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr_, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr_, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr_, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr_);
}

void Canvas::Circle(double cx, double cy, double radius) {
  cairo_new_sub_path(cr_);
  cairo_arc(cr_, cx, cy, radius, 0, 2 * M_PI);
  cairo_close_path(cr_);
}

void Canvas::ApplyFont(const TextStyle& style) {
  cairo_set_font_face(cr_, fonts_.Face(style.weight));
  cairo_set_font_size(cr_, style.size);
}

double Canvas::MeasureText(const TextStyle& style, const std::string& text) {
  ApplyFont(style);
  cairo_text_extents_t extents;
  cairo_text_extents(cr_, text.c_str(), &extents);
  cairo_glyph_t* glyphs = nullptr;
  int count = 0;
  cairo_scaled_font_text_to_glyphs(cairo_get_scaled_font(cr_), 0, 0, text.c_str(), -1, &glyphs,
                                   &count, nullptr, nullptr, nullptr);
  cairo_glyph_free(glyphs);
  return extents.x_advance + style.tracking * (count > 0 ? count - 1 : 0);
}

double Canvas::Text(const TextStyle& style, double x, double y, const std::string& text,
                    Align align) {
  const double width = MeasureText(style, text);
  double left = x;
  if (align == Align::Centre) {
    left = x - width / 2.0;
  } else if (align == Align::Right) {
    left = x - width;
  }
  cairo_glyph_t* glyphs = nullptr;
  int count = 0;
  cairo_scaled_font_text_to_glyphs(cairo_get_scaled_font(cr_), left, y, text.c_str(), -1, &glyphs,
                                   &count, nullptr, nullptr, nullptr);
  for (int i = 0; i < count; ++i) {
    glyphs[i].x += style.tracking * i;
  }
  if (style.halo > 0.0) {
    cairo_new_path(cr_);
    cairo_glyph_path(cr_, glyphs, count);
    cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
    const double widths[] = {style.size * 0.42, style.size * 0.26, style.size * 0.14};
    const double strengths[] = {0.25, 0.4, 0.6};
    for (int i = 0; i < 3; ++i) {
      cairo_set_line_width(cr_, widths[i]);
      SetColour(palette::kInkDeep, style.halo * strengths[i]);
      cairo_stroke_preserve(cr_);
    }
    cairo_new_path(cr_);
  }
  SetColour(style.colour, style.alpha);
  cairo_show_glyphs(cr_, glyphs, count);
  cairo_glyph_free(glyphs);
  return width;
}

double Canvas::Paragraph(const TextStyle& style, double x, double y, double width,
                         double lineHeight, const std::string& text) {
  std::vector<std::string> words;
  std::string word;
  for (char c : text + " ") {
    if (c == ' ') {
      if (!word.empty()) {
        words.push_back(word);
      }
      word.clear();
    } else {
      word += c;
    }
  }
  std::string line;
  for (const std::string& next : words) {
    const std::string candidate = line.empty() ? next : line + " " + next;
    if (!line.empty() && MeasureText(style, candidate) > width) {
      Text(style, x, y, line);
      y += lineHeight;
      line = next;
    } else {
      line = candidate;
    }
  }
  if (!line.empty()) {
    Text(style, x, y, line);
    y += lineHeight;
  }
  return y;
}

RgbaImage Canvas::ToImage() const {
  cairo_surface_flush(surface_);
  const int pixelWidth = width_ * pixelScale_;
  const int pixelHeight = height_ * pixelScale_;
  RgbaImage image(pixelWidth, pixelHeight);
  const unsigned char* data = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  for (int y = 0; y < pixelHeight; ++y) {
    const auto* src = reinterpret_cast<const std::uint32_t*>(data + y * stride);
    std::uint8_t* dst = image.Row(y);
    for (int x = 0; x < pixelWidth; ++x) {
      const std::uint32_t p = src[x];
      const std::uint32_t a = p >> 24;
      if (a == 0) {
        continue;
      }
      const auto unmultiply = [a](std::uint32_t c) {
        return static_cast<std::uint8_t>(std::min<std::uint32_t>(255, (c * 255 + a / 2) / a));
      };
      dst[4 * x + 0] = unmultiply((p >> 16) & 0xFF);
      dst[4 * x + 1] = unmultiply((p >> 8) & 0xFF);
      dst[4 * x + 2] = unmultiply(p & 0xFF);
      dst[4 * x + 3] = static_cast<std::uint8_t>(a);
    }
  }
  return image;
}

double DialRadians(double degreesFromTop) {
  return degreesFromTop * M_PI / 180.0;
}

} // namespace artwork
