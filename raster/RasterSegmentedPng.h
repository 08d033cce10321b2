#pragma once

#include "raster/RasterMemBitmap.h"
#include "raster/RasterPngResource.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// The name of the private chunk that lists where a PNG's deflate stream was restarted: ancillary
// and private (other readers skip it), unsafe to copy (an editor that rewrites the image data
// drops it instead of keeping offsets that no longer hold).
constexpr char kPngSegmentChunk[5] = "omSG";

// One restart of the stream: the image row it begins with and where its deflate data begins in
// the stream (the IDAT chunks' data joined, zlib header included). The row is filtered without
// reference to the row above, and the stream was fully flushed just before it.
struct RasterPngSegmentStart {
  std::uint32_t firstRow;
  std::uint32_t streamOffset;
};

// One IDAT chunk: where its data lies in the file and in the joined stream.
struct RasterPngDataChunk {
  std::size_t fileOffset;
  std::size_t length;
  std::size_t streamOffset;
};

// The chunk's data: the count, then each start, as big-endian 32-bit numbers.
std::vector<std::uint8_t>
RasterPngSegmentChunkData(const std::vector<RasterPngSegmentStart>& starts);

// An 8-bit RGBA PNG whose rows can be decoded a segment at a time, without the rows before them.
// Reads the bytes in place: they must outlive the object (the library's resources do).
class RasterSegmentedPng {
public:
  // None for a PNG without the segment chunk, of another pixel format, or whose chunk does not
  // fit its image and stream: such an image takes the whole-image decode.
  static std::unique_ptr<RasterSegmentedPng> Open(const unsigned char* data, std::size_t size);

  int Width() const { return width; }
  int Height() const { return height; }
  int SegmentCount() const { return static_cast<int>(segments.size()); }
  int SegmentFirstRow(int segment) const;
  // One past the segment's last row.
  int SegmentEndRow(int segment) const;
  // The segment holding the row, clamped to the image.
  int SegmentOfRow(int row) const;
  // Segments first to last (clamped) as one bitmap of pixels 0xAARRGGBB whose first row is the
  // first segment's; none when their data is damaged (a bad checksum, a stream that does not
  // inflate to exactly their rows, a first row filtered against the row above).
  std::unique_ptr<RasterMemBitmap> DecodeSegments(int first, int last) const;

private:
  RasterSegmentedPng() = default;
  bool ChecksumsHold(std::size_t streamBegin, std::size_t streamEnd) const;

  const unsigned char* data = nullptr;
  int width = 0;
  int height = 0;
  std::size_t streamLength = 0;
  std::vector<RasterPngDataChunk> chunks;
  std::vector<RasterPngSegmentStart> segments;
};

// Opens the module's PNG resource id as a segmented image; none for another name, a missing
// resource, or one without usable segments.
std::unique_ptr<RasterSegmentedPng>
RasterOpenSegmentedPngResource(int id, const char* fileName,
                               RasterResourceFinder find = FindModuleResource);
