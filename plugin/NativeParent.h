#pragma once

#include <cstdint>

// The window system a host's parent window belongs to.
enum class WindowApi { Win32, X11 };

// The window a host gives the editor to open in, with what the window system needs to reach it.
struct INativeParent {
  WindowApi api = WindowApi::X11;
  // Win32: the parent HWND.
  void* hwnd = nullptr;
  // X11: the parent's window id, and the display it lives on (null: the one DISPLAY names).
  unsigned long x11Window = 0;
  const char* x11Display = nullptr;
};

// The parent in the form the VST 2 editor-open call hands it over on this platform (an HWND on
// Windows, an X window id in the pointer elsewhere).
INativeParent NativeParentFromPointer(void* parent);
