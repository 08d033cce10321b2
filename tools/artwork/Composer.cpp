#include "tools/artwork/Composer.h"

#include "tools/artwork/Geometry.h"
#include "tools/artwork/KnobStrip.h"

#include <algorithm>
#include <cmath>

namespace artwork {

namespace {

// The editor's "over" at full weight, in its own integer arithmetic.
void Over(std::uint8_t* d, const std::uint8_t* s) {
  const int sa = s[3];
  if (sa == 0) {
    return;
  }
  for (int c = 0; c < 3; ++c) {
    d[c] = sa == 255 ? s[c] : static_cast<std::uint8_t>(s[c] + (d[c] - s[c]) * (255 - sa) / 256);
  }
  d[3] = static_cast<std::uint8_t>(std::min(255, d[3] + sa));
}

void DrawFrame(RgbaImage& target, const RgbaImage& strip, int frames, double value, int x, int y,
               bool opaque) {
  int frame = 1;
  if (frames > 1) {
    frame = std::clamp(static_cast<int>((frames - 1) * value + 0.5) + 1, 1, frames);
  }
  const int sourceTop = FrameStartRow(frame, frames, strip.height);
  const int rows = strip.height / frames;
  for (int row = 0; row < rows; ++row) {
    const int ty = y + row;
    if (ty < 0 || ty >= target.height || sourceTop + row >= strip.height) {
      continue;
    }
    for (int col = 0; col < strip.width; ++col) {
      const int tx = x + col;
      if (tx < 0 || tx >= target.width) {
        continue;
      }
      std::uint8_t* d = target.Row(ty) + 4 * tx;
      const std::uint8_t* s = strip.Row(sourceTop + row) + 4 * col;
      if (opaque) {
        std::copy(s, s + 4, d);
      } else {
        Over(d, s);
      }
    }
  }
}

void FillMeter(RgbaImage& target, const MeterStripe& stripe, double level) {
  const Rect& area = stripe.area;
  const int h = area.bottom - area.top;
  const int top = static_cast<int>(area.top - h * level + h);
  const std::uint8_t colour[4] = {
      static_cast<std::uint8_t>(stripe.red), static_cast<std::uint8_t>(stripe.green),
      static_cast<std::uint8_t>(stripe.blue), static_cast<std::uint8_t>(kMeterAlpha)};
  for (int y = std::max(0, top); y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      Over(target.Row(y) + 4 * x, colour);
    }
  }
}

} // namespace

RgbaImage ComposeEditor(const Artwork& artwork, const EditorState& state) {
  RgbaImage editor(kEditorWidth, kEditorHeight);
  DrawFrame(editor, artwork.background, 1, 0.0, 0, 0, true);
  for (int i = 0; i < 6; ++i) {
    FillMeter(editor, kMeterStripes[i], state.levels[i][0]);
    FillMeter(editor, kMeterStripes[i], state.levels[i][1]);
  }
  DrawFrame(editor, artwork.panel, 1, 0.0, 0, 0, false);
  DrawFrame(editor, artwork.theme, 2, state.themeValue, kThemeArea.left, kThemeArea.top, false);
  DrawFrame(editor, artwork.themeButton, 2, state.buttonValue, kThemeArea.left, kThemeArea.top,
            false);
  DrawFrame(editor, artwork.knobBackground, 1, 0.0, kKnobArea.left, kKnobArea.top, false);
  DrawFrame(editor, artwork.knob, kKnobFrames, state.knobValue, kKnobArea.left, kKnobArea.top,
            false);
  const RgbaImage* pages[] = {&artwork.about, &artwork.credits, &artwork.guide};
  if (state.page >= 1 && state.page <= 3) {
    DrawFrame(editor, *pages[state.page - 1], 1, 0.0, 0, 0, false);
  }
  return editor;
}

RgbaImage Magnify(const RgbaImage& image, int x, int y, int w, int h, int zoom) {
  x = std::clamp(x, 0, image.width);
  y = std::clamp(y, 0, image.height);
  w = std::clamp(w, 0, image.width - x);
  h = std::clamp(h, 0, image.height - y);
  zoom = std::clamp(zoom, 1, 16);
  RgbaImage out(w * zoom, h * zoom);
  for (int row = 0; row < out.height; ++row) {
    for (int col = 0; col < out.width; ++col) {
      const std::uint8_t* s = image.Row(y + row / zoom) + 4 * (x + col / zoom);
      std::copy(s, s + 4, out.Row(row) + 4 * col);
    }
  }
  return out;
}

RgbaImage ComposeKnobSheet(const Artwork& artwork, const int* frames, int count) {
  const int columns = std::min(count, 4);
  const int rows = (count + columns - 1) / columns;
  RgbaImage sheet(columns * kKnobSize, rows * kKnobSize);
  for (std::size_t i = 0; i < sheet.bytes.size(); i += 4) {
    sheet.bytes[i] = 0x14;
    sheet.bytes[i + 1] = 0x17;
    sheet.bytes[i + 2] = 0x1D;
    sheet.bytes[i + 3] = 255;
  }
  for (int i = 0; i < count; ++i) {
    const int x = (i % columns) * kKnobSize;
    const int y = (i / columns) * kKnobSize;
    DrawFrame(sheet, artwork.knobBackground, 1, 0.0, x, y, false);
    const double value = static_cast<double>(frames[i] - 1) / (kKnobFrames - 1);
    DrawFrame(sheet, artwork.knob, kKnobFrames, value, x, y, false);
  }
  return sheet;
}

} // namespace artwork
