#include "WindowTestSupport.h"

namespace {
constexpr const char* kHostClass = "OmbrixTestHostWindow";

std::vector<WPARAM>& RootKeys() {
  static std::vector<WPARAM> keys;
  return keys;
}

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN && !GetParent(hwnd)) {
    RootKeys().push_back(wParam);
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

void RegisterHostClass() {
  WNDCLASSA windowClass{};
  if (GetClassInfoA(GetModuleHandleA(nullptr), kHostClass, &windowClass)) {
    return;
  }
  windowClass.lpfnWndProc = HostProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kHostClass;
  RegisterClassA(&windowClass);
}
} // namespace

HWND HostWindow::Root() {
  static HWND root = [] {
    RegisterHostClass();
    return CreateWindowExA(0, kHostClass, "Host", WS_POPUP | WS_VISIBLE, 0, 0, 1200, 900, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
  }();
  return root;
}

const std::vector<WPARAM>& HostWindow::KeysReceived() {
  return RootKeys();
}

HostWindow::HostWindow(int width, int height, HWND parent) {
  RegisterHostClass();
  RootKeys().clear();
  hwnd = CreateWindowExA(0, kHostClass, "Frame", WS_CHILD | WS_VISIBLE, 10, 10, width, height,
                         parent ? parent : Root(), nullptr, GetModuleHandleA(nullptr), nullptr);
  PumpMessages(20);
}

HostWindow::~HostWindow() {
  if (IsWindow(hwnd)) {
    DestroyWindow(hwnd);
  }
  PumpMessages(5);
}

void PumpMessages(int milliseconds) {
  const DWORD start = GetTickCount();
  do {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(1);
  } while (GetTickCount() - start < static_cast<DWORD>(milliseconds));
}

HWND EditorChild(HWND parent) {
  return FindWindowExA(parent, nullptr, "EditorWndClass", nullptr);
}

RECT PlacementWithin(HWND window, HWND frame) {
  RECT own{};
  RECT outer{};
  GetWindowRect(window, &own);
  GetWindowRect(frame, &outer);
  return RECT{own.left - outer.left, own.top - outer.top, own.right - own.left,
              own.bottom - own.top};
}

LPARAM PointerAt(int x, int y) {
  return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)),
                    static_cast<WORD>(static_cast<short>(y)));
}

std::vector<std::uint32_t> ScreenPixels(HWND window, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(window);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP section = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, section);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  GdiFlush();
  const auto* words = static_cast<const std::uint32_t*>(bits);
  std::vector<std::uint32_t> pixels(words, words + static_cast<std::size_t>(width) * height);
  // The fourth byte is whatever the screen keeps there, not part of the picture.
  for (std::uint32_t& pixel : pixels) {
    pixel &= 0xFFFFFFu;
  }
  SelectObject(memory, previous);
  DeleteObject(section);
  DeleteDC(memory);
  ReleaseDC(window, screen);
  return pixels;
}
