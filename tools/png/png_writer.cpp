#include "tools/png/PngWriter.h"

#include <png.h>

#include <csetjmp>
#include <vector>

bool WritePng(std::FILE* file, const std::uint32_t* pixels, int width, int height) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  std::vector<png_byte> row(static_cast<size_t>(width) * 3);
  bool written = false;
  if (info && setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const std::uint32_t pixel = pixels[static_cast<size_t>(y) * width + x];
        row[x * 3] = static_cast<png_byte>(pixel >> 16);
        row[x * 3 + 1] = static_cast<png_byte>(pixel >> 8);
        row[x * 3 + 2] = static_cast<png_byte>(pixel);
      }
      png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    written = true;
  }
  png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
  return written;
}

bool WritePng(const char* fileName, const std::uint32_t* pixels, int width, int height) {
  std::FILE* file = std::fopen(fileName, "wb");
  if (!file) {
    return false;
  }
  const bool written = WritePng(file, pixels, width, height);
  return std::fclose(file) == 0 && written;
}
