#include "raster/RasterPng.h"
#include "raster/RasterPngResource.h"

#include "raster/PngBytes.h"

#include <cctype>
#include <cstdint>
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

namespace {
// The signature, then the first chunk, which must be the header: length 13, "IHDR", width and
// height as big-endian 32-bit numbers.
constexpr std::size_t kHeaderEnd = 24;
const unsigned char kPngStart[16] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A,
                                     0,    0,   0,   13,  'I',  'H',  'D',  'R'};
} // namespace

bool RasterPngResourceSize(int id, const char* fileName, int* width, int* height,
                           RasterResourceFinder find) {
  if (!RasterNamesPngResource(fileName)) {
    return false;
  }
  const unsigned char* data = nullptr;
  std::size_t size = 0;
  if (!find(id, "PNG", &data, &size) || !data || size < kHeaderEnd ||
      std::memcmp(data, kPngStart, sizeof kPngStart) != 0) {
    return false;
  }
  const std::uint32_t w = PngNumber(data + 16);
  const std::uint32_t h = PngNumber(data + 20);
  // libpng refuses sizes beyond 2^31 - 1 too.
  if (w == 0 || h == 0 || w > 0x7FFFFFFFu || h > 0x7FFFFFFFu) {
    return false;
  }
  *width = static_cast<int>(w);
  *height = static_cast<int>(h);
  return true;
}
