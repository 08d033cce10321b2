#include "editor/Control.h"

#include "plugin/AudioPlugin.h"

IControl::IControl(IAudioPlugin* plugin, const IBounds& area, int paramIndex, const IBlend& blend)
    : plugin(plugin), area(area), hitArea(area), paramIndex(paramIndex), blend(blend) {}

void IControl::PointerDoubleClick(int, int, const IMouseKeys&) {
  const double first = DefaultValue();
  if (first >= 0.0) {
    SetValue(first);
    MarkDirty(true);
  }
}

void IControl::WheelTurned(int, int, const IMouseKeys& keys, int notches) {
  const double step = keys.control || keys.shift ? 0.001 : 0.01;
  SetValue(Value() + notches * step);
  MarkDirty(true);
}

void IControl::ShowValue(double shown) {
  if (DefaultValue() < 0.0) {
    defaultValue.store(shown, std::memory_order_relaxed);
    SetValue(shown);
  }
  if (!(Value() == shown)) {
    SetValue(shown);
    MarkDirty(false);
    RequestRedraw();
  }
}

void IControl::SetHidden(bool flag) {
  hidden.store(flag, std::memory_order_relaxed);
  RequestRedraw();
  MarkDirty(false);
}

void IControl::SetGreyed(bool flag) {
  greyed.store(flag, std::memory_order_relaxed);
  blend.weight = flag ? 0.25f : 1.0f;
  MarkDirty(false);
}

bool IControl::ContainsPoint(int x, int y) {
  if (hitArea.IsEmpty()) {
    return false;
  }
  return hitArea.left <= x && x < hitArea.right && hitArea.top <= y && y < hitArea.bottom;
}

void IControl::MarkDirty(bool notifyPlugin) {
  // Not a number counts as the low end, so a bad value never reaches a parameter or a drawing.
  double current = Value();
  const double clamped = Clamped(current);
  if (!(clamped == current)) {
    // A value another thread stored meanwhile is kept; it is clamped when it is used.
    value.compare_exchange_strong(current, clamped, std::memory_order_relaxed);
  }
  changes.fetch_add(1, std::memory_order_acq_rel);
  if (notifyPlugin && plugin && paramIndex >= 0) {
    plugin->SetParameterFromEditor(paramIndex, Clamped(Value()));
  }
}

void IControl::MarkClean() {
  MarkCleanAt(ChangeCount());
}

void IControl::MarkCleanAt(std::uint32_t drawnCount) {
  // A redraw request keeps the counts apart for one more tick.
  if (redrawRequested.exchange(false, std::memory_order_acq_rel)) {
    --drawnCount;
  }
  drawnChanges.store(drawnCount, std::memory_order_relaxed);
}

void IControl::ReceiveLinkedValue(int position, double linkedValue) {
  if (position < 0 || position >= static_cast<int>(linkedParams.size())) {
    return;
  }
  LinkedParam& linked = linkedParams[static_cast<size_t>(position)];
  if (!(linked.value == linkedValue)) {
    linked.value = linkedValue;
    MarkDirty(false);
    RequestRedraw();
  }
}

void IControl::SetClampRange(double low, double high) {
  clampLow = low;
  clampHigh = high;
}
