#include "effect/IMidiEventQueue.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
IMidiEvent EventAt(int offset, uint8_t tag = 0) {
  IMidiEvent event;
  event.offset = offset;
  event.data1 = tag;
  return event;
}

// Takes every pending event off the queue, in delivery order.
std::vector<std::pair<int, int>> Drain(IMidiEventQueue& queue) {
  std::vector<std::pair<int, int>> delivered;
  while (queue.HasPending()) {
    delivered.emplace_back(queue.Next().offset, queue.Next().data1);
    queue.DropNext();
  }
  return delivered;
}
} // namespace

TEST(MidiEventQueue, OrdersByOffsetKeepingArrivalOrderForEqualOffsets) {
  IMidiEventQueue queue;
  queue.Add(EventAt(5, 1));
  queue.Add(EventAt(3, 2));
  queue.Add(EventAt(3, 3));
  queue.Add(EventAt(-2, 4));
  queue.Add(EventAt(5, 5));
  queue.Add(EventAt(4, 6));
  EXPECT_EQ(Drain(queue),
            (std::vector<std::pair<int, int>>{{-2, 4}, {3, 2}, {3, 3}, {4, 6}, {5, 1}, {5, 5}}));
}

TEST(MidiEventQueue, InsertionNeverReachesBackIntoDeliveredEvents) {
  IMidiEventQueue queue;
  queue.Add(EventAt(1, 1));
  queue.Add(EventAt(9, 2));
  queue.DropNext();
  queue.Add(EventAt(0, 3));
  EXPECT_EQ(Drain(queue), (std::vector<std::pair<int, int>>{{0, 3}, {9, 2}}));
}

TEST(MidiEventQueue, ResetCompactsAndSizesForTheBlock) {
  IMidiEventQueue queue;
  for (int i = 0; i < 5; ++i) {
    queue.Add(EventAt(i, static_cast<uint8_t>(i)));
  }
  queue.DropNext();
  queue.DropNext();
  queue.Compact();
  queue.Resize(256);
  EXPECT_EQ(queue.ReadIndex(), 0);
  EXPECT_EQ(queue.Capacity(), 512);
  EXPECT_EQ(queue.GrowStep(), 512);
  EXPECT_EQ(queue.Slot(0).offset, 2);
  EXPECT_EQ(queue.Slot(2).offset, 4);
  EXPECT_EQ(queue.PendingCount(), 3);
}

TEST(MidiEventQueue, ResizeRoundsToMultiplesOf512AndKeepsStorageForNoBlock) {
  IMidiEventQueue queue;
  EXPECT_EQ(queue.Capacity(), 1024);
  queue.Resize(513);
  EXPECT_EQ(queue.Capacity(), 1024);
  queue.Resize(100);
  EXPECT_EQ(queue.Capacity(), 512);
  queue.Resize(0);
  EXPECT_EQ(queue.Capacity(), 512);
  EXPECT_EQ(queue.GrowStep(), 512);
  queue.Add(EventAt(1));
  EXPECT_EQ(queue.PendingCount(), 1);
}

TEST(MidiEventQueue, ResizeNeverDropsPendingEvents) {
  IMidiEventQueue queue;
  for (int i = 0; i < 700; ++i) {
    queue.Add(EventAt(i));
  }
  queue.Resize(64);
  EXPECT_EQ(queue.Capacity(), 1024);
  EXPECT_EQ(queue.PendingCount(), 700);
}

TEST(MidiEventQueue, FullQueueCompactsOrGrowsByItsStep) {
  IMidiEventQueue queue;
  queue.Resize(512);
  for (int i = 0; i < 512; ++i) {
    queue.Add(EventAt(i));
  }
  queue.DropNext();
  // Full with a delivered prefix: compacted, no growth.
  queue.Add(EventAt(1000));
  EXPECT_EQ(queue.Capacity(), 512);
  EXPECT_EQ(queue.ReadIndex(), 0);
  // Full without one: grows by the step.
  queue.Add(EventAt(1001));
  EXPECT_EQ(queue.Capacity(), 1024);
  EXPECT_EQ(queue.PendingCount(), 513);
}

TEST(MidiEventQueue, EventsThatNeverFallDueStopGrowingTheQueue) {
  IMidiEventQueue queue;
  for (int i = 0; i < IMidiEventQueue::MaxSlots + 100; ++i) {
    queue.Add(EventAt(1 << 30));
  }
  EXPECT_EQ(queue.Capacity(), IMidiEventQueue::MaxSlots);
  EXPECT_EQ(queue.PendingCount(), IMidiEventQueue::MaxSlots);
  // Once some are delivered there is room again.
  queue.DropNext();
  queue.Add(EventAt(0, 7));
  EXPECT_EQ(queue.Next().data1, 7);
}
