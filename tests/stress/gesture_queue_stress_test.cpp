#include "plugin/GestureQueue.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

// The editor's thread pushes whole gestures while another thread drains them, as a format's
// audio thread or flush call would: every record arrives once, in order, with its value.
TEST(GestureQueue, RecordsPushedOnOneThreadArriveInOrderOnAnother) {
  constexpr int Gestures = 20000;
  IGestureQueue<64> queue;
  std::thread editor([&] {
    for (int g = 0; g < Gestures; ++g) {
      for (IGestureRecord::Kind kind :
           {IGestureRecord::Kind::Begin, IGestureRecord::Kind::Value, IGestureRecord::Kind::End}) {
        const IGestureRecord record{kind, g % 3, g / double(Gestures)};
        while (!queue.Push(record)) {
          std::this_thread::yield();
        }
      }
    }
  });
  std::vector<IGestureRecord> received;
  received.reserve(3 * Gestures);
  while (received.size() < 3u * Gestures) {
    queue.Drain([&](const IGestureRecord& record) { received.push_back(record); });
  }
  editor.join();
  EXPECT_TRUE(queue.Empty());
  for (int g = 0; g < Gestures; ++g) {
    const IGestureRecord* gesture = &received[3u * g];
    ASSERT_EQ(gesture[0].kind, IGestureRecord::Kind::Begin);
    ASSERT_EQ(gesture[1].kind, IGestureRecord::Kind::Value);
    ASSERT_EQ(gesture[2].kind, IGestureRecord::Kind::End);
    ASSERT_EQ(gesture[1].index, g % 3);
    ASSERT_EQ(gesture[1].normalized, g / double(Gestures));
  }
}

TEST(GestureQueue, AFullQueueRefusesWithoutOverwriting) {
  IGestureQueue<4> queue;
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(queue.Push({IGestureRecord::Kind::Value, i, 0.0}));
  }
  EXPECT_FALSE(queue.Push({IGestureRecord::Kind::Value, 99, 0.0}));
  std::vector<int> indices;
  EXPECT_EQ(queue.Drain([&](const IGestureRecord& record) { indices.push_back(record.index); }),
            4u);
  EXPECT_EQ(indices, (std::vector<int>{0, 1, 2, 3}));
}
