#pragma once

#include <cstddef>

using ResourceFinder = bool (*)(int id, const char* type, const unsigned char** data,
                                std::size_t* size);

// Loads the resource probe module and returns its FindModuleResource, or null.
ResourceFinder LoadResourceProbe();
