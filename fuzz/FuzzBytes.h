#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

// Reads a fuzzer's input from the front, value by value; once the bytes run out every read
// gives zeros. The seed generator writes its seeds in the same order.
class FuzzBytes {
public:
  FuzzBytes(const uint8_t* data, size_t size) : data(data), size(size) {}

  size_t Remaining() const { return size - position; }

  template <typename T> T Take() {
    T value{};
    const size_t count = sizeof(T) < Remaining() ? sizeof(T) : Remaining();
    std::memcpy(&value, data + position, count);
    position += count;
    return value;
  }

  std::vector<uint8_t> TakeBytes(size_t count) {
    if (count > Remaining()) {
      count = Remaining();
    }
    std::vector<uint8_t> taken(data + position, data + position + count);
    position += count;
    return taken;
  }

  std::vector<uint8_t> TakeRest() { return TakeBytes(Remaining()); }

private:
  const uint8_t* data;
  size_t size;
  size_t position = 0;
};

// The writing side, for seeds.
class FuzzBytesWriter {
public:
  template <typename T> void Put(T value) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&value);
    written.insert(written.end(), bytes, bytes + sizeof(T));
  }
  void PutBytes(const void* bytes, size_t count) {
    const auto* start = static_cast<const uint8_t*>(bytes);
    written.insert(written.end(), start, start + count);
  }
  const std::vector<uint8_t>& Bytes() const { return written; }

private:
  std::vector<uint8_t> written;
};
