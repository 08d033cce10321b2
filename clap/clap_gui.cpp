#include "clap/ClapWindowSystem.h"
#include "clap/IClapPlugin.h"

#include <cstring>

// The editor lives inside the host's window (no floating window): created, given its parent,
// shown and hidden on the main thread. The window opens at set_parent or show, whichever comes
// first once both create and a parent came (hosts differ in the order); hide closes it and show
// opens it again, so nothing of it lives while hidden.
bool IClapPlugin::GuiApiSupported(const char* api, bool floating) const {
  return !floating && api && std::strcmp(api, ClapWindowApi()) == 0;
}

bool IClapPlugin::GuiCreate(const char* api, bool floating) {
  ExpectMainThread();
  if (guiCreated || !GuiApiSupported(api, floating) || !Editor() || !HostCanDriveEditor()) {
    return false;
  }
  guiCreated = true;
  return true;
}

// Leaves nothing behind: the window, the host's timer and descriptor watch.
void IClapPlugin::GuiDestroy() {
  ExpectMainThread();
  GuiHide();
  guiCreated = false;
  parentKnown = false;
}

// The editor draws at the nearest scale it has (1 to 2); an open window asks the host for its
// new size. A scale that is not a positive number is refused.
bool IClapPlugin::GuiSetScale(double scale) {
  ExpectMainThread();
  if (!guiCreated || !(scale > 0.0)) {
    return false;
  }
  SetEditorScale(scale);
  return true;
}

bool IClapPlugin::GuiSize(uint32_t* width, uint32_t* height) {
  IAttachedEditor* attached = Editor();
  if (!guiCreated || !attached || !width || !height) {
    return false;
  }
  *width = static_cast<uint32_t>(attached->Width());
  *height = static_cast<uint32_t>(attached->Height());
  return true;
}

// The picture has one size: only that size is accepted.
bool IClapPlugin::GuiSetSize(uint32_t width, uint32_t height) {
  uint32_t fixedWidth = 0;
  uint32_t fixedHeight = 0;
  return GuiSize(&fixedWidth, &fixedHeight) && width == fixedWidth && height == fixedHeight;
}

bool IClapPlugin::GuiSetParent(const clap_window* window) {
  ExpectMainThread();
  if (!guiCreated || !window || !window->api || std::strcmp(window->api, ClapWindowApi()) != 0) {
    return false;
  }
  GuiHide();
  parent = ClapParentOf(*window);
  parentKnown = true;
  return GuiShow();
}

bool IClapPlugin::GuiShow() {
  ExpectMainThread();
  if (!guiCreated || !parentKnown) {
    return false;
  }
  if (windowOpen) {
    return true;
  }
  if (!OpenEditor(parent)) {
    Log(Clap::LogError, "Ombrix: the editor could not open in the host's window.");
    return false;
  }
  windowOpen = true;
  if (!StartEditorDrive()) {
    GuiHide();
    Log(Clap::LogError, "Ombrix: the host refused the editor's timer.");
    return false;
  }
  return true;
}

bool IClapPlugin::GuiHide() {
  ExpectMainThread();
  if (windowOpen) {
    StopEditorDrive();
    CloseEditor();
    windowOpen = false;
  }
  return guiCreated;
}

void IClapPlugin::GuiTimer(clap_id timer) {
  if (windowOpen && timer == timerId) {
    IdleEditor();
  }
}

void IClapPlugin::GuiDescriptorReady(int descriptor) {
  if (windowOpen && descriptor == watchedDescriptor) {
    IdleEditor();
  }
}
