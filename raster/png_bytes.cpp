#include "raster/PngDecoder.h"
#include "raster/RasterPng.h"

#include <cstring>

std::unique_ptr<RasterMemBitmap> RasterDecodePngBytes(const unsigned char* data, std::size_t size) {
  static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (!data || size < 8 || std::memcmp(data, kSignature, 8) != 0) {
    return nullptr;
  }
  PngInput input;
  input.data = data;
  input.size = size;
  std::unique_ptr<RasterMemBitmap> made;
  DecodePng(input, nullptr, made);
  return made;
}
