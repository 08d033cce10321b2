// ombrix-waveform OUTPUT.png FROM_MS LENGTH_MS LABEL=FILE...
// Draws the first channel of each file over LENGTH_MS milliseconds from FROM_MS on, one row a
// file, the label on the left, full scale (+-1) marked: what each program does to the input.
#include "tools/render/AudioFile.h"
#include "tools/render/TextNumbers.h"

#include <cairo.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {
constexpr int kWidth = 1200;
constexpr int kRowHeight = 110;
constexpr int kLabelWidth = 250;
constexpr int kMargin = 14;
constexpr double kFontSize = 15.0;
constexpr double kLineWidth = 1.6;
constexpr double kMostMilliseconds = 1000.0;
constexpr double kMostStartMilliseconds = 3600000.0;

struct Row {
  std::string label;
  std::vector<double> samples;
  int rate = 0;
};

bool ReadRow(const std::string& argument, double from, double milliseconds, Row* row,
             std::string* error) {
  const size_t equals = argument.find('=');
  if (equals == std::string::npos || equals == 0) {
    *error = "expected LABEL=FILE, got \"" + argument + "\"";
    return false;
  }
  row->label = argument.substr(0, equals);
  std::unique_ptr<AudioReader> reader = AudioReader::Open(argument.substr(equals + 1), error);
  if (!reader) {
    return false;
  }
  row->rate = reader->SampleRate();
  const int channels = reader->Channels();
  const auto skip =
      std::min<int64_t>(reader->Frames(), static_cast<int64_t>(from * row->rate / 1000));
  const int64_t frames = std::min<int64_t>(reader->Frames() - skip,
                                           static_cast<int64_t>(milliseconds * row->rate / 1000));
  std::vector<double> interleaved(static_cast<size_t>(std::max<int64_t>(skip, frames) * channels));
  if (reader->Read(interleaved.data(), skip) != skip) {
    *error = "cannot read " + argument.substr(equals + 1);
    return false;
  }
  const int64_t read = reader->Read(interleaved.data(), frames);
  for (int64_t frame = 0; frame < read; ++frame) {
    row->samples.push_back(interleaved[static_cast<size_t>(frame * channels)]);
  }
  return true;
}

void DrawRow(cairo_t* cairo, const Row& row, int top, double milliseconds) {
  const double middle = top + kRowHeight / 2.0;
  const double half = kRowHeight / 2.0 - kMargin;
  const double left = kLabelWidth;
  const double right = kWidth - kMargin;
  // Full scale and silence.
  cairo_set_source_rgb(cairo, 0.85, 0.86, 0.9);
  cairo_set_line_width(cairo, 1.0);
  for (double level : {-1.0, 0.0, 1.0}) {
    cairo_move_to(cairo, left, middle - level * half);
    cairo_line_to(cairo, right, middle - level * half);
  }
  cairo_stroke(cairo);
  cairo_set_source_rgb(cairo, 0.16, 0.18, 0.24);
  cairo_select_font_face(cairo, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cairo, kFontSize);
  cairo_move_to(cairo, kMargin, middle + kFontSize / 3);
  cairo_show_text(cairo, row.label.c_str());
  if (row.samples.empty()) {
    return;
  }
  const double framesShown = milliseconds * row.rate / 1000.0;
  cairo_set_source_rgb(cairo, 0.85, 0.3, 0.12);
  cairo_set_line_width(cairo, kLineWidth);
  for (size_t i = 0; i < row.samples.size(); ++i) {
    const double x = left + (right - left) * static_cast<double>(i) / framesShown;
    const double y = middle - std::clamp(row.samples[i], -1.2, 1.2) * half;
    if (i == 0) {
      cairo_move_to(cairo, x, y);
    } else {
      cairo_line_to(cairo, x, y);
    }
  }
  cairo_stroke(cairo);
}
} // namespace

int main(int argc, char** argv) {
  double from = 0.0;
  double milliseconds = 0.0;
  if (argc < 5 || !ParseWholeNumber(argv[2], &from) || from < 0.0 ||
      from > kMostStartMilliseconds || !ParseWholeNumber(argv[3], &milliseconds) ||
      milliseconds <= 0.0 || milliseconds > kMostMilliseconds) {
    std::fprintf(stderr,
                 "usage: ombrix-waveform OUTPUT.png FROM_MS LENGTH_MS(up to 1000) LABEL=FILE...\n");
    return 2;
  }
  std::vector<Row> rows(static_cast<size_t>(argc - 4));
  for (int i = 4; i < argc; ++i) {
    std::string error;
    if (!ReadRow(argv[i], from, milliseconds, &rows[static_cast<size_t>(i - 4)], &error)) {
      std::fprintf(stderr, "ombrix-waveform: %s\n", error.c_str());
      return 1;
    }
  }
  const int height = kRowHeight * static_cast<int>(rows.size());
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, height);
  cairo_t* cairo = cairo_create(surface);
  cairo_set_source_rgb(cairo, 1.0, 1.0, 1.0);
  cairo_paint(cairo);
  for (size_t i = 0; i < rows.size(); ++i) {
    if (i % 2 == 1) {
      cairo_set_source_rgb(cairo, 0.96, 0.96, 0.98);
      cairo_rectangle(cairo, 0, kRowHeight * static_cast<double>(i), kWidth, kRowHeight);
      cairo_fill(cairo);
    }
    DrawRow(cairo, rows[i], kRowHeight * static_cast<int>(i), milliseconds);
  }
  cairo_destroy(cairo);
  const cairo_status_t written = cairo_surface_write_to_png(surface, argv[1]);
  cairo_surface_destroy(surface);
  if (written != CAIRO_STATUS_SUCCESS) {
    std::fprintf(stderr, "ombrix-waveform: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
