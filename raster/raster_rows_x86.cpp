// The row loop sets of x86 processors: scalar, SSE2 (every x86 processor this runs on) and AVX2.
#include "platform/CpuFeatures.h"
#include "raster/RasterRows.h"
#include "raster/RasterSimdRows.h"

std::vector<NamedRasterRows> RasterRowSets() {
  std::vector<NamedRasterRows> sets{{"scalar", &RasterRowsScalar()}, {"sse2", &RasterRowsSse2()}};
  // Checked here, outside the AVX2 file, so that no AVX2 instruction runs before the check. The
  // check covers the operating system's support for the wide registers too.
  if (ProcessorHasAvx2()) {
    sets.push_back({"avx2", &RasterRowsAvx2Unchecked()});
  }
  return sets;
}
