#include "raster/RasterFileOpen.h"

std::FILE* RasterOpenFileForReading(const char* fileName) {
  return std::fopen(fileName, "rb");
}
