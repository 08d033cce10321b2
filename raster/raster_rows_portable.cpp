// Processors without vector row loops of their own draw with the scalar set.
#include "raster/RasterRows.h"

std::vector<NamedRasterRows> RasterRowSets() {
  return {{"scalar", &RasterRowsScalar()}};
}
