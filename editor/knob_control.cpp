#include "editor/Editor.h"
#include "editor/KnobControl.h"

IKnobControl::IKnobControl(IAudioPlugin* plugin, const IBounds& area, int paramIndex, int direction,
                           double gearing)
    : IControl(plugin, area, paramIndex), direction(direction), gearing(gearing) {}

void IKnobControl::PointerDrag(int, int, int dx, int dy, const IMouseKeys& keys) {
  double g = gearing;
  if (keys.control || keys.shift) {
    g *= 10.0;
  }
  const bool vertical = direction == Vertical;
  const int span = vertical ? area.top - area.bottom : area.right - area.left;
  // A knob without extent (its image failed to load) has no travel to scale by.
  if (span == 0 || g == 0.0) {
    return;
  }
  const int moved = vertical ? dy : dx;
  // The control is its span times the scale tall in the window.
  const double scale = owner ? owner->Scale() : 1.0;
  SetValue(Value() + static_cast<double>(moved) / (span * scale) / g);
  MarkDirty(true);
}

IFilmstripKnob::IFilmstripKnob(IAudioPlugin* plugin, int x, int y, int paramIndex,
                               const IImageStrip& strip, int direction, double gearing)
    : IKnobControl(plugin, IBounds{x, y, x + strip.width, y + strip.FrameHeight()}, paramIndex,
                   direction, gearing),
      strip(strip) {}

bool IFilmstripKnob::Render(IEditor* editor) {
  return editor->DrawImage(strip, area, 0, strip.SourceRowFor(Value()), &blend);
}
