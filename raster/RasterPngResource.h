#pragma once

#include "platform/ModuleResources.h"
#include "raster/RasterMemBitmap.h"

#include <cstddef>
#include <memory>

// Looks up a resource's bytes the way FindModuleResource does.
using RasterResourceFinder = bool (*)(int id, const char* type, const unsigned char** data,
                                      std::size_t* size);

// True when the text after the file name's last '.' is "png" in any case. The search stops at
// the first character, so a name without any '.' is compared from its second character on.
bool RasterNamesPngResource(const char* fileName);

// Decodes the module's resource id of type "PNG" into a new bitmap. The file name plays no part
// in finding the resource; it only has to name a PNG. None for another name, a missing resource,
// one shorter than a PNG signature, or an image that does not decode.
std::unique_ptr<RasterMemBitmap>
RasterLoadPngResource(int id, const char* fileName, RasterResourceFinder find = FindModuleResource);

// The width and height in the header of the module's PNG resource id, read without decoding;
// false for another name, a missing resource or one that does not begin with a PNG header.
bool RasterPngResourceSize(int id, const char* fileName, int* width, int* height,
                           RasterResourceFinder find = FindModuleResource);
