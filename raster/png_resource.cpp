#include "raster/RasterPng.h"
#include "raster/RasterPngResource.h"

#include <cctype>
#include <cstring>

bool RasterNamesPngResource(const char* fileName) {
  if (!fileName || fileName[0] == '\0') {
    return false;
  }
  const char* dot = fileName + std::strlen(fileName) - 1;
  while (dot > fileName && *dot != '.') {
    --dot;
  }
  const char* text = dot + 1;
  const char* png = "png";
  for (int i = 0; i < 3; ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != png[i]) {
      return false;
    }
  }
  return text[3] == '\0';
}

std::unique_ptr<RasterMemBitmap> RasterLoadPngResource(int id, const char* fileName,
                                                       RasterResourceFinder find) {
  if (!RasterNamesPngResource(fileName)) {
    return nullptr;
  }
  const unsigned char* data = nullptr;
  std::size_t size = 0;
  if (!find(id, "PNG", &data, &size) || size < 8 || !data) {
    return nullptr;
  }
  return RasterDecodePngBytes(data, size);
}
