#pragma once

#include "editor/Control.h"
#include "raster/IArgb.h"

// A translucent bar rising from the bottom of its area to the level (0..1) it is shown.
class ILevelMeter : public IControl {
public:
  ILevelMeter(IAudioPlugin* plugin, const IBounds& area, int red, int green, int blue);

  bool Render(IEditor* editor) override;
  // Shows a level as the base does (the first one kept as given, later ones clamped), but
  // without counting a change or asking for a redraw: the meter is redrawn every time anyway,
  // and the effect shows twelve levels twice per processed block.
  void ShowValue(double level) override { ShowLevel(level); }
  // The same, callable without a virtual call by code that knows it has a meter.
  void ShowLevel(double level) {
    if (DefaultValue() < 0.0) {
      IControl::ShowValue(level);
    } else if (!(Value() == level)) {
      SetValue(Clamped(level));
    }
  }
  // Whether showing any level from 0 to 1 comes down to storing it as given: a first level has
  // been shown (and kept as the default), and the clamp range holds the whole of 0..1.
  bool TakesUnitLevelsAsGiven() const {
    return DefaultValue() >= 0.0 && clampLow <= 0.0 && clampHigh >= 1.0;
  }
  // ShowLevel for a level from +0 to 1 on a meter that TakesUnitLevelsAsGiven: the same
  // value, without the comparisons.
  void StoreUnitLevel(double level) { SetValue(level); }
  // Always part of the next redraw: the level changes with every processed block.
  bool NeedsRedraw() override { return true; }

  const IArgb& FillColour() const { return fillColour; }

private:
  IArgb fillColour;
};
