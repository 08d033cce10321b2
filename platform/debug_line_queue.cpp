#include "platform/DebugLineQueue.h"

#include <algorithm>
#include <cstring>

DebugLineQueue::DebugLineQueue() {
  for (uint32_t i = 0; i < ChunkCount; ++i) {
    chunks[i].sequence.store(i, std::memory_order_relaxed);
  }
}

bool DebugLineQueue::Push(const char* line, int length) {
  length = std::clamp(length, 0, MaxLineLength);
  const uint32_t count = static_cast<uint32_t>(std::max(1, (length + ChunkText - 1) / ChunkText));
  uint32_t position = enqueuePosition.load(std::memory_order_relaxed);
  for (;;) {
    // The writer frees chunks in order, so when the last chunk is free all before it are too.
    const uint32_t last = position + count - 1;
    const uint32_t sequence = At(last).sequence.load(std::memory_order_acquire);
    const auto lead = static_cast<int32_t>(sequence - last);
    if (lead == 0) {
      if (enqueuePosition.compare_exchange_weak(position, position + count,
                                                std::memory_order_relaxed)) {
        break;
      }
    } else if (lead < 0) {
      droppedLines.fetch_add(1, std::memory_order_relaxed);
      return false;
    } else {
      position = enqueuePosition.load(std::memory_order_relaxed);
    }
  }
  Chunk& first = At(position);
  first.droppedBefore = droppedLines.exchange(0, std::memory_order_relaxed);
  first.chunkCount = static_cast<uint16_t>(count);
  first.length = static_cast<uint16_t>(length);
  for (uint32_t i = 0; i < count; ++i) {
    const int offset = static_cast<int>(i) * ChunkText;
    std::memcpy(At(position + i).text, line + offset,
                static_cast<size_t>(std::min(ChunkText, length - offset)));
  }
  // The first chunk is published last: once the writer sees it, the whole line is there.
  for (uint32_t i = count; i-- > 0;) {
    At(position + i).sequence.store(position + i + 1, std::memory_order_release);
  }
  return true;
}

int DebugLineQueue::Pop(char* out, uint32_t* droppedBefore) {
  Chunk& first = At(dequeuePosition);
  if (first.sequence.load(std::memory_order_acquire) != dequeuePosition + 1) {
    return -1;
  }
  const uint32_t count = first.chunkCount;
  const int length = first.length;
  *droppedBefore = first.droppedBefore;
  for (uint32_t i = 0; i < count; ++i) {
    const int offset = static_cast<int>(i) * ChunkText;
    Chunk& chunk = At(dequeuePosition + i);
    std::memcpy(out + offset, chunk.text,
                static_cast<size_t>(std::min(ChunkText, length - offset)));
    chunk.sequence.store(dequeuePosition + i + ChunkCount, std::memory_order_release);
  }
  out[length] = '\0';
  dequeuePosition += count;
  return length;
}
