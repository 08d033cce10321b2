#pragma once

#include "plugin/HostEvents.h"

#include <memory>

// MIDI events waiting for their sample, ordered by offset; events with equal offsets keep their
// order of arrival. Delivered events are not removed one by one: the read index moves past
// them and Compact drops the dead prefix in bulk, so delivery never moves memory.
class IMidiEventQueue {
public:
  static constexpr int InitialSlots = 1024;
  // Events a host dates far beyond any block never fall due; this bound keeps them from
  // growing the storage without end.
  static constexpr int MaxSlots = 65536;

  // Starts with InitialSlots slots, or with none when that storage cannot be had.
  IMidiEventQueue();

  // Files the event by its offset. Dropped silently when the queue is full and cannot grow
  // (no growth step, MaxSlots reached, or no memory).
  void Add(const IMidiEvent& event);
  // Moves the pending events to the front of the storage.
  void Compact();
  // Sizes the storage for a block of blockFrames: growth step and capacity become multiples of
  // 512 slots. The old storage stays when new storage cannot be had.
  void Resize(int blockFrames);

  bool HasPending() const { return readIndex != endIndex; }
  // The next pending event; only valid while HasPending().
  const IMidiEvent& Next() const { return events[readIndex]; }
  void DropNext() { ++readIndex; }

  int PendingCount() const { return endIndex - readIndex; }
  int Capacity() const { return capacity; }
  int GrowStep() const { return growStep; }
  int ReadIndex() const { return readIndex; }
  // The event in storage slot index, delivered or not.
  const IMidiEvent& Slot(int index) const { return events[index]; }

private:
  bool Reallocate(int slots);

  std::unique_ptr<IMidiEvent[]> events;
  int capacity = 0;
  int growStep = InitialSlots;
  int readIndex = 0;
  int endIndex = 0;
};
