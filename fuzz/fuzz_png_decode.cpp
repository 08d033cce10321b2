// RasterDecodePngBytes with bytes from the fuzzer: what it accepts must be a bitmap whose
// every pixel can be read.
#include "fuzz/FuzzCheck.h"
#include "raster/RasterPng.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A copy of exactly size bytes, so a read past the end is caught.
  const std::vector<uint8_t> copy(data, data + size);
  const std::unique_ptr<RasterMemBitmap> bitmap = RasterDecodePngBytes(copy.data(), copy.size());
  if (!bitmap) {
    return 0;
  }
  FuzzCheck(bitmap->Width() > 0 && bitmap->Height() > 0, "a decoded image has pixels");
  volatile uint32_t sum = 0;
  for (int y = 0; y < bitmap->Height(); ++y) {
    const uint32_t* row = bitmap->PixelData() + static_cast<std::ptrdiff_t>(y) * bitmap->RowSpan();
    for (int x = 0; x < bitmap->Width(); ++x) {
      sum = sum + row[x];
    }
  }
  return 0;
}
