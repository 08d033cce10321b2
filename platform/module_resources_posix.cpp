#include "platform/EmbeddedResources.h"
#include "platform/ModuleResources.h"

#include <strings.h>

bool FindModuleResource(int id, const char* type, const unsigned char** data, std::size_t* size) {
  if (!type || !data || !size) {
    return false;
  }
  // Integer resource names are 16 bits wide on Windows and never 0; matching that keeps both
  // builds alike.
  const int name = id & 0xFFFF;
  if (name == 0) {
    return false;
  }
  const EmbeddedResourceTable table = LinkedResources();
  for (std::size_t i = 0; i < table.count; ++i) {
    const EmbeddedResource& entry = table.entries[i];
    if (entry.id == name && strcasecmp(entry.type, type) == 0) {
      *data = entry.begin;
      *size = static_cast<std::size_t>(entry.end - entry.begin);
      return true;
    }
  }
  return false;
}
