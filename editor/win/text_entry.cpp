#include "editor/win/EditorWin.h"

#include "editor/Control.h"
#include "plugin/NumberText.h"
#include "plugin/Parameter.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {
DWORD EntryBoxStyle(int alignment) {
  const DWORD base = WS_CHILD | WS_VISIBLE | ES_MULTILINE;
  switch (alignment) {
  case AlignLeft:
    return base | ES_LEFT;
  case AlignRight:
    return base | ES_RIGHT;
  default:
    return base | ES_CENTER;
  }
}

HFONT EntryFont(const ITextStyle& style) {
  char face[sizeof(style.face)];
  std::memcpy(face, style.face, sizeof(face));
  face[sizeof(face) - 1] = 0;
  return CreateFontA(style.size, 0, 0, 0, style.emphasis == EmphasisBold ? FW_BOLD : 0,
                     style.emphasis == EmphasisItalic, FALSE, FALSE, 0, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, 0, face);
}

bool IsDigitOrSign(signed char c) {
  return (c >= '0' && c <= '9') || c == '-' || c == '+';
}

// The value typed for a parameter, in its real units.
double TypedValue(const IParameter& parameter, const char* text) {
  if (IParameter::ReadsTypedTextAsValueText(parameter.Kind())) {
    int value = 0;
    return parameter.ParseValueText(text, &value) ? value : 0;
  }
  double value = LeadingNumber(text);
  // Free text could spell infinity or not-a-number; neither is a value to set.
  if (!std::isfinite(value)) {
    value = 0.0;
  }
  return parameter.NegateDisplay() ? -value : value;
}
} // namespace

void IEditorWin::OpenTextEntry(IControl* control, const ITextStyle& style, const IBounds& area,
                               const char* text, IParameter* parameter) {
  if (!control || entryBox || !window) {
    return;
  }
  entryBox =
      CreateWindowExA(0, "EDIT", text ? text : "", EntryBoxStyle(style.alignment), area.left,
                      area.top, area.Width() + 1, area.Height() + 1, window,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(EntryBoxId)), instance, nullptr);
  if (!entryBox) {
    return;
  }
  entryFont = EntryFont(style);
  SendMessageA(entryBox, WM_SETFONT, reinterpret_cast<WPARAM>(entryFont), FALSE);
  SendMessageA(entryBox, EM_SETSEL, 0, -1);
  SendMessageA(entryBox, EM_LIMITTEXT, static_cast<WPARAM>(control->TextEntryLimit()), 0);
  // The box takes the focus before its procedure is replaced, so opening leaves the state idle.
  SetFocus(entryBox);
  entryDefaultProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(entryBox, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EntryBoxProc)));
  SetWindowLongPtrA(entryBox, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  entryControl = control;
  entryParam = parameter;
}

LRESULT CALLBACK IEditorWin::EntryBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  IEditorWin* editor = reinterpret_cast<IEditorWin*>(GetWindowLongPtrA(box, GWLP_USERDATA));
  if (!editor || editor->entryBox != box) {
    return DefWindowProcA(box, message, wParam, lParam);
  }
  return editor->HandleEntryBoxMessage(box, message, wParam, lParam);
}

LRESULT IEditorWin::HandleEntryBoxMessage(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_SETFOCUS:
    entryState = EntryFocused;
    break;
  case WM_KILLFOCUS:
    entryState = EntryCancel;
    break;
  case WM_KEYDOWN:
    if (wParam == VK_RETURN) {
      entryState = EntryCommit;
      return 0;
    }
    break;
  case WM_CHAR:
    if (!EntryAccepts(wParam)) {
      return 0;
    }
    break;
  case WM_COMMAND:
    if (HIWORD(wParam) == 1) {
      entryState = EntryCommit;
      return 0;
    }
    break;
  case WM_GETDLGCODE: {
    LRESULT code = CallWindowProcA(entryDefaultProc, box, message, wParam, lParam);
    const MSG* queued = reinterpret_cast<const MSG*>(lParam);
    if (!entryParam && queued && queued->message == WM_KEYDOWN && queued->wParam == VK_RETURN) {
      code |= DLGC_WANTALLKEYS;
    }
    return code;
  }
  default:
    break;
  }
  return CallWindowProcA(entryDefaultProc, box, message, wParam, lParam);
}

bool IEditorWin::EntryAccepts(WPARAM character) const {
  const signed char c = static_cast<signed char>(character & 0xFF);
  if (!entryParam || c == '\b') {
    return true;
  }
  switch (entryParam->Kind()) {
  case IParameter::KindNamedValues:
  case IParameter::KindInteger:
  case IParameter::KindNamedSteps:
    return IsDigitOrSign(c);
  case IParameter::KindContinuous:
    return IsDigitOrSign(c) || c == '.';
  default:
    return true;
  }
}

void IEditorWin::CommitEntry() {
  if (!entryBox || !entryControl) {
    return;
  }
  char text[32] = {};
  SendMessageA(entryBox, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
  if (!entryParam) {
    entryControl->AcceptEnteredText(text);
    return;
  }
  const double normalized = entryParam->ToNormalized(TypedValue(*entryParam, text));
  if (normalized != entryControl->Value()) {
    entryControl->SetValue(normalized);
    entryControl->MarkDirty(true);
    entryControl->RequestRedraw();
  }
}

void IEditorWin::CloseEntry() {
  HWND box = entryBox;
  if (box && entryDefaultProc) {
    SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(entryDefaultProc));
  }
  entryBox = nullptr;
  entryParam = nullptr;
  entryControl = nullptr;
  entryDefaultProc = nullptr;
  entryState = EntryIdle;
  if (box) {
    DestroyWindow(box);
  }
  if (entryFont) {
    DeleteObject(entryFont);
    entryFont = nullptr;
  }
}
