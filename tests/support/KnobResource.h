#pragma once

#include "platform/ModuleResources.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The editor's knob strip as the library embeds it, for tests that read it directly.
constexpr int KnobResourceId = 101;
constexpr int KnobFrameCount = 480;

// A copy of the strip's PNG bytes; empty when the library holds no such resource.
inline std::vector<std::uint8_t> KnobResourceBytes() {
  const unsigned char* data = nullptr;
  std::size_t size = 0;
  if (!FindModuleResource(KnobResourceId, "PNG", &data, &size)) {
    return {};
  }
  return {data, data + size};
}
