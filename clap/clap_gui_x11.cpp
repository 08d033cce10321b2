#include "clap/ClapWindowSystem.h"
#include "clap/IClapPlugin.h"

namespace {
// The editor's redraw tick: 25 frames a second.
constexpr uint32_t EditorTickMs = 40;
} // namespace

const char* ClapWindowApi() {
  return Clap::WindowApiX11;
}

// The host gives only its window id; the editor opens its own connection to the display.
INativeParent ClapParentOf(const clap_window& window) {
  INativeParent parent;
  parent.api = WindowApi::X11;
  parent.x11Window = window.x11;
  return parent;
}

// The X11 editor has no thread of its own: the host's timer must drive it.
bool IClapPlugin::HostCanDriveEditor() const {
  const clap_host_timer_support* timers = hostExtensions.timers;
  return timers && timers->register_timer && timers->unregister_timer;
}

// The timer ticks the redraw; the connection's descriptor brings input between ticks, where the
// host watches descriptors.
bool IClapPlugin::StartEditorDrive() {
  const clap_host_timer_support* timers = hostExtensions.timers;
  clap_id timer = Clap::InvalidId;
  if (!timers || !timers->register_timer(host, EditorTickMs, &timer)) {
    return false;
  }
  timerId = timer;
  const clap_host_posix_fd_support* descriptors = hostExtensions.descriptors;
  const int descriptor = EditorEventDescriptor();
  if (descriptors && descriptors->register_fd && descriptor >= 0 &&
      descriptors->register_fd(host, descriptor, Clap::FdRead)) {
    watchedDescriptor = descriptor;
  }
  return true;
}

void IClapPlugin::StopEditorDrive() {
  if (timerId != Clap::InvalidId && hostExtensions.timers) {
    hostExtensions.timers->unregister_timer(host, timerId);
  }
  timerId = Clap::InvalidId;
  const clap_host_posix_fd_support* descriptors = hostExtensions.descriptors;
  if (watchedDescriptor >= 0 && descriptors && descriptors->unregister_fd) {
    descriptors->unregister_fd(host, watchedDescriptor);
  }
  watchedDescriptor = -1;
}
