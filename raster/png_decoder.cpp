#include "raster/PngDecoder.h"

#include "platform/DebugPrint.h"

#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <png.h>
#include <vector>

namespace {
struct MemoryReader {
  const unsigned char* data;
  std::size_t size;
  std::size_t position;
};

// Serves the request from memory. A request reaching past the end is an error at once: a
// chunk length read from broken data can claim gigabytes, and serving them as zeros would keep
// libpng checksumming for seconds before it rejects the chunk.
void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  MemoryReader* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
  const std::size_t left = reader->size - reader->position;
  if (count > left) {
    png_error(png, "data ends inside a chunk");
  }
  std::memcpy(out, reader->data + reader->position, count);
  reader->position += count;
}

void OnPngError(png_structp png, png_const_charp message) {
  DebugPrint("PNG decoding failed: %s", message);
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp message) {
  DebugPrint("PNG decoding warning: %s", message);
}

struct DecodeJob {
  png_structp png = nullptr;
  png_infop info = nullptr;
  RasterBitmap* fill = nullptr;
  std::unique_ptr<RasterMemBitmap>* made = nullptr;
  std::vector<png_bytep> rows;
  RasterBitmap* target = nullptr;
};

// Asks libpng for rows of 4 bytes per pixel in the order blue, green, red, alpha (or a filler of
// 255): the bytes of the pixel word 0xAARRGGBB in memory, so no pass over the pixels follows.
void RequestArgbRows(png_structp png, png_infop info) {
  const int colourType = png_get_color_type(png, info);
  const int bitDepth = png_get_bit_depth(png, info);
  bool hasAlpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0;
  if (colourType == PNG_COLOR_TYPE_PALETTE) {
    png_set_palette_to_rgb(png);
  }
  if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) {
    png_set_expand_gray_1_2_4_to_8(png);
  }
  if (png_get_valid(png, info, PNG_INFO_tRNS)) {
    png_set_tRNS_to_alpha(png);
    hasAlpha = true;
  }
  if (bitDepth == 16) {
    png_set_strip_16(png);
  }
  if (bitDepth < 8) {
    png_set_packing(png);
  }
  if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) {
    png_set_gray_to_rgb(png);
  }
  png_set_bgr(png);
  if (!hasAlpha) {
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  }
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
}

// The bitmap the rows go into, sized to the image, or none when it cannot take that size.
RasterBitmap* Target(DecodeJob& job, int width, int height) {
  if (job.fill) {
    job.fill->SetSize(width, height);
    return job.fill->Width() == width && job.fill->Height() == height ? job.fill : nullptr;
  }
  *job.made = std::make_unique<RasterMemBitmap>(width, height);
  RasterMemBitmap* made = job.made->get();
  // A size the bitmap could not allocate leaves it empty: no row may be written then.
  return made->Width() == width && made->Height() == height ? made : nullptr;
}

// Every libpng call that may fail runs here, behind the error return. No object with a
// destructor may live in this frame: a libpng error leaves it by a long jump.
bool ReadImage(DecodeJob& job) {
  if (setjmp(png_jmpbuf(job.png))) {
    return false;
  }
  png_read_info(job.png, job.info);
  RequestArgbRows(job.png, job.info);
  const png_uint_32 width = png_get_image_width(job.png, job.info);
  const png_uint_32 height = png_get_image_height(job.png, job.info);
  if (width == 0 || height == 0 || width > 0x7FFFFFFFu || height > 0x7FFFFFFFu ||
      png_get_rowbytes(job.png, job.info) != static_cast<png_size_t>(width) * 4) {
    return false;
  }
  job.target = Target(job, static_cast<int>(width), static_cast<int>(height));
  if (!job.target) {
    return false;
  }
  job.rows.resize(height);
  std::uint32_t* pixels = job.target->PixelData();
  const std::ptrdiff_t span = job.target->RowSpan();
  const bool bottomUp = job.target->IsBottomUp();
  for (png_uint_32 i = 0; i < height; ++i) {
    const png_uint_32 stored = bottomUp ? height - 1 - i : i;
    job.rows[i] = reinterpret_cast<png_bytep>(pixels + static_cast<std::ptrdiff_t>(stored) * span);
  }
  png_read_image(job.png, job.rows.data());
  return true;
}

} // namespace

RasterBitmap* DecodePng(const PngInput& input, RasterBitmap* fill,
                        std::unique_ptr<RasterMemBitmap>& made) {
  DecodeJob job;
  job.fill = fill;
  job.made = &made;
  job.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
  if (!job.png) {
    return nullptr;
  }
  job.info = png_create_info_struct(job.png);
  if (!job.info) {
    png_destroy_read_struct(&job.png, nullptr, nullptr);
    return nullptr;
  }
  MemoryReader memory{input.data, input.size, 0};
  if (input.file) {
    png_init_io(job.png, input.file);
  } else {
    png_set_read_fn(job.png, &memory, ReadFromMemory);
  }
  const bool decoded = ReadImage(job);
  png_destroy_read_struct(&job.png, &job.info, nullptr);
  if (!decoded) {
    made.reset();
    return nullptr;
  }
  return job.target;
}
