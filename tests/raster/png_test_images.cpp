#include "PngTestImages.h"

#include <csetjmp>
#include <cstring>
#include <png.h>
#include <zlib.h>

namespace {
void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void FlushNothing(png_structp) {}

// No object with a destructor lives in this frame: libpng leaves it by a long jump on error.
bool Write(png_structp png, png_infop info, const PngPicture& picture,
           std::vector<std::uint8_t>* out, std::vector<png_bytep>* rows) {
  if (setjmp(png_jmpbuf(png))) {
    return false;
  }
  png_set_write_fn(png, out, AppendBytes, FlushNothing);
  png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width),
               static_cast<png_uint_32>(picture.height), picture.bitDepth, picture.colourType,
               picture.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!picture.palette.empty()) {
    png_set_PLTE(png, info, reinterpret_cast<png_const_colorp>(picture.palette.data()),
                 static_cast<int>(picture.palette.size() / 3));
  }
  png_color_16 colour{};
  if (!picture.transparentColour.empty()) {
    if (picture.transparentColour.size() == 1) {
      colour.gray = picture.transparentColour[0];
    } else {
      colour.red = picture.transparentColour[0];
      colour.green = picture.transparentColour[1];
      colour.blue = picture.transparentColour[2];
    }
  }
  if (!picture.paletteAlpha.empty() || !picture.transparentColour.empty()) {
    png_set_tRNS(png, info, picture.paletteAlpha.empty() ? nullptr : picture.paletteAlpha.data(),
                 static_cast<int>(picture.paletteAlpha.size()), &colour);
  }
  png_set_rows(png, info, rows->data());
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  return true;
}
} // namespace

std::vector<std::uint8_t> EncodePng(const PngPicture& picture) {
  std::vector<std::uint8_t> out;
  std::vector<png_bytep> rows;
  for (const auto& row : picture.rows) {
    rows.push_back(const_cast<png_bytep>(row.data()));
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  const bool written = Write(png, info, picture, &out, &rows);
  png_destroy_write_struct(&png, &info);
  if (!written) {
    out.clear();
  }
  return out;
}

void FixChunkCrc(std::vector<std::uint8_t>& png, std::size_t chunkOffset) {
  const std::uint32_t length = (std::uint32_t(png[chunkOffset]) << 24) |
                               (std::uint32_t(png[chunkOffset + 1]) << 16) |
                               (std::uint32_t(png[chunkOffset + 2]) << 8) | png[chunkOffset + 3];
  const std::size_t typeOffset = chunkOffset + 4;
  const uLong crc = crc32(crc32(0, nullptr, 0), png.data() + typeOffset, 4 + length);
  const std::size_t crcOffset = typeOffset + 4 + length;
  png[crcOffset] = static_cast<std::uint8_t>(crc >> 24);
  png[crcOffset + 1] = static_cast<std::uint8_t>(crc >> 16);
  png[crcOffset + 2] = static_cast<std::uint8_t>(crc >> 8);
  png[crcOffset + 3] = static_cast<std::uint8_t>(crc);
}

std::vector<std::size_t> FindChunks(const std::vector<std::uint8_t>& png, const char* type) {
  std::vector<std::size_t> found;
  std::size_t offset = 8;
  while (offset + 12 <= png.size()) {
    const std::uint32_t length = (std::uint32_t(png[offset]) << 24) |
                                 (std::uint32_t(png[offset + 1]) << 16) |
                                 (std::uint32_t(png[offset + 2]) << 8) | png[offset + 3];
    if (std::memcmp(png.data() + offset + 4, type, 4) == 0) {
      found.push_back(offset);
    }
    offset += 12 + length;
  }
  return found;
}
