#pragma once

#include <cstddef>

// Resources linked into a Linux module, the counterpart of a Windows module's resource section.
// The module's resource object (resources/) defines LinkedResources(); FindModuleResource
// searches it.
struct EmbeddedResource {
  int id;
  const char* type;
  const unsigned char* begin;
  const unsigned char* end;
};

struct EmbeddedResourceTable {
  const EmbeddedResource* entries;
  std::size_t count;
};

EmbeddedResourceTable LinkedResources();
