#include "raster/PngDecoder.h"
#include "raster/RasterFileOpen.h"
#include "raster/RasterImageReader.h"
#include "raster/RasterPng.h"

#include <cctype>
#include <cstring>

namespace {
// The text from the last '.', '/' or '\' on (searching back, stopping at the first character)
// must be ".png" in any case.
bool HasPngExtension(const char* fileName) {
  const std::size_t length = std::strlen(fileName);
  if (length == 0) {
    return false;
  }
  const char* mark = fileName + length - 1;
  while (mark > fileName && *mark != '.' && *mark != '/' && *mark != '\\') {
    --mark;
  }
  const char* expected = ".png";
  for (; *mark && *expected; ++mark, ++expected) {
    if (std::tolower(static_cast<unsigned char>(*mark)) != *expected) {
      return false;
    }
  }
  return *mark == '\0' && *expected == '\0';
}

// Static data: the chain holds the PNG reader before any dynamic initialisation runs.
RasterImageReader pngReader{RasterReadPngFile, RasterPngTypeLabel, nullptr};
} // namespace

RasterImageReader* RasterFirstImageReader() {
  return &pngReader;
}

const char* RasterPngTypeLabel() {
  return "PNG files (*.PNG)";
}

RasterBitmap* RasterReadPngFile(const char* fileName, bool checkExtension, RasterBitmap* fill) {
  if (!fileName || (checkExtension && !HasPngExtension(fileName))) {
    return nullptr;
  }
  std::FILE* file = RasterOpenFileForReading(fileName);
  if (!file) {
    return nullptr;
  }
  PngInput input;
  input.file = file;
  std::unique_ptr<RasterMemBitmap> made;
  RasterBitmap* decoded = DecodePng(input, fill, made);
  std::fclose(file);
  if (made) {
    return made.release();
  }
  return decoded;
}
