#pragma once

#include <cstddef>

// Finds resource `id` of type `type` (the editor's pictures use "PNG") in the module that
// contains this code: the plug-in library, or the program a test links it into. Windows
// searches the module's resources by the id's low 16 bits, as integer resource names are; the
// type name is compared without regard to case. Linux searches the pictures linked into the
// module (resources/) by the same rules. On success *data and *size describe bytes that stay
// valid while the module is loaded; otherwise false and both are left unchanged.
bool FindModuleResource(int id, const char* type, const unsigned char** data, std::size_t* size);
