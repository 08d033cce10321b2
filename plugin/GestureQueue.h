#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

// One step of an editor gesture, as formats that send parameter changes from their audio thread
// or a flush call need it: the gesture opens, values follow, the gesture closes.
struct IGestureRecord {
  enum class Kind : uint8_t { Begin, Value, End };
  Kind kind = Kind::Value;
  int32_t index = 0;
  double normalized = 0.0;
};

// Carries gesture records from the editor's thread to the thread that reports them to the host,
// without locks or allocation: one thread pushes, one thread drains. When the queue is full a
// push fails and the caller keeps the record's effect in the plug-in (the parameter is set
// already); the host then learns the value from its next read.
template <size_t Capacity> class IGestureQueue {
  static_assert(Capacity >= 2 && (Capacity & (Capacity - 1)) == 0,
                "the capacity is a power of two, so positions wrap with a mask");

public:
  bool Push(const IGestureRecord& record) {
    const size_t tail = writePosition.load(std::memory_order_relaxed);
    if (tail - readPosition.load(std::memory_order_acquire) == Capacity) {
      return false;
    }
    records[tail & (Capacity - 1)] = record;
    writePosition.store(tail + 1, std::memory_order_release);
    return true;
  }

  // Hands every waiting record to take(record), oldest first; answers how many.
  template <typename Take> size_t Drain(Take&& take) {
    size_t head = readPosition.load(std::memory_order_relaxed);
    const size_t tail = writePosition.load(std::memory_order_acquire);
    const size_t count = tail - head;
    for (; head != tail; ++head) {
      take(records[head & (Capacity - 1)]);
    }
    readPosition.store(head, std::memory_order_release);
    return count;
  }

  bool Empty() const {
    return readPosition.load(std::memory_order_acquire) ==
           writePosition.load(std::memory_order_acquire);
  }

private:
  std::array<IGestureRecord, Capacity> records{};
  // Counters that only grow; their difference is the number of waiting records.
  alignas(64) std::atomic<size_t> writePosition{0};
  alignas(64) std::atomic<size_t> readPosition{0};
};
