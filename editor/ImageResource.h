#pragma once

#include "raster/RasterBitmap.h"

#include <memory>

// Decodes the PNG resource id of the module (type "PNG"). The file name only has to end in
// "png" (any case): the text after its last '.' is compared, searching back no further than
// its second character. None for another name, a missing or short resource or a bad image.
std::unique_ptr<RasterBitmap> DecodeImageResource(int id, const char* fileName);
