#pragma once

#include "editor/Control.h"

// A knob whose value follows pointer drags; how it looks is up to the subclass.
class IKnobControl : public IControl {
public:
  enum KnobDirection { Vertical = 0, Horizontal = 1 };

  IKnobControl(IAudioPlugin* plugin, const IBounds& area, int paramIndex, int direction,
               double gearing);

  // Dragging up (or right) raises the value; the whole range takes gearing times the control's
  // height (or width) of travel in window pixels, ten times that with control or shift held.
  void PointerDrag(int x, int y, int dx, int dy, const IMouseKeys& keys) override;

  int Direction() const { return direction; }
  double Gearing() const { return gearing; }

protected:
  int direction;
  double gearing;
};

// A knob drawn as the frame of a film strip that its value selects.
class IFilmstripKnob : public IKnobControl {
public:
  IFilmstripKnob(IAudioPlugin* plugin, int x, int y, int paramIndex, const IImageStrip& strip,
                 int direction, double gearing);

  bool Render(IEditor* editor) override;

  const IImageStrip& Strip() const { return strip; }

private:
  IImageStrip strip;
};
