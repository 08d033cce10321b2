#include "tools/artwork/RgbaImage.h"

#include "raster/PngBytes.h"
#include "raster/RasterSegmentedPng.h"

#include <zlib.h>

#include <cstring>

namespace artwork {

namespace {

constexpr int kBitDepth8 = 8;
constexpr int kColourRgba = 6;
constexpr unsigned char kFilterNone = 0;
constexpr int kWindowBits = 15;
constexpr int kMemoryLevel = 9;
// zlib's header, written before the first segment's deflate data.
constexpr std::uint32_t kZlibHeaderLength = 2;

void PutChunk(const char* type, const std::uint8_t* body, std::size_t length,
              std::vector<std::uint8_t>* out) {
  PutPngNumber(static_cast<std::uint32_t>(length), out);
  const std::size_t typeAt = out->size();
  out->insert(out->end(), type, type + 4);
  out->insert(out->end(), body, body + length);
  const uLong crc =
      crc32(crc32(0L, Z_NULL, 0), out->data() + typeAt, static_cast<uInt>(4 + length));
  PutPngNumber(static_cast<std::uint32_t>(crc), out);
}

struct Deflater {
  z_stream stream{};
  bool ready = false;
  explicit Deflater(int level) {
    ready = deflateInit2(&stream, level, Z_DEFLATED, kWindowBits, kMemoryLevel,
                         Z_DEFAULT_STRATEGY) == Z_OK;
  }
  ~Deflater() {
    if (ready) {
      deflateEnd(&stream);
    }
  }
  Deflater(const Deflater&) = delete;
  Deflater& operator=(const Deflater&) = delete;

  // Compresses the bytes (none for a bare flush) and appends what comes out.
  bool Put(const std::uint8_t* bytes, std::size_t length, int flush,
           std::vector<std::uint8_t>* out) {
    stream.next_in = const_cast<Bytef*>(bytes);
    stream.avail_in = static_cast<uInt>(length);
    std::uint8_t buffer[1 << 15];
    for (;;) {
      stream.next_out = buffer;
      stream.avail_out = sizeof buffer;
      const int status = deflate(&stream, flush);
      if (status == Z_STREAM_ERROR) {
        return false;
      }
      out->insert(out->end(), buffer, buffer + (sizeof buffer - stream.avail_out));
      const bool finished = flush == Z_FINISH ? status == Z_STREAM_END : stream.avail_out != 0;
      if (finished && stream.avail_in == 0) {
        return true;
      }
    }
  }
};

bool RowsAscendFromZero(const std::vector<int>& rows, int height) {
  if (rows.empty() || rows[0] != 0) {
    return false;
  }
  for (std::size_t i = 1; i < rows.size(); ++i) {
    if (rows[i] <= rows[i - 1] || rows[i] >= height) {
      return false;
    }
  }
  return true;
}

} // namespace

bool EncodeSegmentedPng(const RgbaImage& image, const std::vector<int>& segmentRows, int level,
                        std::vector<std::uint8_t>* out) {
  if (image.width <= 0 || image.height <= 0 || !RowsAscendFromZero(segmentRows, image.height)) {
    return false;
  }
  Deflater deflater(level);
  if (!deflater.ready) {
    return false;
  }
  // Each segment's compressed bytes, the zlib header in the first and its checksum in the last.
  std::vector<std::vector<std::uint8_t>> pieces(segmentRows.size());
  std::vector<RasterPngSegmentStart> starts;
  const std::size_t rowBytes = static_cast<std::size_t>(image.width) * 4;
  std::vector<std::uint8_t> row(rowBytes + 1);
  row[0] = kFilterNone;
  std::uint32_t streamOffset = kZlibHeaderLength;
  for (std::size_t s = 0; s < segmentRows.size(); ++s) {
    starts.push_back({static_cast<std::uint32_t>(segmentRows[s]), streamOffset});
    const int end = s + 1 < segmentRows.size() ? segmentRows[s + 1] : image.height;
    for (int y = segmentRows[s]; y < end; ++y) {
      std::memcpy(row.data() + 1, image.Row(y), rowBytes);
      if (!deflater.Put(row.data(), row.size(), Z_NO_FLUSH, &pieces[s])) {
        return false;
      }
    }
    const bool last = s + 1 == segmentRows.size();
    if (!deflater.Put(nullptr, 0, last ? Z_FINISH : Z_FULL_FLUSH, &pieces[s])) {
      return false;
    }
    streamOffset += static_cast<std::uint32_t>(pieces[s].size()) - (s == 0 ? kZlibHeaderLength : 0);
  }

  out->assign(PngSignature, PngSignature + sizeof PngSignature);
  std::vector<std::uint8_t> header;
  PutPngNumber(static_cast<std::uint32_t>(image.width), &header);
  PutPngNumber(static_cast<std::uint32_t>(image.height), &header);
  // Bit depth, colour type, then compression, filter method and interlace all 0.
  header.insert(header.end(), {kBitDepth8, kColourRgba, 0, 0, 0});
  PutChunk("IHDR", header.data(), header.size(), out);
  const std::vector<std::uint8_t> index = RasterPngSegmentChunkData(starts);
  PutChunk(kPngSegmentChunk, index.data(), index.size(), out);
  for (const std::vector<std::uint8_t>& piece : pieces) {
    PutChunk("IDAT", piece.data(), piece.size(), out);
  }
  PutChunk("IEND", nullptr, 0, out);
  return true;
}

} // namespace artwork
