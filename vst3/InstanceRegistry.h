#pragma once

#include "vst3/IVst3Plugin.h"

#include <cstdint>
#include <memory>

// The processors alive in this process, by a number the processor sends its controller through
// the host's connection: the controller shows the processor's editor, whose meters and theme
// image follow the processing. Hosts may put proxies between the two, so a pointer cannot travel
// as an interface; a number that names no live processor links nothing.
namespace InstanceRegistry {
int64_t Add(const std::shared_ptr<IVst3Plugin>& plugin);
void Remove(int64_t number);
std::shared_ptr<IVst3Plugin> Find(int64_t number);
} // namespace InstanceRegistry
