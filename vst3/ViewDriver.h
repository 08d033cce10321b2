#pragma once

#include "vst3/IVst3Plugin.h"
#include "vst3/Vst3Abi.h"

#include <memory>

// What drives an open editor on this platform. Linux: a 40 ms timer and a handler on the X
// connection's descriptor, registered with the host's run loop (asked of the frame), both
// calling the editor's idle on the host's UI thread: no thread of its own. Windows: nothing, the
// editor window keeps its own timer.
class ViewDriver {
public:
  // The platform's window type for attached().
  static const char* PlatformType();

  ViewDriver();
  ~ViewDriver();
  ViewDriver(const ViewDriver&) = delete;
  ViewDriver& operator=(const ViewDriver&) = delete;

  // False when the platform needs the host's run loop and the frame offers none.
  bool Start(vst3::IPlugFrame* frame, const std::shared_ptr<IVst3Plugin>& plugin);
  // Unregisters everything Start registered; safe to call when nothing was.
  void Stop();

private:
  struct Registration;
  std::unique_ptr<Registration> registration;
};
