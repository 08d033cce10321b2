// Blits of every combine mode at the editor's sizes against a plain row copy, decoding of the
// knob strip against a bare libpng decode of the same bytes, and decoding one knob frame from its
// segment against libpng reading just the first frame's rows.

#include "platform/ModuleResources.h"
#include "raster/RasterBlit.h"
#include "raster/RasterMemBitmap.h"
#include "raster/RasterPng.h"
#include "raster/RasterSegmentedPng.h"
#include "raster/RasterSysBitmap.h"

#include <benchmark/benchmark.h>
#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {
constexpr int kEditorWidth = 560;
constexpr int kEditorHeight = 400;
constexpr int kKnobId = 101;

// Pixels with the alpha mix of real artwork: transparent, opaque and translucent areas.
void Paint(RasterBitmap& bitmap, std::uint32_t seed) {
  std::uint32_t state = seed;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      state = state * 1664525u + 1013904223u;
      const std::uint32_t alpha =
          (x / 40 + y / 40) % 3 == 0 ? 0 : ((x / 40) % 2 ? 255 : state >> 24);
      bitmap.PixelData()[y * bitmap.RowSpan() + x] = (alpha << 24) | (state & 0x00FFFFFFu);
    }
  }
}

void SetPixelCounters(benchmark::State& state, int width, int height) {
  const std::int64_t pixels = static_cast<std::int64_t>(width) * height * state.iterations();
  state.SetItemsProcessed(pixels);
  state.SetBytesProcessed(pixels * 4);
}

void PlainCopy(benchmark::State& state) {
  RasterMemBitmap src(kEditorWidth, kEditorHeight);
  RasterSysBitmap dest(kEditorWidth, kEditorHeight);
  Paint(src, 1);
  for (auto _ : state) {
    for (int y = 0; y < kEditorHeight; ++y) {
      std::memcpy(dest.PixelData() + y * dest.RowSpan(), src.PixelData() + y * src.RowSpan(),
                  kEditorWidth * 4);
    }
    benchmark::ClobberMemory();
  }
  SetPixelCounters(state, kEditorWidth, kEditorHeight);
}

void CopyArea(benchmark::State& state, int width, int height, float weight, int mode) {
  RasterMemBitmap src(width, height);
  RasterSysBitmap dest(kEditorWidth, kEditorHeight);
  Paint(src, 1);
  Paint(dest, 2);
  for (auto _ : state) {
    RasterCopyArea(&dest, &src, 0, 0, nullptr, weight, mode);
    benchmark::ClobberMemory();
  }
  SetPixelCounters(state, width, height);
}

void FillArea(benchmark::State& state, std::uint32_t colour, float weight, int mode) {
  RasterSysBitmap dest(kEditorWidth, kEditorHeight);
  Paint(dest, 2);
  for (auto _ : state) {
    RasterFillArea(&dest, 0, 0, kEditorWidth, kEditorHeight, colour, weight, mode);
    benchmark::ClobberMemory();
  }
  SetPixelCounters(state, kEditorWidth, kEditorHeight);
}

struct Bytes {
  const unsigned char* data = nullptr;
  std::size_t size = 0;
  std::size_t position = 0;
};

Bytes KnobStrip() {
  Bytes knob;
  FindModuleResource(kKnobId, "PNG", &knob.data, &knob.size);
  return knob;
}

void ReadBytes(png_structp png, png_bytep out, png_size_t count) {
  Bytes* bytes = static_cast<Bytes*>(png_get_io_ptr(png));
  std::memcpy(out, bytes->data + bytes->position, count);
  bytes->position += count;
}

// libpng alone: the rows in the file's own format into a caller buffer, no transformations.
bool BareDecode(png_structp png, png_infop info, Bytes* bytes, std::vector<png_byte>* pixels,
                std::vector<png_bytep>* rows) {
  if (setjmp(png_jmpbuf(png))) {
    return false;
  }
  png_set_read_fn(png, bytes, ReadBytes);
  png_read_info(png, info);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  const png_size_t rowBytes = png_get_rowbytes(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  pixels->resize(rowBytes * height);
  rows->resize(height);
  for (png_uint_32 y = 0; y < height; ++y) {
    (*rows)[y] = pixels->data() + y * rowBytes;
  }
  png_read_image(png, rows->data());
  return true;
}

void DecodeKnobBare(benchmark::State& state) {
  const Bytes knob = KnobStrip();
  for (auto _ : state) {
    // Fresh memory each time, as every real decode needs.
    std::vector<png_byte> pixels;
    std::vector<png_bytep> rows;
    Bytes bytes = knob;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (!BareDecode(png, info, &bytes, &pixels, &rows)) {
      state.SkipWithError("libpng could not decode the knob strip");
    }
    png_destroy_read_struct(&png, &info, nullptr);
    benchmark::DoNotOptimize(pixels.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(knob.size) * state.iterations());
}

void DecodeKnob(benchmark::State& state) {
  const Bytes knob = KnobStrip();
  for (auto _ : state) {
    auto bitmap = RasterDecodePngBytes(knob.data, knob.size);
    if (!bitmap) {
      state.SkipWithError("the knob strip did not decode");
    }
    benchmark::DoNotOptimize(bitmap.get());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(knob.size) * state.iterations());
}

// libpng alone reading one frame's rows (the first frame's, so nothing before them is inflated)
// in the file's own format and stopping there: the least a libpng decode of one frame costs.
constexpr int kKnobFrameRows = 191;

bool BareDecodeFirstRows(png_structp png, png_infop info, Bytes* bytes,
                         std::vector<png_byte>* row) {
  if (setjmp(png_jmpbuf(png))) {
    return false;
  }
  png_set_read_fn(png, bytes, ReadBytes);
  png_read_info(png, info);
  png_read_update_info(png, info);
  row->resize(png_get_rowbytes(png, info));
  for (int y = 0; y < kKnobFrameRows; ++y) {
    png_read_row(png, row->data(), nullptr);
  }
  return true;
}

void DecodeKnobFrameBare(benchmark::State& state) {
  const Bytes knob = KnobStrip();
  for (auto _ : state) {
    std::vector<png_byte> row;
    Bytes bytes = knob;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (!BareDecodeFirstRows(png, info, &bytes, &row)) {
      state.SkipWithError("libpng could not read the first frame");
    }
    png_destroy_read_struct(&png, &info, nullptr);
    benchmark::DoNotOptimize(row.data());
  }
}

// One frame from its segment into a new bitmap, a different frame each time, as a sweep of the
// knob takes them.
void DecodeKnobFrameSegment(benchmark::State& state) {
  const Bytes knob = KnobStrip();
  const auto image = RasterSegmentedPng::Open(knob.data, knob.size);
  if (!image) {
    state.SkipWithError("the knob strip has no segments");
    return;
  }
  int segment = 0;
  for (auto _ : state) {
    auto frame = image->DecodeSegments(segment, segment);
    if (!frame) {
      state.SkipWithError("a knob frame did not decode");
    }
    benchmark::DoNotOptimize(frame.get());
    segment = (segment + 1) % image->SegmentCount();
  }
}

struct ModeCase {
  const char* name;
  float weight;
  int mode;
};

const ModeCase kModes[] = {
    {"copy/1.0", 1.0f, RASTER_OP_COPY},
    {"copy/0.5", 0.5f, RASTER_OP_COPY},
    {"copy/0.3", 0.3f, RASTER_OP_COPY},
    {"over/1.0", 1.0f, RASTER_OP_COPY | RASTER_OP_SRC_ALPHA},
    {"over/0.3", 0.3f, RASTER_OP_COPY | RASTER_OP_SRC_ALPHA},
    {"add/1.0", 1.0f, RASTER_OP_ADD},
    {"add+alpha/1.0", 1.0f, RASTER_OP_ADD | RASTER_OP_SRC_ALPHA},
    {"dodge/1.0", 1.0f, RASTER_OP_DODGE},
    {"dodge+alpha/1.0", 1.0f, RASTER_OP_DODGE | RASTER_OP_SRC_ALPHA},
    {"multiply/1.0", 1.0f, RASTER_OP_MULTIPLY},
    {"multiply+alpha/1.0", 1.0f, RASTER_OP_MULTIPLY | RASTER_OP_SRC_ALPHA},
    {"overlay/1.0", 1.0f, RASTER_OP_OVERLAY},
    {"overlay+alpha/1.0", 1.0f, RASTER_OP_OVERLAY | RASTER_OP_SRC_ALPHA},
    {"hsv/1.0", 1.0f, RASTER_OP_HSV},
    {"hsv+alpha/1.0", 1.0f, RASTER_OP_HSV | RASTER_OP_SRC_ALPHA},
    {"channel/red-to-alpha", 1.0f, RASTER_OP_CHANNEL | 0xE},
};

const ModeCase kFills[] = {
    {"copy/1.0", 1.0f, RASTER_OP_COPY},
    {"meter/copy+alpha-128", 1.0f, RASTER_OP_COPY | RASTER_OP_SRC_ALPHA},
    {"copy/0.25", 0.25f, RASTER_OP_COPY},
    {"copy/0.75", 0.75f, RASTER_OP_COPY},
    {"copy/0.3", 0.3f, RASTER_OP_COPY},
    {"add/0.5", 0.5f, RASTER_OP_ADD},
    {"multiply/0.5", 0.5f, RASTER_OP_MULTIPLY},
    {"overlay/0.5", 0.5f, RASTER_OP_OVERLAY},
    {"hsv/0.5", 0.5f, RASTER_OP_HSV},
};

int RegisterAll() {
  benchmark::RegisterBenchmark("PlainCopy/560x400", PlainCopy);
  for (const ModeCase& c : kModes) {
    benchmark::RegisterBenchmark((std::string("CopyArea/560x400/") + c.name).c_str(), CopyArea,
                                 kEditorWidth, kEditorHeight, c.weight, c.mode);
  }
  benchmark::RegisterBenchmark("CopyArea/knob-frame-192x191/over/1.0", CopyArea, 192, 191, 1.0f,
                               RASTER_OP_COPY | RASTER_OP_SRC_ALPHA);
  for (const ModeCase& c : kFills) {
    benchmark::RegisterBenchmark((std::string("FillArea/560x400/") + c.name).c_str(), FillArea,
                                 0x80E40303u, c.weight, c.mode);
  }
  benchmark::RegisterBenchmark("DecodeKnob/bare-libpng", DecodeKnobBare)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("DecodeKnob/RasterDecodePngBytes", DecodeKnob)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("DecodeKnobFrame/bare-libpng-first-frame", DecodeKnobFrameBare)
      ->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("DecodeKnobFrame/segment", DecodeKnobFrameSegment)
      ->Unit(benchmark::kMicrosecond);
  return 0;
}

const int registered = RegisterAll();
} // namespace
