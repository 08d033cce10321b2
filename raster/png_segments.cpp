#include "raster/RasterSegmentedPng.h"

#include "raster/PngBytes.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {
constexpr std::size_t kChunkFraming = 12; // length, type, checksum
constexpr std::uint32_t kMaxChunkLength = 0x7FFFFFFFu;
constexpr std::size_t kHeaderLength = 13;
constexpr int kBitDepth8 = 8;
constexpr int kColourRgba = 6;
constexpr int kBytesPerPixel = 4;
// Wider rows than this are no strip of frames; the limit keeps every byte count in range.
constexpr std::uint32_t kMaxWidth = 1u << 16;
constexpr std::size_t kZlibHeaderLength = 2;
constexpr int kRawDeflateWindowBits = -15;

enum RowFilter : unsigned char { FilterNone, FilterSub, FilterUp, FilterAverage, FilterPaeth };

bool TypeIs(const unsigned char* type, const char* name) {
  return std::memcmp(type, name, 4) == 0;
}

bool ReadSegmentChunk(const unsigned char* body, std::size_t length,
                      std::vector<RasterPngSegmentStart>* starts) {
  if (length < 4) {
    return false;
  }
  const std::uint32_t count = PngNumber(body);
  if (count == 0 || (length - 4) / 8 != count || (length - 4) % 8 != 0) {
    return false;
  }
  starts->resize(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    (*starts)[i].firstRow = PngNumber(body + 4 + 8 * i);
    (*starts)[i].streamOffset = PngNumber(body + 8 + 8 * i);
  }
  return true;
}

unsigned char Paeth(int left, int above, int aboveLeft) {
  const int estimate = left + above - aboveLeft;
  const int toLeft = std::abs(estimate - left);
  const int toAbove = std::abs(estimate - above);
  const int toAboveLeft = std::abs(estimate - aboveLeft);
  if (toLeft <= toAbove && toLeft <= toAboveLeft) {
    return static_cast<unsigned char>(left);
  }
  return static_cast<unsigned char>(toAbove <= toAboveLeft ? above : aboveLeft);
}

// Undoes the row's filter in place against the row above (all zero above the image's first row).
bool Unfilter(unsigned char filter, unsigned char* row, const unsigned char* above,
              std::size_t length) {
  switch (filter) {
  case FilterNone:
    return true;
  case FilterSub:
    for (std::size_t i = kBytesPerPixel; i < length; ++i) {
      row[i] = static_cast<unsigned char>(row[i] + row[i - kBytesPerPixel]);
    }
    return true;
  case FilterUp:
    for (std::size_t i = 0; i < length; ++i) {
      row[i] = static_cast<unsigned char>(row[i] + above[i]);
    }
    return true;
  case FilterAverage:
    for (std::size_t i = 0; i < length; ++i) {
      const int left = i >= kBytesPerPixel ? row[i - kBytesPerPixel] : 0;
      row[i] = static_cast<unsigned char>(row[i] + ((left + above[i]) >> 1));
    }
    return true;
  case FilterPaeth:
    for (std::size_t i = 0; i < length; ++i) {
      const bool first = i < kBytesPerPixel;
      row[i] =
          static_cast<unsigned char>(row[i] + Paeth(first ? 0 : row[i - kBytesPerPixel], above[i],
                                                    first ? 0 : above[i - kBytesPerPixel]));
    }
    return true;
  default:
    return false;
  }
}

// RGBA bytes to the pixel word 0xAARRGGBB, as the whole-image decode leaves them.
void StorePixels(const unsigned char* rgba, int width, std::uint32_t* out) {
  for (int x = 0; x < width; ++x, rgba += kBytesPerPixel) {
    out[x] = (std::uint32_t(rgba[3]) << 24) | (std::uint32_t(rgba[0]) << 16) |
             (std::uint32_t(rgba[1]) << 8) | std::uint32_t(rgba[2]);
  }
}

// Feeds a range of the joined stream to zlib chunk by chunk.
class StreamFeed {
public:
  StreamFeed(const unsigned char* data, const std::vector<RasterPngDataChunk>& chunks,
             std::size_t begin, std::size_t end)
      : data(data), chunks(chunks), position(begin), end(end) {
    chunk = static_cast<std::size_t>(
        std::upper_bound(chunks.begin(), chunks.end(), begin,
                         [](std::size_t offset, const RasterPngDataChunk& c) {
                           return offset < c.streamOffset;
                         }) -
        chunks.begin() - 1);
  }

  // Points zlib at the next piece; false when the range is used up.
  bool Refill(z_stream* stream) {
    while (position < end && chunk + 1 < chunks.size() &&
           chunks[chunk + 1].streamOffset <= position) {
      ++chunk;
    }
    if (position >= end) {
      return false;
    }
    const RasterPngDataChunk& piece = chunks[chunk];
    const std::size_t take = std::min(piece.streamOffset + piece.length, end) - position;
    stream->next_in = const_cast<Bytef*>(data + piece.fileOffset + (position - piece.streamOffset));
    stream->avail_in = static_cast<uInt>(take);
    position += take;
    return true;
  }

private:
  const unsigned char* data;
  const std::vector<RasterPngDataChunk>& chunks;
  std::size_t position;
  std::size_t end;
  std::size_t chunk = 0;
};

struct Inflater {
  z_stream stream{};
  bool ready = false;
  Inflater() { ready = inflateInit2(&stream, kRawDeflateWindowBits) == Z_OK; }
  ~Inflater() {
    if (ready) {
      inflateEnd(&stream);
    }
  }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;
};

// Inflates until out is full; false when the stream ends or fails first.
bool InflateInto(Inflater& inflater, StreamFeed& feed, unsigned char* out, std::size_t length) {
  z_stream& stream = inflater.stream;
  stream.next_out = out;
  stream.avail_out = static_cast<uInt>(length);
  while (stream.avail_out > 0) {
    if (stream.avail_in == 0 && !feed.Refill(&stream)) {
      return false;
    }
    const int status = inflate(&stream, Z_NO_FLUSH);
    if (status == Z_STREAM_END) {
      return stream.avail_out == 0;
    }
    if (status != Z_OK) {
      return false;
    }
  }
  return true;
}

// True when the rest of the range holds no more image bytes: a range that inflates further
// belongs to an index that does not match its stream.
bool NothingFollows(Inflater& inflater, StreamFeed& feed) {
  unsigned char spare = 0;
  z_stream& stream = inflater.stream;
  stream.next_out = &spare;
  stream.avail_out = 1;
  for (;;) {
    if (stream.avail_in == 0 && !feed.Refill(&stream)) {
      return stream.avail_out == 1;
    }
    const int status = inflate(&stream, Z_NO_FLUSH);
    if (stream.avail_out == 0) {
      return false;
    }
    if (status == Z_STREAM_END) {
      return true;
    }
    if (status != Z_OK) {
      return false;
    }
  }
}
} // namespace

std::vector<std::uint8_t>
RasterPngSegmentChunkData(const std::vector<RasterPngSegmentStart>& starts) {
  std::vector<std::uint8_t> out;
  PutPngNumber(static_cast<std::uint32_t>(starts.size()), &out);
  for (const RasterPngSegmentStart& start : starts) {
    PutPngNumber(start.firstRow, &out);
    PutPngNumber(start.streamOffset, &out);
  }
  return out;
}

std::unique_ptr<RasterSegmentedPng> RasterSegmentedPng::Open(const unsigned char* data,
                                                             std::size_t size) {
  if (!data || size < sizeof PngSignature + kChunkFraming + kHeaderLength ||
      std::memcmp(data, PngSignature, sizeof PngSignature) != 0) {
    return nullptr;
  }
  const unsigned char* header = data + sizeof PngSignature;
  if (PngNumber(header) != kHeaderLength || !TypeIs(header + 4, "IHDR")) {
    return nullptr;
  }
  const unsigned char* fields = header + 8;
  const std::uint32_t width = PngNumber(fields);
  const std::uint32_t height = PngNumber(fields + 4);
  // Bit depth, colour type, compression, filter method, interlace.
  if (width == 0 || width > kMaxWidth || height == 0 || height > kMaxChunkLength ||
      fields[8] != kBitDepth8 || fields[9] != kColourRgba || fields[10] != 0 || fields[11] != 0 ||
      fields[12] != 0) {
    return nullptr;
  }
  std::unique_ptr<RasterSegmentedPng> image(new RasterSegmentedPng());
  image->data = data;
  image->width = static_cast<int>(width);
  image->height = static_cast<int>(height);
  bool indexed = false;
  std::size_t position = sizeof PngSignature;
  for (;;) {
    if (size - position < kChunkFraming) {
      return nullptr;
    }
    const std::uint32_t length = PngNumber(data + position);
    if (length > kMaxChunkLength || size - position - kChunkFraming < length) {
      return nullptr;
    }
    const unsigned char* type = data + position + 4;
    const std::size_t body = position + 8;
    if (TypeIs(type, kPngSegmentChunk)) {
      // Only before the image data, and only once, does the index describe it.
      if (indexed || !image->chunks.empty() ||
          !ReadSegmentChunk(data + body, length, &image->segments)) {
        return nullptr;
      }
      indexed = true;
    } else if (TypeIs(type, "IDAT")) {
      image->chunks.push_back({body, length, image->streamLength});
      image->streamLength += length;
    } else if (TypeIs(type, "IEND")) {
      break;
    }
    position = body + length + 4;
  }
  if (!indexed || image->chunks.empty() || image->chunks[0].length < kZlibHeaderLength) {
    return nullptr;
  }
  // Deflate without a preset dictionary, with the header's check intact.
  const unsigned char method = data[image->chunks[0].fileOffset];
  const unsigned char flags = data[image->chunks[0].fileOffset + 1];
  if ((method & 0x0F) != Z_DEFLATED || (method * 256u + flags) % 31 != 0 || (flags & 0x20) != 0) {
    return nullptr;
  }
  const std::vector<RasterPngSegmentStart>& starts = image->segments;
  if (starts[0].firstRow != 0 || starts[0].streamOffset < kZlibHeaderLength) {
    return nullptr;
  }
  for (std::size_t i = 0; i < starts.size(); ++i) {
    if (starts[i].firstRow >= height || starts[i].streamOffset >= image->streamLength) {
      return nullptr;
    }
    if (i > 0 && (starts[i].firstRow <= starts[i - 1].firstRow ||
                  starts[i].streamOffset <= starts[i - 1].streamOffset)) {
      return nullptr;
    }
  }
  return image;
}

int RasterSegmentedPng::SegmentFirstRow(int segment) const {
  segment = std::clamp(segment, 0, SegmentCount() - 1);
  return static_cast<int>(segments[segment].firstRow);
}

int RasterSegmentedPng::SegmentEndRow(int segment) const {
  segment = std::clamp(segment, 0, SegmentCount() - 1);
  return segment + 1 < SegmentCount() ? static_cast<int>(segments[segment + 1].firstRow) : height;
}

int RasterSegmentedPng::SegmentOfRow(int row) const {
  const auto after = std::upper_bound(
      segments.begin(), segments.end(), static_cast<std::uint32_t>(std::max(row, 0)),
      [](std::uint32_t r, const RasterPngSegmentStart& start) { return r < start.firstRow; });
  return std::max(static_cast<int>(after - segments.begin()) - 1, 0);
}

bool RasterSegmentedPng::ChecksumsHold(std::size_t streamBegin, std::size_t streamEnd) const {
  for (const RasterPngDataChunk& chunk : chunks) {
    if (chunk.streamOffset + chunk.length <= streamBegin || chunk.streamOffset >= streamEnd) {
      continue;
    }
    const unsigned char* type = data + chunk.fileOffset - 4;
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, type, static_cast<uInt>(4 + chunk.length));
    if (crc != PngNumber(data + chunk.fileOffset + chunk.length)) {
      return false;
    }
  }
  return true;
}

std::unique_ptr<RasterMemBitmap> RasterSegmentedPng::DecodeSegments(int first, int last) const {
  first = std::clamp(first, 0, SegmentCount() - 1);
  last = std::clamp(last, first, SegmentCount() - 1);
  const int topRow = SegmentFirstRow(first);
  const int rows = SegmentEndRow(last) - topRow;
  const std::size_t begin = segments[first].streamOffset;
  const std::size_t end =
      last + 1 < SegmentCount() ? segments[last + 1].streamOffset : streamLength;
  if (!ChecksumsHold(begin, end)) {
    return nullptr;
  }
  auto bitmap = std::make_unique<RasterMemBitmap>(width, rows);
  if (bitmap->Width() != width || bitmap->Height() != rows) {
    return nullptr;
  }
  Inflater inflater;
  if (!inflater.ready) {
    return nullptr;
  }
  StreamFeed feed(data, chunks, begin, end);
  const std::size_t pixelBytes = static_cast<std::size_t>(width) * kBytesPerPixel;
  // Each row with its filter byte in front; the row above starts as zeros.
  std::vector<unsigned char> current(pixelBytes + 1);
  std::vector<unsigned char> above(pixelBytes + 1, 0);
  std::uint32_t* out = bitmap->PixelData();
  const std::ptrdiff_t span = bitmap->RowSpan();
  for (int row = 0; row < rows; ++row) {
    if (!InflateInto(inflater, feed, current.data(), current.size())) {
      return nullptr;
    }
    const unsigned char filter = current[0];
    // Only the image's own first row may take zeros for the row above.
    const bool needsAbove = filter == FilterUp || filter == FilterAverage || filter == FilterPaeth;
    if (row == 0 && topRow != 0 && needsAbove) {
      return nullptr;
    }
    if (!Unfilter(filter, current.data() + 1, above.data() + 1, pixelBytes)) {
      return nullptr;
    }
    StorePixels(current.data() + 1, width, out + row * span);
    current.swap(above);
  }
  if (!NothingFollows(inflater, feed)) {
    return nullptr;
  }
  return bitmap;
}

std::unique_ptr<RasterSegmentedPng> RasterOpenSegmentedPngResource(int id, const char* fileName,
                                                                   RasterResourceFinder find) {
  if (!RasterNamesPngResource(fileName)) {
    return nullptr;
  }
  const unsigned char* data = nullptr;
  std::size_t size = 0;
  if (!find(id, "PNG", &data, &size) || !data) {
    return nullptr;
  }
  return RasterSegmentedPng::Open(data, size);
}
