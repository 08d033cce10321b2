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
  const int h = area.Height();
  const int y = static_cast<int>(std::trunc(area.top - h * level + h));
  RasterFillArea(editor->DrawBitmap(), area.left, y, area.Width(), area.bottom - y,
                 fillColour.ToPixel(), 1.0f, RASTER_OP_COPY | RASTER_OP_SRC_ALPHA);
  return true;
}
