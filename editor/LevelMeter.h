#pragma once

#include "editor/Control.h"
#include "raster/IArgb.h"

// A translucent bar rising from the bottom of its area to the level (0..1) it is shown.
class ILevelMeter : public IControl {
public:
  ILevelMeter(IAudioPlugin* plugin, const IBounds& area, int red, int green, int blue);

  bool Render(IEditor* editor) override;
  // Always part of the next redraw: the level changes with every processed block.
  bool NeedsRedraw() override { return true; }

  const IArgb& FillColour() const { return fillColour; }

private:
  IArgb fillColour;
};
