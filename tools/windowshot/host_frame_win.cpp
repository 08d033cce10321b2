#include "tools/windowshot/HostFrame.h"

#include <windows.h>

namespace {
// A captioned top-level window; the editor opens as its child.
class WinFrame : public HostFrame {
public:
  explicit WinFrame(HWND frame) : frame(frame) {}
  ~WinFrame() override { DestroyWindow(frame); }

  void* Parent() override { return frame; }

  void Run(int milliseconds, const std::function<void()>& editorIdle) override {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < static_cast<DWORD>(milliseconds)) {
      MSG message;
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
      editorIdle();
      Sleep(5);
    }
  }

  void Click(int x, int y) override {
    HWND editor = GetWindow(frame, GW_CHILD);
    SendMessageA(editor, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(editor, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }

  std::vector<std::uint32_t> EditorPixels(int* width, int* height) override {
    HWND editor = GetWindow(frame, GW_CHILD);
    RECT placed{};
    GetWindowRect(editor, &placed);
    *width = placed.right - placed.left;
    *height = placed.bottom - placed.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = *width;
    info.bmiHeader.biHeight = -*height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP section = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<std::uint32_t> pixels;
    if (section && bits) {
      HGDIOBJ previous = SelectObject(memory, section);
      BitBlt(memory, 0, 0, *width, *height, screen, placed.left, placed.top, SRCCOPY);
      GdiFlush();
      const auto* words = static_cast<const std::uint32_t*>(bits);
      pixels.assign(words, words + static_cast<std::size_t>(*width) * *height);
      SelectObject(memory, previous);
      DeleteObject(section);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
  }

private:
  HWND frame;
};
} // namespace

std::unique_ptr<HostFrame> HostFrame::Make(int width, int height) {
  WNDCLASSA frameClass{};
  frameClass.lpfnWndProc = DefWindowProcA;
  frameClass.hInstance = GetModuleHandleA(nullptr);
  frameClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  frameClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  frameClass.lpszClassName = "OmbrixWindowShotFrame";
  RegisterClassA(&frameClass);
  RECT outer{0, 0, width, height};
  AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, FALSE);
  HWND frame =
      CreateWindowExA(0, frameClass.lpszClassName, "Ombrix", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20,
                      20, outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                      frameClass.hInstance, nullptr);
  if (!frame) {
    return nullptr;
  }
  return std::make_unique<WinFrame>(frame);
}
