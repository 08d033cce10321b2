#pragma once

// A plain restatement of the combine arithmetic, channel array by channel array, that the
// library's loops and word tricks are checked against.

#include "TestBitmaps.h"

#include "raster/RasterBlit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace reference {

struct Channels {
  int v[4]; // blue, green, red, alpha
};

inline Channels Split(std::uint32_t p) {
  return {{int(p & 0xFF), int((p >> 8) & 0xFF), int((p >> 16) & 0xFF), int(p >> 24)}};
}

inline std::uint32_t Join(const Channels& c) {
  std::uint32_t p = 0;
  for (int i = 0; i < 4; ++i) {
    p |= std::uint32_t(c.v[i] & 0xFF) << (8 * i);
  }
  return p;
}

inline int Clamp(int v) {
  return std::min(255, std::max(0, v));
}

inline int Weight(double weight) {
  if (std::isnan(weight)) {
    return 0;
  }
  return int(std::trunc(std::max(-8192.0, std::min(8192.0, weight * 256.0))));
}

// The library's HSV arithmetic is its own design; the reference only pins the other modes.
inline std::uint32_t Combine(std::uint32_t sp, std::uint32_t dp, int op, bool srcAlpha, int w) {
  Channels s = Split(sp);
  Channels d = Split(dp);
  const int sa = s.v[3];
  const int e = w * (sa + 1) / 256;
  switch (op) {
  case RASTER_OP_COPY:
    if (w <= 0) {
      return dp;
    }
    w = std::min(w, 256);
    if (!srcAlpha) {
      if (w == 256) {
        return sp;
      }
      for (int c = 0; c < 4; ++c) {
        d.v[c] = s.v[c] + (d.v[c] - s.v[c]) * (256 - w) / 256;
      }
      return Join(d);
    }
    if (sa == 0) {
      return dp;
    }
    if (w == 256) {
      if (sa == 255) {
        return sp;
      }
      for (int c = 0; c < 3; ++c) {
        d.v[c] = s.v[c] + (d.v[c] - s.v[c]) * (255 - sa) / 256;
      }
      d.v[3] = std::min(255, d.v[3] + sa);
      return Join(d);
    }
    {
      const int ew = w * (sa + 1) / 256;
      for (int c = 0; c < 3; ++c) {
        d.v[c] = (d.v[c] - s.v[c]) * (256 - ew) / 256 + s.v[c];
      }
      d.v[3] = std::min(255, d.v[3] + ew);
    }
    return Join(d);
  case RASTER_OP_ADD:
    if (srcAlpha && sa == 0) {
      return dp;
    }
    for (int c = 0; c < 4; ++c) {
      d.v[c] = Clamp(d.v[c] + s.v[c] * (srcAlpha ? e : w) / 256);
    }
    return Join(d);
  case RASTER_OP_DODGE:
    for (int c = 0; c < 4; ++c) {
      const int t = s.v[c] * (srcAlpha ? e : w) / 256;
      d.v[c] = t < 255 ? Clamp((d.v[c] * 256) / (256 - t)) : Clamp(d.v[c] * 256);
    }
    return Join(d);
  case RASTER_OP_MULTIPLY:
    if (w <= 0) {
      return dp;
    }
    w = std::min(w, 256);
    if (!srcAlpha) {
      for (int c = 0; c < 4; ++c) {
        d.v[c] = d.v[c] * (w * (s.v[c] - 256) + 65536) / 65536;
      }
      return Join(d);
    }
    if (sa == 0) {
      return dp;
    }
    {
      const int ew = w * (sa + 1) / 256;
      const int f = (256 - ew) * 256;
      for (int c = 0; c < 3; ++c) {
        d.v[c] = d.v[c] * (s.v[c] * ew + f) / 65536;
      }
      d.v[3] = (sa * ew + f) * d.v[3] / 65536;
    }
    return Join(d);
  case RASTER_OP_OVERLAY: {
    const int ow = srcAlpha ? e : w;
    const int m = (256 - ow) * 128;
    for (int c = 0; c < 4; ++c) {
      d.v[c] = Clamp((d.v[c] * (32768 - s.v[c] * ow - m) / 256 + s.v[c] * ow + m) * d.v[c] / 32768);
    }
    return Join(d);
  }
  default:
    return dp;
  }
}

// RasterCopyArea restated: every destination pixel whose source position lies inside the
// (clamped) source rectangle and inside both bitmaps is combined.
inline void CopyArea(Picture& dest, const Picture& src, int dstX, int dstY, const RasterRect* rect,
                     float weight, int mode) {
  if (weight == 0.0f) {
    return;
  }
  const std::int64_t left = rect ? rect->left : 0;
  const std::int64_t top = rect ? rect->top : 0;
  const std::int64_t right = rect ? std::min<std::int64_t>(rect->right, src.width) : src.width;
  const std::int64_t bottom = rect ? std::min<std::int64_t>(rect->bottom, src.height) : src.height;
  const int op = mode & 0xFF;
  const bool srcAlpha = (mode & RASTER_OP_SRC_ALPHA) != 0;
  for (int y = 0; y < dest.height; ++y) {
    for (int x = 0; x < dest.width; ++x) {
      const std::int64_t sx = x - std::int64_t(dstX) + left;
      const std::int64_t sy = y - std::int64_t(dstY) + top;
      if (sx < std::max<std::int64_t>(left, 0) || sx >= right ||
          sy < std::max<std::int64_t>(top, 0) || sy >= bottom) {
        continue;
      }
      const std::uint32_t s = src.At(int(sx), int(sy));
      std::uint32_t& d = dest.At(x, y);
      if (op >= 0xF0) {
        const int from = (mode & 3) * 8;
        const int to = ((mode >> 2) & 3) * 8;
        d = (d & ~(0xFFu << to)) | (((s >> from) & 0xFF) << to);
      } else if (op == RASTER_OP_COPY && !srcAlpha && weight == 1.0f) {
        d = s;
      } else if (op == RASTER_OP_COPY && !srcAlpha && weight == 0.5f) {
        Channels sc = Split(s);
        Channels dc = Split(d);
        for (int c = 0; c < 4; ++c) {
          dc.v[c] = sc.v[c] / 2 + dc.v[c] / 2;
        }
        d = Join(dc);
      } else if (Weight(weight) != 0) {
        d = Combine(s, d, op, srcAlpha, Weight(weight));
      }
    }
  }
}

// RasterFillArea restated for every mode but HSV.
inline void FillArea(Picture& dest, int x, int y, int w, int h, std::uint32_t colour, float weight,
                     int mode) {
  if (mode & RASTER_OP_SRC_ALPHA) {
    weight = (float(colour >> 24) / 255.0f) * weight;
  }
  int a = Weight(weight);
  const int op = mode & 0xFF;
  if (weight == 0.0f || a == 0) {
    return;
  }
  if (op == RASTER_OP_COPY || op == RASTER_OP_MULTIPLY) {
    if (a < 0) {
      return;
    }
    a = std::min(a, 256);
  }
  const Channels s = Split(colour);
  for (int py = std::max(y, 0); py < std::min<std::int64_t>(std::int64_t(y) + h, dest.height);
       ++py) {
    for (int px = std::max(x, 0); px < std::min<std::int64_t>(std::int64_t(x) + w, dest.width);
         ++px) {
      std::uint32_t& dp = dest.At(px, py);
      Channels d = Split(dp);
      if (op == RASTER_OP_COPY && (a == 256 || a == 128 || a == 64 || a == 192)) {
        // Whole-word arithmetic: each term truncated per channel, alpha included.
        for (int c = 0; c < 4; ++c) {
          const int sc = s.v[c];
          const int dc = d.v[c];
          d.v[c] = a == 256   ? sc
                   : a == 128 ? sc / 2 + dc / 2
                   : a == 64  ? dc / 2 + sc / 4 + dc / 4
                              : sc / 4 + dc / 4 + sc / 2;
        }
      } else if (op == RASTER_OP_COPY) {
        for (int c = 0; c < 4; ++c) {
          const int sc = c == 3 ? a : s.v[c];
          d.v[c] = sc + (d.v[c] - sc) * (256 - a) / 256;
        }
      } else if (op == RASTER_OP_MULTIPLY) {
        for (int c = 0; c < 4; ++c) {
          const int sc = c == 3 ? a : s.v[c];
          d.v[c] = d.v[c] * (a * sc + (256 - a) * 256) / 65536;
        }
      } else if (op == RASTER_OP_ADD || op == RASTER_OP_DODGE || op == RASTER_OP_OVERLAY) {
        d = Split(Combine(colour, dp, op, false, a));
      } else {
        continue;
      }
      dp = Join(d);
    }
  }
}

} // namespace reference
