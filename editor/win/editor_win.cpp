#include "editor/win/EditorWin.h"

#include "editor/Control.h"
#include "editor/win/WindowInput.h"
#include "platform/DebugPrint.h"
#include "plugin/AudioPlugin.h"
#include "raster/RasterPngResource.h"
#include "raster/RasterSysBitmap.h"

namespace {
constexpr const char* kWindowClassName = "EditorWndClass";

// The module holding this code: the plug-in library inside a host.
HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&ThisModule), &module);
  return module;
}

constexpr int UnscaledDotsPerInch = 96;

// The dots per inch of the screen the window is on, as the system shows it to this process.
// GetDpiForWindow came with Windows 10 (1607); before it, and without a window, the system's.
int WindowDotsPerInch(HWND window) {
  using DpiForWindow = UINT(WINAPI*)(HWND);
  HMODULE user = GetModuleHandleA("user32.dll");
  FARPROC found = user ? GetProcAddress(user, "GetDpiForWindow") : nullptr;
  if (window && found && IsWindow(window)) {
    const UINT dpi = reinterpret_cast<DpiForWindow>(reinterpret_cast<void*>(found))(window);
    if (dpi > 0) {
      return static_cast<int>(dpi);
    }
  }
  HDC screen = GetDC(nullptr);
  if (!screen) {
    return UnscaledDotsPerInch;
  }
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : UnscaledDotsPerInch;
}

RECT WindowRect(HWND hwnd) {
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  return rect;
}

// A window that is a child (and not an MDI child) lives inside a frame that follows its size.
bool IsFramedChild(HWND hwnd) {
  return (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) &&
         !(GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_MDICHILD);
}

void GrowWindow(HWND hwnd, const RECT& rect, int dw, int dh) {
  SetWindowPos(hwnd, nullptr, 0, 0, rect.right - rect.left + dw, rect.bottom - rect.top + dh,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
} // namespace

int IEditorWin::windowClassUsers = 0;
double IEditorWin::editorFrameRate = 0.0;

IEditorWin::IEditorWin(IAudioPlugin* plugin, int width, int height, int frameRate)
    : IEditor(plugin, width, height, frameRate), instance(ThisModule()) {}

IEditorWin::~IEditorWin() {
  DetachWindow();
}

int IEditorWin::WindowClassUsers() {
  return windowClassUsers;
}

void* IEditorWin::OpenWindow(const INativeParent& parent) {
  return parent.api == WindowApi::Win32 ? AttachWindow(parent.hwnd) : nullptr;
}

void* IEditorWin::AttachWindow(void* parent) {
  parentWindow = static_cast<HWND>(parent);
  int x = 0;
  int y = 0;
  int w = Width();
  int h = Height();
  if (window) {
    // The offset within the old parent's client area, which the new parent's client area keeps.
    const RECT old = WindowRect(window);
    POINT corner{old.left, old.top};
    ScreenToClient(GetParent(window), &corner);
    x = corner.x;
    y = corner.y;
    w = old.right - old.left;
    h = old.bottom - old.top;
    DetachWindow();
  }
  if (windowClassUsers++ == 0) {
    WNDCLASSA windowClass{};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = EditorWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kWindowClassName;
    RegisterClassA(&windowClass);
  }
  editorFrameRate = frameRate;
  window = CreateWindowExA(0, kWindowClassName, "Editor", WS_CHILD | WS_VISIBLE, x, y, w, h,
                           parentWindow, nullptr, instance, this);
  if (!window) {
    --windowClassUsers;
    UnregisterClassWhenUnused();
    return nullptr;
  }
  MarkAllDirty();
  return window;
}

void IEditorWin::DetachWindow() {
  if (!window) {
    return;
  }
  // A box still open goes with the window; its fields must not outlive it.
  if (entryBox) {
    CloseEntry();
  }
  HWND closing = window;
  window = nullptr;
  DestroyWindow(closing);
  --windowClassUsers;
  UnregisterClassWhenUnused();
}

void IEditorWin::UnregisterClassWhenUnused() {
  if (windowClassUsers == 0) {
    UnregisterClassA(kWindowClassName, instance);
  }
}

bool IEditorWin::PresentRect(const IBounds& rect) {
  HWND hwnd = window;
  // A redraw without a window (an off-screen snapshot) has nowhere to go.
  if (!hwnd) {
    return true;
  }
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(hwnd, &paint);
  RasterSysBitmap* bitmap = DrawBitmap();
  if (dc && bitmap && bitmap->DeviceContext()) {
    BitBlt(dc, rect.left, rect.top, rect.Width(), rect.Height(),
           static_cast<HDC>(bitmap->DeviceContext()), rect.left, rect.top, SRCCOPY);
  }
  EndPaint(hwnd, &paint);
  return true;
}

void IEditorWin::DismissTextEntry() {
  entryState = EntryCancel;
}

bool IEditorWin::HasWindow() {
  return window != nullptr;
}

void IEditorWin::FollowSystemScale(const INativeParent* parent) {
  HWND window =
      parent && parent->api == WindowApi::Win32 ? static_cast<HWND>(parent->hwnd) : nullptr;
  SetScale(editor_scale::FromDotsPerInch(WindowDotsPerInch(window)));
}

void IEditorWin::ResizeWindow(int newWidth, int newHeight) {
  if (window) {
    SetWindowPos(window, nullptr, 0, 0, newWidth, newHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window, nullptr, FALSE);
  }
}

void IEditorWin::SetEditorSize(int newWidth, int newHeight) {
  if (newWidth == width && newHeight == height) {
    return;
  }
  // The controls go; an entry box must not keep pointing at one.
  if (entryBox) {
    CloseEntry();
  }
  const int dw = newWidth - width;
  const int dh = newHeight - height;
  IEditor::SetEditorSize(newWidth, newHeight);
  if (!window) {
    return;
  }
  const RECT own = WindowRect(window);
  HWND frame = IsFramedChild(window) ? GetParent(window) : nullptr;
  HWND outer = frame && IsFramedChild(frame) ? GetParent(frame) : nullptr;
  const RECT frameRect = frame ? WindowRect(frame) : RECT{};
  const RECT outerRect = outer ? WindowRect(outer) : RECT{};
  GrowWindow(window, own, dw, dh);
  if (!plugin || !plugin->HostResizesEditorFrame()) {
    if (frame) {
      GrowWindow(frame, frameRect, dw, dh);
    }
    if (outer) {
      GrowWindow(outer, outerRect, dw, dh);
    }
  }
  const RECT all{0, 0, width, height};
  InvalidateRect(window, &all, FALSE);
}

HWND IEditorWin::HostMainWindow() {
  if (hostMainWindow) {
    return hostMainWindow;
  }
  if (parentWindow) {
    HWND top = parentWindow;
    while (HWND up = GetParent(top)) {
      top = up;
    }
    hostMainWindow = top;
    char name[128] = {};
    GetClassNameA(top, name, sizeof(name));
    hostClassName = name;
    return hostMainWindow;
  }
  if (!hostClassName.empty()) {
    processId = GetCurrentProcessId();
    EnumWindows(MatchHostWindow, reinterpret_cast<LPARAM>(this));
  }
  return hostMainWindow;
}

BOOL CALLBACK IEditorWin::MatchHostWindow(HWND candidate, LPARAM editorAddress) {
  IEditorWin* editor = reinterpret_cast<IEditorWin*>(editorAddress);
  DWORD owner = 0;
  GetWindowThreadProcessId(candidate, &owner);
  char name[128] = {};
  GetClassNameA(candidate, name, sizeof(name));
  if (owner == editor->processId && editor->hostClassName == name) {
    editor->hostMainWindow = candidate;
    return FALSE;
  }
  return TRUE;
}

void IEditorWin::SetHostWindowOpacity(int alpha) {
  HWND host = HostMainWindow();
  if (!host) {
    return;
  }
  SetWindowLongA(host, GWL_EXSTYLE, GetWindowLongA(host, GWL_EXSTYLE) | WS_EX_LAYERED);
  SetLayeredWindowAttributes(host, 0, static_cast<BYTE>(alpha), LWA_ALPHA);
  DebugPrint("Host window opacity set to %d", alpha);
}

void IEditorWin::HidePointer() {
  if (pointerHidden) {
    return;
  }
  POINT position{};
  GetCursorPos(&position);
  hiddenPointerX = position.x;
  hiddenPointerY = position.y;
  ShowCursor(FALSE);
  pointerHidden = true;
}

void IEditorWin::RestorePointer() {
  if (!pointerHidden) {
    return;
  }
  SetCursorPos(hiddenPointerX, hiddenPointerY);
  ShowCursor(TRUE);
  pointerHidden = false;
}

std::unique_ptr<RasterBitmap> IEditorWin::LoadImageResource(int id, const char* fileName) {
  return RasterLoadPngResource(id, fileName);
}
