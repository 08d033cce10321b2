#include "WindowTestSupport.h"

#include "tests/vst2/TestHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

// The built plug-in under a system DPI of 192 (200 %). VST 2 carries no scale, so the editor
// takes the DPI of the host's window. Windows reads the system DPI when a process starts: the
// test sets it in the prefix's registry, runs itself again and puts the old values back (every
// Wine test program takes its turn on the one desktop, so no other sees the change).
namespace {
constexpr DWORD HighDotsPerInch = 192;
constexpr int Scale = 2;
constexpr int Width = 560;
constexpr int Height = 400;
constexpr int kParamAmount = 0;
constexpr int kParamThemeEnabled = 1;
const POINT kThemeButton{457, 38};
const POINT kKnob{280, 200};
constexpr int DragUp = -40;
constexpr double KnobTravelPerPixel = 1.0 / (191 * 4.0);
constexpr char RunningAtHighDpi[] = "OMBRIX_TEST_AT_192_DPI";

struct DpiSetting {
  HKEY root;
  const char* key;
};
// Where Windows and Wine keep the system DPI.
const DpiSetting DpiSettings[] = {{HKEY_CURRENT_CONFIG, "Software\\Fonts"},
                                  {HKEY_CURRENT_USER, "Control Panel\\Desktop"}};

// Sets LogPixels where each setting lives; returns the values there before (0: none).
std::vector<DWORD> SetSystemDpi(const std::vector<DWORD>& values) {
  std::vector<DWORD> before;
  for (size_t i = 0; i < std::size(DpiSettings); ++i) {
    HKEY key = nullptr;
    DWORD old = 0;
    if (RegCreateKeyExA(DpiSettings[i].root, DpiSettings[i].key, 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
      before.push_back(0);
      continue;
    }
    DWORD size = sizeof(old);
    if (RegQueryValueExA(key, "LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&old),
                         &size) != ERROR_SUCCESS) {
      old = 0;
    }
    before.push_back(old);
    if (values[i] == 0) {
      RegDeleteValueA(key, "LogPixels");
    } else {
      RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&values[i]),
                     sizeof(DWORD));
    }
    RegCloseKey(key);
  }
  return before;
}

int SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

// This test once more in a new process, with the marker set; its exit status.
DWORD RunAgain() {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string command = std::string("\"") + self + "\" --gtest_filter=HighDpiHost.*";
  SetEnvironmentVariableA(RunningAtHighDpi, "1");
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  DWORD status = 1;
  if (CreateProcessA(self, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                     &process)) {
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  SetEnvironmentVariableA(RunningAtHighDpi, nullptr);
  return status;
}

LPARAM At(POINT p) {
  return PointerAt(p.x * Scale, p.y * Scale);
}
} // namespace

TEST(HighDpiHost, TheEditorOpensAtTwiceTheSizeAndThePointerFindsItsControls) {
  if (!GetEnvironmentVariableA(RunningAtHighDpi, nullptr, 0)) {
    const std::vector<DWORD> before = SetSystemDpi({HighDotsPerInch, HighDotsPerInch});
    const DWORD status = RunAgain();
    SetSystemDpi(before);
    EXPECT_EQ(status, 0u) << "the test at 192 DPI failed (its output is above)";
    return;
  }
  ASSERT_EQ(SystemDpi(), static_cast<int>(HighDotsPerInch));
  TestHost host;
  host.Start(512);
  HostWindow frame(Width * Scale + 20, Height * Scale + 20);
  ERect* rect = nullptr;
  ASSERT_EQ(host.Dispatch(effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->right - rect->left, Width * Scale);
  EXPECT_EQ(rect->bottom - rect->top, Height * Scale);
  ASSERT_EQ(host.Dispatch(effEditOpen, 0, 0, frame.Handle()), 1);
  HWND editor = EditorChild(frame.Handle());
  ASSERT_NE(editor, nullptr);
  PumpMessages(150);
  RECT client{};
  GetClientRect(editor, &client);
  EXPECT_EQ(client.right, Width * Scale);
  EXPECT_EQ(client.bottom, Height * Scale);

  // Painted at full resolution: the title's edges are a window pixel sharp, which a picture
  // stretched from 1x never is. Read back along a row through the title.
  HDC dc = GetDC(editor);
  int steep = 0;
  for (int x = 40 * Scale; x < 200 * Scale; ++x) {
    const COLORREF a = GetPixel(dc, x, 40 * Scale);
    const COLORREF b = GetPixel(dc, x + 1, 40 * Scale);
    steep += std::abs(static_cast<int>(GetGValue(a)) - static_cast<int>(GetGValue(b))) > 120;
  }
  ReleaseDC(editor, dc);
  EXPECT_GT(steep, 8);

  // The theme switch and the knob answer where they are drawn, the knob geared to the scale.
  const float theme = host.effect->getParameter(host.effect, kParamThemeEnabled);
  SendMessageA(editor, WM_LBUTTONDOWN, MK_LBUTTON, At(kThemeButton));
  SendMessageA(editor, WM_LBUTTONUP, 0, At(kThemeButton));
  EXPECT_NE(host.effect->getParameter(host.effect, kParamThemeEnabled), theme);
  const float amount = host.effect->getParameter(host.effect, kParamAmount);
  SendMessageA(editor, WM_LBUTTONDOWN, MK_LBUTTON, At(kKnob));
  SendMessageA(editor, WM_MOUSEMOVE, MK_LBUTTON,
               PointerAt(kKnob.x * Scale, (kKnob.y + DragUp) * Scale));
  SendMessageA(editor, WM_LBUTTONUP, 0, PointerAt(kKnob.x * Scale, (kKnob.y + DragUp) * Scale));
  EXPECT_NEAR(host.effect->getParameter(host.effect, kParamAmount) - amount,
              -DragUp * KnobTravelPerPixel, 1e-4);
  host.Dispatch(effEditClose);
}
