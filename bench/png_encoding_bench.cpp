// How fast the knob strip decodes under each candidate encoding of its PNG (filters, zlib level
// and strategy), with the encoded size as a counter: the figures behind the encoding the
// artwork generator uses for it. Every candidate is decoded the way the editor decodes it. Then
// the segment sizes at three levels: one frame decoded from segments of 1 to 32 frames (a sweep's
// cost per new frame is the whole segment's decode), with the file's size and a segment's pixels as
// counters.

#include "platform/ModuleResources.h"
#include "raster/RasterPng.h"
#include "raster/RasterSegmentedPng.h"
#include "tools/artwork/KnobStrip.h"
#include "tools/artwork/RgbaImage.h"

#include <benchmark/benchmark.h>
#include <png.h>
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {
constexpr int kKnobId = 101;

struct Candidate {
  const char* name;
  artwork::PngEncoding encoding;
};

const Candidate kCandidates[] = {
    {"none/level9", {PNG_FILTER_NONE, 9, Z_DEFAULT_STRATEGY}},
    {"none/level6", {PNG_FILTER_NONE, 6, Z_DEFAULT_STRATEGY}},
    {"none/level4", {PNG_FILTER_NONE, 4, Z_DEFAULT_STRATEGY}},
    {"none/level3", {PNG_FILTER_NONE, 3, Z_DEFAULT_STRATEGY}},
    {"none/level2", {PNG_FILTER_NONE, 2, Z_DEFAULT_STRATEGY}},
    {"none/level1", {PNG_FILTER_NONE, 1, Z_DEFAULT_STRATEGY}},
    {"none/level9-rle", {PNG_FILTER_NONE, 9, Z_RLE}},
    {"none/level9-filtered", {PNG_FILTER_NONE, 9, Z_FILTERED}},
    {"sub/level9", {PNG_FILTER_SUB, 9, Z_DEFAULT_STRATEGY}},
    {"up/level9", {PNG_FILTER_UP, 9, Z_DEFAULT_STRATEGY}},
    {"adaptive/level9", {PNG_ALL_FILTERS, 9, artwork::kLibpngStrategy}},
};

// The committed strip's pixels as straight RGBA.
const artwork::RgbaImage& KnobPixels() {
  static const artwork::RgbaImage pixels = [] {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    artwork::RgbaImage image;
    if (!FindModuleResource(kKnobId, "PNG", &data, &size)) {
      return image;
    }
    auto bitmap = RasterDecodePngBytes(data, size);
    if (!bitmap) {
      return image;
    }
    image = artwork::RgbaImage(bitmap->Width(), bitmap->Height());
    for (int y = 0; y < image.height; ++y) {
      const std::uint32_t* row = bitmap->PixelData() + y * bitmap->RowSpan();
      std::uint8_t* out = image.Row(y);
      for (int x = 0; x < image.width; ++x) {
        out[4 * x] = static_cast<std::uint8_t>(row[x] >> 16);
        out[4 * x + 1] = static_cast<std::uint8_t>(row[x] >> 8);
        out[4 * x + 2] = static_cast<std::uint8_t>(row[x]);
        out[4 * x + 3] = static_cast<std::uint8_t>(row[x] >> 24);
      }
    }
    return image;
  }();
  return pixels;
}

void DecodeCandidate(benchmark::State& state, artwork::PngEncoding encoding) {
  std::vector<std::uint8_t> bytes;
  if (KnobPixels().width == 0 || !artwork::EncodePng(KnobPixels(), encoding, &bytes)) {
    state.SkipWithError("the knob strip could not be encoded");
    return;
  }
  for (auto _ : state) {
    auto bitmap = RasterDecodePngBytes(bytes.data(), bytes.size());
    if (!bitmap) {
      state.SkipWithError("the encoded strip did not decode");
    }
    benchmark::DoNotOptimize(bitmap.get());
  }
  state.counters["bytes"] = static_cast<double>(bytes.size());
}

constexpr int kFramePixelBytes = 192 * 192 * 4;

void DecodeSegmentOf(benchmark::State& state, int level, int framesPerSegment) {
  std::vector<std::uint8_t> bytes;
  if (KnobPixels().width == 0 ||
      !artwork::EncodeSegmentedPng(KnobPixels(), artwork::KnobSegmentRows(framesPerSegment, 1),
                                   level, &bytes)) {
    state.SkipWithError("the knob strip could not be encoded");
    return;
  }
  const auto image = RasterSegmentedPng::Open(bytes.data(), bytes.size());
  if (!image) {
    state.SkipWithError("the encoded strip has no segments");
    return;
  }
  int segment = 0;
  for (auto _ : state) {
    auto rows = image->DecodeSegments(segment, segment);
    if (!rows) {
      state.SkipWithError("a segment did not decode");
    }
    benchmark::DoNotOptimize(rows.get());
    segment = (segment + 1) % image->SegmentCount();
  }
  state.counters["bytes"] = static_cast<double>(bytes.size());
  state.counters["segment_bytes"] = static_cast<double>(framesPerSegment) * kFramePixelBytes;
}

int RegisterAll() {
  for (const Candidate& c : kCandidates) {
    benchmark::RegisterBenchmark((std::string("KnobEncoding/") + c.name).c_str(), DecodeCandidate,
                                 c.encoding)
        ->Unit(benchmark::kMillisecond);
  }
  for (int level : {3, 6, 9}) {
    for (int frames : {1, 2, 4, 8, 16, 32}) {
      const std::string name =
          "KnobSegments/level" + std::to_string(level) + "/frames:" + std::to_string(frames);
      benchmark::RegisterBenchmark(name.c_str(), DecodeSegmentOf, level, frames)
          ->Unit(benchmark::kMicrosecond);
    }
  }
  return 0;
}

const int registered = RegisterAll();
} // namespace
