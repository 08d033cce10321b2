#include "editor/Control.h"
#include "editor/Editor.h"
#include "plugin/AudioPlugin.h"

int IEditor::ControlIndexAt(int x, int y, bool forHover) {
  if (capturedIndex >= 0 && capturedIndex < static_cast<int>(controls.size())) {
    return capturedIndex;
  }
  for (int i = static_cast<int>(controls.size()) - 1; i >= 0; --i) {
    IControl* control = controls[static_cast<size_t>(i)].get();
    if (control->IsHidden()) {
      continue;
    }
    if (control->IsGreyed() && !(forHover && control->HoverWhenGreyed())) {
      continue;
    }
    if (control->ContainsPoint(x, y)) {
      return i;
    }
  }
  return -1;
}

void IEditor::DispatchPress(int x, int y, const IMouseKeys& keys) {
  ResetCapture();
  const int index = ControlIndexAt(x, y, false);
  if (index < 0) {
    return;
  }
  lastPointerX = x;
  lastPointerY = y;
  capturedIndex = index;
  IControl* control = controls[static_cast<size_t>(index)].get();
  if (plugin && plugin->HostOffersParameterMenus() && keys.right && control->ParamIndex() >= 0) {
    ResetCapture();
    plugin->ParameterContextRequest(control->ParamIndex(), x, y);
    return;
  }
  // The gesture opens before the press itself may write a value (a switch steps on the press):
  // hosts recording touch automation drop values that arrive outside a begin/end bracket.
  const int boundBefore = control->ParamIndex();
  if (plugin && boundBefore >= 0) {
    plugin->BeginHostEdit(boundBefore);
  }
  control->PointerDown(x, y, keys);
  // Pressing may have changed what the control is bound to.
  const int boundAfter = control->ParamIndex();
  if (plugin && boundAfter >= 0 && boundAfter != boundBefore) {
    plugin->BeginHostEdit(boundAfter);
  }
}

void IEditor::DispatchDrag(int x, int y, const IMouseKeys& keys) {
  if (capturedIndex < 0 || capturedIndex >= static_cast<int>(controls.size())) {
    return;
  }
  const int dx = x - lastPointerX;
  const int dy = y - lastPointerY;
  if (dx == 0 && dy == 0) {
    return;
  }
  lastPointerX = x;
  lastPointerY = y;
  controls[static_cast<size_t>(capturedIndex)]->PointerDrag(x, y, dx, dy, keys);
}

void IEditor::DispatchRelease(int x, int y, const IMouseKeys& keys) {
  const int index = ControlIndexAt(x, y, false);
  ResetCapture();
  if (index < 0) {
    return;
  }
  IControl* control = controls[static_cast<size_t>(index)].get();
  control->PointerUp(x, y, keys);
  if (plugin && control->ParamIndex() >= 0) {
    plugin->EndHostEdit(control->ParamIndex());
  }
}

bool IEditor::DispatchDoubleClick(int x, int y, const IMouseKeys& keys) {
  ResetCapture();
  const int index = ControlIndexAt(x, y, false);
  if (index < 0) {
    return false;
  }
  IControl* control = controls[static_cast<size_t>(index)].get();
  if (control->DoubleClickAsPress()) {
    capturedIndex = index;
    lastPointerX = x;
    lastPointerY = y;
    control->PointerDown(x, y, keys);
    return true;
  }
  control->PointerDoubleClick(x, y, keys);
  return false;
}

void IEditor::DispatchWheel(int x, int y, const IMouseKeys& keys, int notches) {
  const int index = ControlIndexAt(x, y, false);
  if (index >= 0) {
    controls[static_cast<size_t>(index)]->WheelTurned(x, y, keys, notches);
  }
}

bool IEditor::DispatchKey(int x, int y, int key) {
  const int index = ControlIndexAt(x, y, false);
  // The background at index 0 never takes keys.
  IControl* target = index >= 1 ? controls[static_cast<size_t>(index)].get() : keyTarget.get();
  return target && target->KeyPressed(x, y, key);
}

bool IEditor::DispatchHover(int x, int y, const IMouseKeys& keys) {
  if (!hoverTracking) {
    return false;
  }
  const int index = ControlIndexAt(x, y, true);
  if (index >= 0) {
    lastPointerX = x;
    lastPointerY = y;
    controls[static_cast<size_t>(index)]->PointerOver(x, y, keys);
    if (hoverIndex >= 0 && hoverIndex != index && hoverIndex < static_cast<int>(controls.size())) {
      controls[static_cast<size_t>(hoverIndex)]->PointerLeft();
    }
    hoverIndex = index;
  }
  return true;
}

void IEditor::DispatchLeave() {
  for (const auto& control : controls) {
    control->PointerLeft();
  }
  hoverIndex = -1;
}
