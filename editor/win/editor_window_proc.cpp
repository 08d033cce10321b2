#include "editor/win/EditorWin.h"

#include "editor/Control.h"
#include "editor/win/WindowInput.h"

using namespace window_input;

namespace {
IEditorWin* EditorOf(HWND hwnd) {
  return reinterpret_cast<IEditorWin*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

RECT ToRect(const IBounds& b) {
  return RECT{b.left, b.top, b.right, b.bottom};
}

COLORREF ColourOf(const IArgb& colour) {
  return RGB(colour.red & 0xFF, colour.green & 0xFF, colour.blue & 0xFF);
}
} // namespace

LRESULT CALLBACK IEditorWin::EditorWindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  if (message == WM_CREATE) {
    const CREATESTRUCTA* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    SetTimer(hwnd, RedrawTimerId, TimerPeriod(editorFrameRate), nullptr);
    SetFocus(hwnd);
    return 0;
  }
  IEditorWin* editor = EditorOf(hwnd);
  // Messages that arrive before creation has returned, after detaching, or for another window
  // of the class get the default handling.
  if (!editor || editor->window != hwnd) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
  return editor->HandleMessage(hwnd, message, wParam, lParam);
}

LRESULT IEditorWin::HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  // While the entry box has the focus the editor stays out of the way; a press only marks the
  // entry for cancelling.
  if (entryBox && entryState == EntryFocused) {
    if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN) {
      entryState = EntryCancel;
      return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
  switch (message) {
  case WM_SETFOCUS:
  case WM_KILLFOCUS:
    return 0;
  case WM_PAINT: {
    RECT update{};
    if (GetUpdateRect(hwnd, &update, FALSE)) {
      RedrawRect(IBounds{update.left, update.top, update.right, update.bottom});
      // An editor without controls presents nothing; the region must not stay invalid.
      ValidateRect(hwnd, &update);
    }
    return 0;
  }
  case WM_CLOSE:
    DetachWindow();
    return 0;
  case WM_KEYDOWN:
    return KeyDown(hwnd, wParam, lParam);
  case WM_TIMER:
    if (wParam == RedrawTimerId) {
      RedrawTick(hwnd);
    }
    return 0;
  case WM_CTLCOLOREDIT:
    return EntryColours(reinterpret_cast<HDC>(wParam));
  case WM_MOUSEMOVE:
    if (wParam & (MK_LBUTTON | MK_RBUTTON)) {
      Drag(hwnd, wParam, lParam);
    } else {
      Hover(hwnd, wParam, lParam);
    }
    return 0;
  case WM_LBUTTONDOWN:
  case WM_RBUTTONDOWN:
  case WM_MBUTTONDOWN:
    Press(hwnd, wParam, lParam);
    return 0;
  case WM_LBUTTONUP:
  case WM_RBUTTONUP:
    Release(wParam, lParam);
    return 0;
  case WM_LBUTTONDBLCLK:
    DoubleClick(hwnd, wParam, lParam);
    return 0;
  case WM_MOUSEWHEEL:
    Wheel(hwnd, wParam, lParam);
    return 0;
  case WM_MOUSELEAVE:
    DispatchLeave();
    return 0;
  default:
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

void IEditorWin::RedrawTick(HWND hwnd) {
  if (entryBox && entryState != EntryIdle) {
    switch (entryState) {
    case EntryCancel:
      CloseEntry();
      break;
    case EntryCommit:
      CommitEntry();
      CloseEntry();
      break;
    case EntryRefreshed:
      entryState = EntryIdle;
      break;
    default:
      break;
    }
    return;
  }
  const IBounds dirty = DirtyArea();
  if (dirty.IsEmpty()) {
    return;
  }
  const RECT invalid = ToRect(dirty);
  InvalidateRect(hwnd, &invalid, FALSE);
  if (entryBox && entryControl) {
    // The box covers its control; painting there would draw over it.
    const RECT covered = ToRect(entryControl->Area());
    ValidateRect(hwnd, &covered);
    UpdateWindow(hwnd);
    entryState = EntryRefreshed;
  } else {
    UpdateWindow(hwnd);
  }
}

void IEditorWin::Press(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  if (entryBox) {
    CloseEntry();
    const RECT all{0, 0, width, height};
    InvalidateRect(hwnd, &all, FALSE);
    UpdateWindow(hwnd);
  }
  SetFocus(hwnd);
  SetCapture(hwnd);
  DispatchPress(PointerX(lParam), PointerY(lParam), MouseKeys(wParam));
}

void IEditorWin::Release(WPARAM wParam, LPARAM lParam) {
  ReleaseCapture();
  DispatchRelease(PointerX(lParam), PointerY(lParam), MouseKeys(wParam));
}

void IEditorWin::DoubleClick(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  if (DispatchDoubleClick(PointerX(lParam), PointerY(lParam), MouseKeys(wParam))) {
    SetCapture(hwnd);
  }
}

void IEditorWin::Drag(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  if (GetCapture() != hwnd || entryBox) {
    return;
  }
  DispatchDrag(PointerX(lParam), PointerY(lParam), MouseKeys(wParam));
}

void IEditorWin::Hover(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  if (!DispatchHover(PointerX(lParam), PointerY(lParam), MouseKeys(wParam))) {
    return;
  }
  TRACKMOUSEEVENT track{};
  track.cbSize = sizeof(track);
  track.dwFlags = TME_LEAVE;
  track.hwndTrack = hwnd;
  track.dwHoverTime = HOVER_DEFAULT;
  TrackMouseEvent(&track);
}

void IEditorWin::Wheel(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  if (entryBox) {
    entryState = EntryCancel;
    return;
  }
  // The wheel reports screen coordinates.
  const RECT placed = [hwnd] {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    return rect;
  }();
  const int x = PointerX(lParam) - placed.left;
  const int y = PointerY(lParam) - placed.top;
  DispatchWheel(x, y, MouseKeys(LOWORD(wParam)), WheelNotches(wParam));
}

LRESULT IEditorWin::KeyDown(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  const int code = KeyCode(wParam);
  if (code >= 0) {
    POINT pointer{};
    GetCursorPos(&pointer);
    ScreenToClient(hwnd, &pointer);
    if (DispatchKey(pointer.x, pointer.y, code)) {
      return 0;
    }
  }
  // Keys no control takes keep the host's shortcuts working.
  HWND root = GetAncestor(hwnd, GA_ROOT);
  if (root && root != hwnd) {
    SendMessageA(root, WM_KEYDOWN, wParam, lParam);
  }
  return DefWindowProcA(hwnd, WM_KEYDOWN, wParam, lParam);
}

LRESULT IEditorWin::EntryColours(HDC dc) {
  if (!entryControl) {
    return 0;
  }
  const ITextStyle& style = entryControl->TextStyle();
  SetBkColor(dc, ColourOf(style.entryBackColour));
  SetTextColor(dc, ColourOf(style.entryTextColour));
  SetBkMode(dc, OPAQUE);
  return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
}
