#include "editor/Editor.h"
#include "editor/LevelMeter.h"
#include "raster/RasterBlit.h"
#include "raster/RasterSysBitmap.h"

#include <cmath>

ILevelMeter::ILevelMeter(IAudioPlugin* plugin, const IBounds& area, int red, int green, int blue)
    : IControl(plugin, area), fillColour{128, red, green, blue} {}

bool ILevelMeter::Render(IEditor* editor) {
  // The first level shown is kept unclamped; the bar never leaves its area for it.
  double level = Value();
  if (!(level >= 0.0)) {
    level = 0.0;
  } else if (level > 1.0) {
    level = 1.0;
  }
  // In window pixels, so the bar rises a window pixel at a time at every scale.
  const IBounds window = editor->WindowBounds(area);
  const int h = window.Height();
  const int y = static_cast<int>(std::trunc(window.top - h * level + h));
  RasterFillArea(editor->DrawBitmap(), window.left, y, window.Width(), window.bottom - y,
                 fillColour.ToPixel(), 1.0f, RASTER_OP_COPY | RASTER_OP_SRC_ALPHA);
  return true;
}
