#include "editor/Control.h"
#include "editor/Editor.h"
#include "plugin/AudioPlugin.h"

using editor_scale::ToEditor;

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
  const int ex = ToEditor(x, scale);
  const int ey = ToEditor(y, scale);
  const int index = ControlIndexAt(ex, ey, false);
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
  control->PointerDown(ex, ey, keys);
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
  controls[static_cast<size_t>(capturedIndex)]->PointerDrag(ToEditor(x, scale), ToEditor(y, scale),
                                                            dx, dy, keys);
}

void IEditor::DispatchRelease(int x, int y, const IMouseKeys& keys) {
  const int ex = ToEditor(x, scale);
  const int ey = ToEditor(y, scale);
  const int index = ControlIndexAt(ex, ey, false);
  ResetCapture();
  if (index < 0) {
    return;
  }
  IControl* control = controls[static_cast<size_t>(index)].get();
  control->PointerUp(ex, ey, keys);
  if (plugin && control->ParamIndex() >= 0) {
    plugin->EndHostEdit(control->ParamIndex());
  }
}

bool IEditor::DispatchDoubleClick(int x, int y, const IMouseKeys& keys) {
  ResetCapture();
  const int ex = ToEditor(x, scale);
  const int ey = ToEditor(y, scale);
  const int index = ControlIndexAt(ex, ey, false);
  if (index < 0) {
    return false;
  }
  IControl* control = controls[static_cast<size_t>(index)].get();
  if (control->DoubleClickAsPress()) {
    capturedIndex = index;
    lastPointerX = x;
    lastPointerY = y;
    control->PointerDown(ex, ey, keys);
    return true;
  }
  control->PointerDoubleClick(ex, ey, keys);
  return false;
}

void IEditor::DispatchWheel(int x, int y, const IMouseKeys& keys, int notches) {
  const int ex = ToEditor(x, scale);
  const int ey = ToEditor(y, scale);
  const int index = ControlIndexAt(ex, ey, false);
  if (index >= 0) {
    controls[static_cast<size_t>(index)]->WheelTurned(ex, ey, keys, notches);
  }
}

bool IEditor::DispatchKey(int x, int y, int key) {
  const int ex = ToEditor(x, scale);
  const int ey = ToEditor(y, scale);
  const int index = ControlIndexAt(ex, ey, false);
  // The background at index 0 never takes keys.
  IControl* target = index >= 1 ? controls[static_cast<size_t>(index)].get() : keyTarget.get();
  return target && target->KeyPressed(ex, ey, key);
}

bool IEditor::DispatchHover(int x, int y, const IMouseKeys& keys) {
  if (!hoverTracking) {
    return false;
  }
  const int ex = ToEditor(x, scale);
  const int ey = ToEditor(y, scale);
  const int index = ControlIndexAt(ex, ey, true);
  if (index >= 0) {
    lastPointerX = x;
    lastPointerY = y;
    controls[static_cast<size_t>(index)]->PointerOver(ex, ey, keys);
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
