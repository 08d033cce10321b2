#include "vst3/ViewDriver.h"

struct ViewDriver::Registration {};

const char* ViewDriver::PlatformType() {
  return vst3::kPlatformTypeHWND;
}

ViewDriver::ViewDriver() = default;

ViewDriver::~ViewDriver() = default;

// The Windows editor window runs on its own timer inside the host's message loop.
bool ViewDriver::Start(vst3::IPlugFrame*, const std::shared_ptr<IVst3Plugin>&) {
  return true;
}

void ViewDriver::Stop() {}
