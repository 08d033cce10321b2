#include "editor/win/EditorWin.h"

#include <shellapi.h>
#include <wininet.h>

bool IEditorWin::OpenLink(const char* address, const char* title, const char* confirmText,
                          const char* failureText) {
  if (confirmText && MessageBoxA(window, confirmText, title, MB_YESNO) != IDYES) {
    return false;
  }
  // Offline there is no point in starting a browser.
  DWORD connection = 0;
  if (address && address[0] != '\0' && InternetGetConnectedState(&connection, 0)) {
    const HINSTANCE started =
        ShellExecuteA(window, "open", address, nullptr, nullptr, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(started) > 32) {
      return true;
    }
  }
  if (failureText) {
    MessageBoxA(window, failureText, title, MB_OK);
  }
  return false;
}
