// A module that carries the pictures, for a program that carries none to load.
#include "platform/ModuleResources.h"

extern "C" bool ProbeFindModuleResource(int id, const char* type, const unsigned char** data,
                                        std::size_t* size) {
  return FindModuleResource(id, type, data, size);
}
