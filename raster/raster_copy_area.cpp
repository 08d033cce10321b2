#include "raster/RasterBlit.h"
#include "raster/RasterCombine.h"
#include "raster/RasterRows.h"

#include <cstdint>
#include <cstring>

using namespace raster_combine;

namespace {
// The clipped rectangle both bitmaps take part in.
struct CopyArea {
  std::uint32_t* dest;
  const std::uint32_t* src;
  int destSpan;
  int srcSpan;
  int columns;
  int rows;
};

template <typename Combiner> void CombineRows(const CopyArea& area, Combiner combine) {
  for (int y = 0; y < area.rows; ++y) {
    std::uint32_t* d = area.dest + static_cast<std::ptrdiff_t>(y) * area.destSpan;
    const std::uint32_t* s = area.src + static_cast<std::ptrdiff_t>(y) * area.srcSpan;
    for (int x = 0; x < area.columns; ++x) {
      d[x] = combine(s[x], d[x]);
    }
  }
}

// Hands each row's destination and source to a row loop of RasterRows.
template <typename RowLoop> void EachRow(const CopyArea& area, RowLoop loop) {
  for (int y = 0; y < area.rows; ++y) {
    loop(area.dest + static_cast<std::ptrdiff_t>(y) * area.destSpan,
         area.src + static_cast<std::ptrdiff_t>(y) * area.srcSpan, area.columns);
  }
}

void CopyRows(const CopyArea& area) {
  const std::size_t bytes = static_cast<std::size_t>(area.columns) * 4;
  for (int y = 0; y < area.rows; ++y) {
    std::memmove(area.dest + static_cast<std::ptrdiff_t>(y) * area.destSpan,
                 area.src + static_cast<std::ptrdiff_t>(y) * area.srcSpan, bytes);
  }
}

void CopyChannel(const CopyArea& area, int mode) {
  const int from = (mode & 3) * 8;
  const int to = ((mode >> 2) & 3) * 8;
  const std::uint32_t keep = ~(0xFFu << to);
  CombineRows(area, [from, to, keep](std::uint32_t s, std::uint32_t d) {
    return (d & keep) | (((s >> from) & 0xFFu) << to);
  });
}

// Weighted combines; interpolating modes treat weights above full strength as full strength
// and draw nothing for negative weights, whose results would wrap.
void CombineWeighted(const CopyArea& area, int op, bool sourceAlpha, int w) {
  const bool interpolating = op == RASTER_OP_COPY || op == RASTER_OP_MULTIPLY;
  if (interpolating) {
    if (w < 0) {
      return;
    }
    w = w > 256 ? 256 : w;
  }
  switch (op) {
  case RASTER_OP_COPY: {
    const RasterRows& rows = RasterRowsBest();
    if (sourceAlpha) {
      if (w == 256) {
        EachRow(area, rows.overFull);
      } else {
        EachRow(area, [&rows, w](std::uint32_t* d, const std::uint32_t* s, int n) {
          rows.over(d, s, n, w);
        });
      }
    } else if (w == 256) {
      CopyRows(area);
    } else {
      EachRow(area, [&rows, w](std::uint32_t* d, const std::uint32_t* s, int n) {
        rows.blend(d, s, n, w);
      });
    }
    break;
  }
  case RASTER_OP_ADD:
    if (sourceAlpha) {
      CombineRows(area, [w](std::uint32_t s, std::uint32_t d) { return AddSourceAlpha(s, d, w); });
    } else {
      CombineRows(area, [w](std::uint32_t s, std::uint32_t d) { return Add(s, d, w); });
    }
    break;
  case RASTER_OP_DODGE:
    if (sourceAlpha) {
      CombineRows(area,
                  [w](std::uint32_t s, std::uint32_t d) { return Dodge(s, d, AlphaWeight(w, s)); });
    } else {
      CombineRows(area, [w](std::uint32_t s, std::uint32_t d) { return Dodge(s, d, w); });
    }
    break;
  case RASTER_OP_MULTIPLY:
    if (sourceAlpha) {
      CombineRows(area,
                  [w](std::uint32_t s, std::uint32_t d) { return MultiplySourceAlpha(s, d, w); });
    } else {
      CombineRows(area, [w](std::uint32_t s, std::uint32_t d) { return Multiply(s, d, w); });
    }
    break;
  case RASTER_OP_OVERLAY:
    if (sourceAlpha) {
      CombineRows(
          area, [w](std::uint32_t s, std::uint32_t d) { return Overlay(s, d, AlphaWeight(w, s)); });
    } else {
      CombineRows(area, [w](std::uint32_t s, std::uint32_t d) { return Overlay(s, d, w); });
    }
    break;
  case RASTER_OP_HSV:
    if (sourceAlpha) {
      CombineRows(area, [w](std::uint32_t s, std::uint32_t d) {
        return HsvAdjust(s, d, AlphaWeight(w, s));
      });
    } else {
      CombineRows(area, [w](std::uint32_t s, std::uint32_t d) { return HsvAdjust(s, d, w); });
    }
    break;
  default:
    break;
  }
}
} // namespace

void RasterCopyArea(RasterBitmap* dest, RasterBitmap* src, int dstX, int dstY,
                    const RasterRect* srcRect, float weight, int mode) {
  if (!dest || !src || weight == 0.0f) {
    return;
  }
  // 64-bit coordinates: callers' rectangles may lie anywhere in the 32-bit range.
  std::int64_t x = dstX;
  std::int64_t y = dstY;
  std::int64_t left = 0;
  std::int64_t top = 0;
  std::int64_t right = src->Width();
  std::int64_t bottom = src->Height();
  if (srcRect) {
    left = srcRect->left;
    top = srcRect->top;
    right = srcRect->right < right ? srcRect->right : right;
    bottom = srcRect->bottom < bottom ? srcRect->bottom : bottom;
    if (left < 0) {
      x -= left;
      left = 0;
    }
    if (top < 0) {
      y -= top;
      top = 0;
    }
  }
  if (x < 0) {
    left -= x;
    x = 0;
  }
  if (y < 0) {
    top -= y;
    y = 0;
  }
  if (right - left + x > dest->Width()) {
    right = dest->Width() - x + left;
  }
  if (bottom - top + y > dest->Height()) {
    bottom = dest->Height() - y + top;
  }
  std::uint32_t* destPixels = dest->PixelData();
  const std::uint32_t* srcPixels = src->PixelData();
  if (right <= left || bottom <= top || !destPixels || !srcPixels) {
    return;
  }
  const CopyArea area{destPixels + y * dest->RowSpan() + x,
                      srcPixels + top * src->RowSpan() + left,
                      dest->RowSpan(),
                      src->RowSpan(),
                      static_cast<int>(right - left),
                      static_cast<int>(bottom - top)};

  const int op = mode & 0xFF;
  const bool sourceAlpha = (mode & RASTER_OP_SRC_ALPHA) != 0;
  if (op >= RASTER_OP_CHANNEL) {
    CopyChannel(area, mode);
    return;
  }
  if (op == RASTER_OP_COPY && !sourceAlpha) {
    if (weight == 1.0f) {
      CopyRows(area);
      return;
    }
    if (weight == 0.5f) {
      EachRow(area, RasterRowsBest().average);
      return;
    }
  }
  const int w = ScaledWeight(weight);
  if (w != 0) {
    CombineWeighted(area, op, sourceAlpha, w);
  }
}
