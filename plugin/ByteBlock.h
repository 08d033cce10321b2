#pragma once

#include <cstdint>
#include <memory>

// A growable byte array that state is written into and read back from. Values are stored
// little-endian with no padding or tags. Reads take a position and return the position after
// the value, or -1 when the block holds too few bytes there (the output is then untouched);
// a position of -1 stays -1.
class IByteBlock {
public:
  IByteBlock() = default;
  IByteBlock(const IByteBlock&) = delete;
  IByteBlock& operator=(const IByteBlock&) = delete;
  IByteBlock(IByteBlock&& other) noexcept;
  IByteBlock& operator=(IByteBlock&& other) noexcept;

  int Size() const { return size; }
  int64_t Capacity() const { return capacity; }
  const uint8_t* Data() const { return bytes.get(); }
  uint8_t* Data() { return bytes.get(); }

  // Forgets the contents and keeps the memory for the next writes.
  void Clear() { size = 0; }
  // Sets the size; bytes beyond the old size read as zero. False, with the block unchanged,
  // when the memory cannot be had or the size is negative.
  bool Resize(int newSize);

  // Appends fail, leaving the block as it was, when the memory cannot be had.
  bool AppendBytes(const void* data, int count);
  bool AppendByte(uint8_t byte);
  bool AppendInt32(int32_t value);
  bool AppendDouble(double value);

  int ReadBytes(int position, void* out, int count) const;
  int ReadByte(int position, uint8_t* out) const;
  int ReadInt32(int position, int32_t* out) const;
  int ReadDouble(int position, double* out) const;

  // Whether count bytes are present from position on (false for negative arguments).
  bool Holds(int position, int64_t count) const;

private:
  bool Reserve(int64_t newSize);

  std::unique_ptr<uint8_t[]> bytes;
  int size = 0;
  int64_t capacity = 0;
};
