#include "plugin/ByteBlock.h"

#include <cstring>
#include <limits>
#include <new>

namespace {
constexpr int64_t pageSize = 4096;
// Room the allocator keeps for itself within a page.
constexpr int64_t allocatorOverhead = 96;
constexpr int64_t maxGrowthStep = 4 * 1024 * 1024;

// Grow in whole pages by about half again, never by more than 4 MiB at a time.
int64_t CapacityFor(int64_t newSize) {
  int64_t extra = (newSize / 2) / pageSize * pageSize;
  if (extra < pageSize) {
    extra = pageSize;
  } else if (extra > maxGrowthStep) {
    extra = maxGrowthStep;
  }
  return (newSize + allocatorOverhead + extra) / pageSize * pageSize - allocatorOverhead;
}
} // namespace

IByteBlock::IByteBlock(IByteBlock&& other) noexcept
    : bytes(std::move(other.bytes)), size(other.size), capacity(other.capacity) {
  other.size = 0;
  other.capacity = 0;
}

IByteBlock& IByteBlock::operator=(IByteBlock&& other) noexcept {
  bytes = std::move(other.bytes);
  size = other.size;
  capacity = other.capacity;
  other.size = 0;
  other.capacity = 0;
  return *this;
}

bool IByteBlock::Reserve(int64_t newSize) {
  if (newSize < 0 || newSize > std::numeric_limits<int>::max()) {
    return false;
  }
  if (newSize <= capacity) {
    return true;
  }
  const int64_t newCapacity = CapacityFor(newSize);
  if (static_cast<uint64_t>(newCapacity) > std::numeric_limits<size_t>::max()) {
    return false;
  }
  std::unique_ptr<uint8_t[]> grown(new (std::nothrow) uint8_t[static_cast<size_t>(newCapacity)]);
  if (!grown) {
    return false;
  }
  if (size > 0) {
    std::memcpy(grown.get(), bytes.get(), static_cast<size_t>(size));
  }
  bytes = std::move(grown);
  capacity = newCapacity;
  return true;
}

bool IByteBlock::Resize(int newSize) {
  if (!Reserve(newSize)) {
    return false;
  }
  if (newSize > size) {
    std::memset(bytes.get() + size, 0, static_cast<size_t>(newSize - size));
  }
  size = newSize;
  return true;
}

bool IByteBlock::AppendBytes(const void* data, int count) {
  if (count < 0 || (count > 0 && !data)) {
    return false;
  }
  if (!Reserve(static_cast<int64_t>(size) + count)) {
    return false;
  }
  if (count > 0) {
    std::memcpy(bytes.get() + size, data, static_cast<size_t>(count));
  }
  size += count;
  return true;
}

bool IByteBlock::AppendByte(uint8_t byte) {
  return AppendBytes(&byte, 1);
}

bool IByteBlock::AppendInt32(int32_t value) {
  const uint32_t bits = static_cast<uint32_t>(value);
  const uint8_t encoded[4] = {static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8),
                              static_cast<uint8_t>(bits >> 16), static_cast<uint8_t>(bits >> 24)};
  return AppendBytes(encoded, 4);
}

bool IByteBlock::AppendDouble(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof(bits));
  uint8_t encoded[8];
  for (int i = 0; i < 8; ++i) {
    encoded[i] = static_cast<uint8_t>(bits >> (8 * i));
  }
  return AppendBytes(encoded, 8);
}

bool IByteBlock::Holds(int position, int64_t count) const {
  return position >= 0 && count >= 0 && static_cast<int64_t>(position) + count <= size;
}

int IByteBlock::ReadBytes(int position, void* out, int count) const {
  if (!Holds(position, count) || (count > 0 && !out)) {
    return -1;
  }
  if (count > 0) {
    std::memcpy(out, bytes.get() + position, static_cast<size_t>(count));
  }
  return position + count;
}

int IByteBlock::ReadByte(int position, uint8_t* out) const {
  return ReadBytes(position, out, 1);
}

int IByteBlock::ReadInt32(int position, int32_t* out) const {
  uint8_t encoded[4];
  const int next = ReadBytes(position, encoded, 4);
  if (next >= 0) {
    const uint32_t bits =
        static_cast<uint32_t>(encoded[0]) | (static_cast<uint32_t>(encoded[1]) << 8) |
        (static_cast<uint32_t>(encoded[2]) << 16) | (static_cast<uint32_t>(encoded[3]) << 24);
    *out = static_cast<int32_t>(bits);
  }
  return next;
}

int IByteBlock::ReadDouble(int position, double* out) const {
  uint8_t encoded[8];
  const int next = ReadBytes(position, encoded, 8);
  if (next >= 0) {
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) {
      bits |= static_cast<uint64_t>(encoded[i]) << (8 * i);
    }
    std::memcpy(out, &bits, sizeof(bits));
  }
  return next;
}
