#include "raster/RasterResample.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

struct Contribution {
  int source;
  float weight;
};

// For each of `length` new pixels along one axis, the source pixels of a run of sourceLength
// under it and the share of it each covers (the shares of one new pixel add up to 1).
std::vector<std::vector<Contribution>> AreaContributions(int sourceLength, int length) {
  std::vector<std::vector<Contribution>> table(static_cast<std::size_t>(length));
  const double ratio = static_cast<double>(sourceLength) / length;
  for (int i = 0; i < length; ++i) {
    const double begin = i * ratio;
    const double end = (i + 1) * ratio;
    const int first = static_cast<int>(std::floor(begin));
    const int last = std::min(static_cast<int>(std::ceil(end)), sourceLength);
    for (int s = first; s < last; ++s) {
      const double covered = std::min(end, s + 1.0) - std::max(begin, static_cast<double>(s));
      if (covered > 0.0) {
        table[static_cast<std::size_t>(i)].push_back({s, static_cast<float>(covered / ratio)});
      }
    }
  }
  return table;
}

constexpr int Channels = 4;

std::uint8_t ToByte(float value) {
  return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

} // namespace

std::unique_ptr<RasterMemBitmap> RasterResampleArea(RasterBitmap* src, const RasterRect& srcRect,
                                                    int width, int height) {
  const int sourceWidth = srcRect.right - srcRect.left;
  const int sourceHeight = srcRect.bottom - srcRect.top;
  if (!src || !src->PixelData() || width <= 0 || height <= 0 || sourceWidth <= 0 ||
      sourceHeight <= 0 || srcRect.left < 0 || srcRect.top < 0 || srcRect.right > src->Width() ||
      srcRect.bottom > src->Height()) {
    return nullptr;
  }
  auto result = std::make_unique<RasterMemBitmap>(width, height);
  if (!result->PixelData()) {
    return nullptr;
  }
  const auto columns = AreaContributions(sourceWidth, width);
  const auto rows = AreaContributions(sourceHeight, height);

  // Across first: every source row at the new width, alpha and alpha-weighted colours.
  const std::size_t across = static_cast<std::size_t>(width) * Channels;
  std::vector<float> narrowed(static_cast<std::size_t>(sourceHeight) * across);
  for (int y = 0; y < sourceHeight; ++y) {
    const std::uint32_t* in =
        src->PixelData() + static_cast<std::ptrdiff_t>(srcRect.top + y) * src->RowSpan();
    float* out = &narrowed[static_cast<std::size_t>(y) * across];
    for (int x = 0; x < width; ++x) {
      float sum[Channels] = {};
      for (const Contribution& c : columns[static_cast<std::size_t>(x)]) {
        const std::uint32_t pixel = in[srcRect.left + c.source];
        const float alpha = static_cast<float>(pixel >> 24) * c.weight;
        sum[0] += alpha;
        sum[1] += alpha * static_cast<float>((pixel >> 16) & 0xFF);
        sum[2] += alpha * static_cast<float>((pixel >> 8) & 0xFF);
        sum[3] += alpha * static_cast<float>(pixel & 0xFF);
      }
      std::copy(sum, sum + Channels, out + static_cast<std::size_t>(x) * Channels);
    }
  }

  // Then down, back to straight alpha.
  for (int y = 0; y < height; ++y) {
    std::uint32_t* out = result->PixelData() + static_cast<std::ptrdiff_t>(y) * result->RowSpan();
    for (int x = 0; x < width; ++x) {
      float sum[Channels] = {};
      for (const Contribution& c : rows[static_cast<std::size_t>(y)]) {
        const float* in = &narrowed[static_cast<std::size_t>(c.source) * across +
                                    static_cast<std::size_t>(x) * Channels];
        for (int k = 0; k < Channels; ++k) {
          sum[k] += in[k] * c.weight;
        }
      }
      const std::uint8_t alpha = ToByte(sum[0]);
      if (alpha == 0) {
        out[x] = 0;
        continue;
      }
      out[x] = static_cast<std::uint32_t>(alpha) << 24 |
               static_cast<std::uint32_t>(ToByte(sum[1] / sum[0])) << 16 |
               static_cast<std::uint32_t>(ToByte(sum[2] / sum[0])) << 8 | ToByte(sum[3] / sum[0]);
    }
  }
  return result;
}
