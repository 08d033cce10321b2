#pragma once

#include "editor/OffscreenEditor.h"
#include "editor/x11/X11Input.h"

#include <atomic>
#include <bitset>
#include <chrono>
#include <memory>
#include <string>

class X11Window;
union _XEvent;

// The Linux (X11) form of the editor: one child window of the host's window, on a connection of
// its own, driven entirely from the host's periodic Idle() call on its user-interface thread (no
// thread of its own). Each idle drains the window's events, runs the redraw tick when it is due,
// paints what was exposed or redrawn and waits until the server has it. Attach, idle, keys and
// detach come from that one thread; drawing reads the controls' values through their atomics.
// The parent is an X window id with the display it lives on, so any binding can use it.
// Alerts, menus, text entry and the file and colour dialogs are idle in this system (no control
// asks for them): as in the off-screen editor, they answer none or false here.
class IEditorX11 : public IOffscreenEditor {
public:
  IEditorX11(IAudioPlugin* plugin, int width, int height, int frameRate);
  ~IEditorX11() override;

  bool PresentRect(const IBounds& rect) override;
  bool HasWindow() override { return attached.load(std::memory_order_acquire); }
  // The host program's folder and the plug-in library's, each with a trailing slash.
  void HostDirectory(std::string* directory) override;
  void ModuleDirectory(std::string* directory) override;
  // The user's desktop from the XDG settings (XDG_DESKTOP_DIR, else ~/Desktop).
  void DesktopDirectory(std::string* directory) override;
  // Starts xdg-open with the address as its one argument, without a shell and without waiting
  // for it. With a confirm text it opens nothing: there is no dialog to ask with.
  bool OpenLink(const char* address, const char* title, const char* confirmText,
                const char* failureText) override;
  // parent: the X window id. Reopening while open keeps the window's offset and size.
  void* AttachWindow(void* parent) override;
  void* OpenWindow(const INativeParent& parent) override;
  int EventDescriptor() const override;
  // Linux VST 2 hosts tell no scale: the desktop's Xft.dpi over 96 is taken, the scale the
  // user chose for every program on the screen; a server without it gives 1.
  void FollowSystemScale(const INativeParent* parent) override;
  void DetachWindow() override;
  void* NativeWindow() override;

  void Idle() override;
  bool HostKey(int virtualKey, bool down) override;

protected:
  void ResizeWindow(int width, int height) override;

private:
  // Returns false once the window has been destroyed under us.
  bool HandleEvent(const _XEvent& event);
  void Press(int x, int y, unsigned state, unsigned button, unsigned long time);
  void Release(int x, int y, unsigned state, unsigned button);
  void Motion(int x, int y, unsigned state);
  bool TickDue();

  std::unique_ptr<X11Window> window;
  std::atomic<bool> attached{false};
  bool idling = false;
  bool detachRequested = false;
  IBounds exposed;
  // Set by a press in the window, cleared by the release: drags go to the editor only then.
  bool pointerCaptured = false;
  x11_input::DoubleClickDetector doubleClicks;
  std::chrono::steady_clock::time_point nextTick;
  // Keys whose press a control took; their release is the editor's too.
  std::bitset<64> keysTaken;
};
