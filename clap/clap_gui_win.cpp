#include "clap/ClapWindowSystem.h"
#include "clap/IClapPlugin.h"

const char* ClapWindowApi() {
  return Clap::WindowApiWin32;
}

INativeParent ClapParentOf(const clap_window& window) {
  INativeParent parent;
  parent.api = WindowApi::Win32;
  parent.hwnd = window.win32;
  return parent;
}

// The Windows editor window runs on the host's message loop with a timer of its own.
bool IClapPlugin::HostCanDriveEditor() const {
  return true;
}

bool IClapPlugin::StartEditorDrive() {
  return true;
}

void IClapPlugin::StopEditorDrive() {}
