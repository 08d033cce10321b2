#pragma once

#include "vst3/IVst3Plugin.h"

#include <memory>

// Builds the one effect this library holds. Declared here and defined by the effect, so the
// binding never depends on the effect.
IVst3Plugin* CreateEffect(IVst3Plugin::Host host);

// Under the process-wide creation lock, build the effect and open it; null when no object could
// be made.
std::shared_ptr<IVst3Plugin> CreateVst3Instance();
