#pragma once

#include <atomic>
#include <cstdint>

// A fixed queue of finished debug lines between any number of printing threads and one writer.
// Pushing copies the line into preallocated chunks and never allocates, locks or waits: a line
// that finds no room is dropped and counted, and the next line that gets in carries the count.
// Lines come out in the order their room was taken.
class DebugLineQueue {
public:
  // Longest line kept, terminator excluded (the longest line DebugPrint makes).
  static constexpr int MaxLineLength = 4095;

  DebugLineQueue();
  DebugLineQueue(const DebugLineQueue&) = delete;
  DebugLineQueue& operator=(const DebugLineQueue&) = delete;

  // Any thread. length is cut to MaxLineLength. False when the line was dropped.
  bool Push(const char* line, int length);
  // The writer only. Copies the oldest line into out (MaxLineLength + 1 characters, terminated)
  // and returns its length, with the number of lines dropped just before it in droppedBefore;
  // -1 when no line is ready.
  int Pop(char* out, uint32_t* droppedBefore);

private:
  static constexpr uint32_t ChunkCount = 512; // a power of two
  static constexpr int ChunkText = 116;       // so that a chunk is 128 bytes
  struct Chunk {
    // Vyukov's sequence: equal to the position when free for it, position + 1 once filled.
    std::atomic<uint32_t> sequence{0};
    // The record's header, in its first chunk only.
    uint32_t droppedBefore = 0;
    uint16_t chunkCount = 0;
    uint16_t length = 0;
    char text[ChunkText] = {};
  };
  static_assert((ChunkCount & (ChunkCount - 1)) == 0, "chunk count must be a power of two");
  static_assert((MaxLineLength + ChunkText - 1) / ChunkText <= ChunkCount, "a line must fit");

  Chunk& At(uint32_t position) { return chunks[position & (ChunkCount - 1)]; }

  Chunk chunks[ChunkCount];
  alignas(64) std::atomic<uint32_t> enqueuePosition{0};
  alignas(64) std::atomic<uint32_t> droppedLines{0};
  alignas(64) uint32_t dequeuePosition = 0;
};
