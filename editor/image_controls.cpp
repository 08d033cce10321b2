#include "editor/Editor.h"
#include "editor/ImageControls.h"

namespace {
IBounds FrameArea(int x, int y, const IImageStrip& strip) {
  return IBounds{x, y, x + strip.width, y + strip.FrameHeight()};
}
} // namespace

IImageControl::IImageControl(IAudioPlugin* plugin, int x, int y, int paramIndex,
                             const IImageStrip& strip, const IBlend& blend)
    : IControl(plugin, FrameArea(x, y, strip), paramIndex, blend), strip(strip) {}

bool IImageControl::Render(IEditor* editor) {
  return editor->DrawImage(strip, area, 0, strip.SourceRowFor(Value()), &blend);
}

bool IImageControl::CoversOpaquely(IEditor* editor, const IBounds& rect) {
  const bool inside = area.left <= rect.left && rect.right <= area.right && area.top <= rect.top &&
                      rect.bottom <= area.bottom;
  if (!inside || blend.weight != 1.0f || (blend.kind != BlendOpaque && blend.kind != BlendAlpha)) {
    return false;
  }
  return editor->ImageCoversArea(strip, area, strip.SourceRowFor(Value()),
                                 blend.kind == BlendOpaque);
}

void ISwitchControl::PointerDown(int, int, const IMouseKeys&) {
  const double step = strip.frames > 1 ? 1.0 / (strip.frames - 1) : 1.0;
  double next = Value() + step;
  if (next > 1.001) {
    next = 0.0;
  }
  SetValue(next);
  MarkDirty(true);
}

void ISwitchControl::PointerDoubleClick(int x, int y, const IMouseKeys& keys) {
  PointerDown(x, y, keys);
}

IOverlayControl::IOverlayControl(IAudioPlugin* plugin, int x, int y, const IImageStrip& strip,
                                 const IBounds& offHitArea)
    : ISwitchControl(plugin, x, y, -1, strip, IBlend()), offHitArea(offHitArea) {}

bool IOverlayControl::CoversOpaquely(IEditor* editor, const IBounds& rect) {
  return Value() >= 0.5 && IImageControl::CoversOpaquely(editor, rect);
}

bool IOverlayControl::Render(IEditor* editor) {
  if (Value() < 0.5) {
    SetHitArea(offHitArea);
    return true;
  }
  SetHitArea(area);
  return IImageControl::Render(editor);
}
