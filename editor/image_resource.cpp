#include "editor/ImageResource.h"

#include "platform/ModuleResources.h"
#include "raster/RasterPng.h"

#include <cctype>
#include <cstring>

namespace {
bool NamesPng(const char* fileName) {
  if (!fileName || fileName[0] == '\0') {
    return false;
  }
  size_t dot = std::strlen(fileName) - 1;
  while (dot > 0 && fileName[dot] != '.') {
    --dot;
  }
  const char* extension = fileName + dot + 1;
  const char* png = "png";
  for (int i = 0; i < 3; ++i) {
    if (std::tolower(static_cast<unsigned char>(extension[i])) != png[i]) {
      return false;
    }
  }
  return extension[3] == '\0';
}
} // namespace

std::unique_ptr<RasterBitmap> DecodeImageResource(int id, const char* fileName) {
  if (!NamesPng(fileName)) {
    return nullptr;
  }
  const unsigned char* data = nullptr;
  std::size_t size = 0;
  if (!FindModuleResource(id, "PNG", &data, &size) || size < 8 || !data) {
    return nullptr;
  }
  return RasterDecodePngBytes(data, size);
}
