#include "tools/artwork/RgbaImage.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <vector>

namespace artwork {

namespace {

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

} // namespace

bool WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
  if (!file) {
    return false;
  }
  return std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() &&
         std::fflush(file.get()) == 0;
}

bool EncodePng(const RgbaImage& image, const PngEncoding& encoding,
               std::vector<std::uint8_t>* out) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) {
    return false;
  }
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, out, AppendBytes, NoFlush);
  png_set_compression_level(png, encoding.level);
  png_set_compression_mem_level(png, 9);
  if (encoding.strategy != kLibpngStrategy) {
    png_set_compression_strategy(png, encoding.strategy);
  }
  png_set_filter(png, PNG_FILTER_TYPE_BASE, encoding.filters);
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
               static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_RGB_ALPHA,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
  png_write_info(png, info);
  for (int y = 0; y < image.height; ++y) {
    png_write_row(png, const_cast<png_bytep>(image.Row(y)));
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

bool WritePng(const std::string& path, const RgbaImage& image) {
  // Unfiltered rows decode about 40% faster than adaptively filtered ones, and the pictures are
  // decoded when the editor first opens: libpng's adaptive filters are kept only where they
  // save more than a tenth of the file (full-bleed gradients), not for the 1% they save on the
  // background.
  std::vector<std::uint8_t> unfiltered;
  std::vector<std::uint8_t> filtered;
  if (!EncodePng(image, PngEncoding{PNG_FILTER_NONE, 9, kLibpngStrategy}, &unfiltered) ||
      !EncodePng(image, PngEncoding{PNG_ALL_FILTERS, 9, kLibpngStrategy}, &filtered)) {
    return false;
  }
  constexpr double kFilteredMustSave = 0.9;
  const bool filterPays = filtered.size() < unfiltered.size() * kFilteredMustSave;
  return WriteFileBytes(path, filterPays ? filtered : unfiltered);
}

bool WritePng(const std::string& path, const RgbaImage& image, const PngEncoding& encoding) {
  std::vector<std::uint8_t> encoded;
  return EncodePng(image, encoding, &encoded) && WriteFileBytes(path, encoded);
}

bool ReadPng(const std::string& path, RgbaImage* image) {
  png_image reader{};
  reader.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&reader, path.c_str())) {
    return false;
  }
  reader.format = PNG_FORMAT_RGBA;
  RgbaImage decoded(static_cast<int>(reader.width), static_cast<int>(reader.height));
  if (!png_image_finish_read(&reader, nullptr, decoded.bytes.data(), 0, nullptr)) {
    png_image_free(&reader);
    return false;
  }
  *image = std::move(decoded);
  return true;
}

} // namespace artwork
