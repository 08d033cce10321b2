#pragma once

#include "editor/Control.h"

// Shows the frame of its image strip that the value selects.
class IImageControl : public IControl {
public:
  // The area is one frame of the strip with its top-left corner at (x, y).
  IImageControl(IAudioPlugin* plugin, int x, int y, int paramIndex, const IImageStrip& strip,
                const IBlend& blend = IBlend());

  bool Render(IEditor* editor) override;
  // At full weight, copied or over an image without a translucent pixel, inside its area.
  bool CoversOpaquely(IEditor* editor, const IBounds& rect) override;

  const IImageStrip& Strip() const { return strip; }

protected:
  IImageStrip strip;
};

// Steps through the strip's frames on each click (0, 1/(N-1), ..., 1, then 0 again).
class ISwitchControl : public IImageControl {
public:
  using IImageControl::IImageControl;

  void PointerDown(int x, int y, const IMouseKeys& keys) override;
  // A double click counts as one more click.
  void PointerDoubleClick(int x, int y, const IMouseKeys& keys) override;
};

// A full-size picture: while off it draws nothing and answers only on its hot spot; a click
// there switches it on, and then a click anywhere on it switches it off.
class IOverlayControl : public ISwitchControl {
public:
  IOverlayControl(IAudioPlugin* plugin, int x, int y, const IImageStrip& strip,
                  const IBounds& offHitArea);

  // The hit area follows the state each time the overlay is drawn.
  bool Render(IEditor* editor) override;
  // Only while shown.
  bool CoversOpaquely(IEditor* editor, const IBounds& rect) override;

  const IBounds& OffHitArea() const { return offHitArea; }

private:
  IBounds offHitArea;
};
