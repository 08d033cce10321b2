#include "platform/DebugLineQueue.h"
#include "platform/DebugLineWriter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {
std::string Pop(DebugLineQueue& queue, uint32_t* dropped = nullptr) {
  char line[DebugLineQueue::MaxLineLength + 1];
  uint32_t droppedBefore = 0;
  const int length = queue.Pop(line, &droppedBefore);
  if (dropped) {
    *dropped = droppedBefore;
  }
  return length < 0 ? std::string("<none>") : std::string(line, static_cast<size_t>(length));
}

bool Push(DebugLineQueue& queue, const std::string& line) {
  return queue.Push(line.data(), static_cast<int>(line.size()));
}
} // namespace

TEST(DebugLineQueue, LinesComeOutWholeAndInOrderAcrossTheRingsEnd) {
  auto queue = std::make_unique<DebugLineQueue>();
  EXPECT_EQ(Pop(*queue), "<none>");
  // Lines of every size up to the longest, many times round the ring.
  for (int round = 0; round < 40; ++round) {
    const std::string longest(DebugLineQueue::MaxLineLength, static_cast<char>('a' + round % 26));
    const std::string lines[] = {"frame: 1\r\n", "", std::string(117, 'x'), longest,
                                 std::string(233, 'y') + "\r\n"};
    for (const std::string& line : lines) {
      ASSERT_TRUE(Push(*queue, line));
    }
    for (const std::string& line : lines) {
      uint32_t dropped = 1;
      ASSERT_EQ(Pop(*queue, &dropped), line);
      EXPECT_EQ(dropped, 0u);
    }
  }
  // A longer line is cut to the longest.
  ASSERT_TRUE(Push(*queue, std::string(5000, 'z')));
  EXPECT_EQ(Pop(*queue), std::string(DebugLineQueue::MaxLineLength, 'z'));
}

TEST(DebugLineQueue, FullQueueDropsAndTheNextLineCarriesTheCount) {
  auto queue = std::make_unique<DebugLineQueue>();
  int accepted = 0;
  while (Push(*queue, std::to_string(accepted))) {
    ++accepted;
  }
  EXPECT_GT(accepted, 100);
  EXPECT_FALSE(Push(*queue, "also dropped"));
  // Room for one short line once the oldest is written, not for a long one.
  EXPECT_EQ(Pop(*queue), "0");
  EXPECT_FALSE(Push(*queue, std::string(300, 'l')));
  ASSERT_TRUE(Push(*queue, "after the gap"));
  for (int i = 1; i < accepted; ++i) {
    uint32_t dropped = 9;
    ASSERT_EQ(Pop(*queue, &dropped), std::to_string(i));
    EXPECT_EQ(dropped, 0u);
  }
  uint32_t dropped = 0;
  EXPECT_EQ(Pop(*queue, &dropped), "after the gap");
  EXPECT_EQ(dropped, 3u);
}

// Several printing threads against the writer: every line arrives intact, each thread's lines
// in the order printed, and every line is either written or counted as dropped.
TEST(DebugLineQueue, ManyPrintersOneWriterLoseNothingUncounted) {
  auto queue = std::make_unique<DebugLineQueue>();
  constexpr int Printers = 3;
  constexpr int LinesEach = 20000;
  std::atomic<int> printing{Printers};
  std::vector<std::thread> printers;
  for (int p = 0; p < Printers; ++p) {
    printers.emplace_back([&, p] {
      char line[300];
      for (int i = 0; i < LinesEach; ++i) {
        // Some lines span several chunks.
        const int length = std::snprintf(line, sizeof line, "%d %d %s", p, i,
                                         i % 50 == 0 ? std::string(200, '-').c_str() : "");
        queue->Push(line, length);
      }
      --printing;
    });
  }
  int next[Printers] = {};
  long written = 0;
  long dropped = 0;
  for (;;) {
    const bool finished = printing.load() == 0;
    char line[DebugLineQueue::MaxLineLength + 1];
    uint32_t droppedBefore = 0;
    const int length = queue->Pop(line, &droppedBefore);
    if (length < 0) {
      if (finished) {
        break;
      }
      std::this_thread::yield();
      continue;
    }
    dropped += droppedBefore;
    ++written;
    int printer = -1;
    int index = -1;
    ASSERT_EQ(std::sscanf(line, "%d %d", &printer, &index), 2) << line;
    ASSERT_GE(printer, 0);
    ASSERT_LT(printer, Printers);
    ASSERT_GE(index, next[printer]) << "printer " << printer;
    next[printer] = index + 1;
    const std::string tail = index % 50 == 0 ? std::string(200, '-') : "";
    char expected[300];
    std::snprintf(expected, sizeof expected, "%d %d %s", printer, index, tail.c_str());
    ASSERT_STREQ(line, expected);
  }
  for (std::thread& printer : printers) {
    printer.join();
  }
  // Drops counted after the last line that got in stay with the queue, for a later line.
  uint32_t pending = 0;
  ASSERT_TRUE(queue->Push("last", 4));
  EXPECT_EQ(Pop(*queue, &pending), "last");
  EXPECT_EQ(written + dropped + pending, static_cast<long>(Printers) * LinesEach);
}

namespace {
std::vector<std::string>* writtenLines = nullptr;
void Record(const char* line) {
  writtenLines->emplace_back(line);
}
} // namespace

TEST(DebugLineWriter, WritesInOrderAndSaysHowManyLinesWereDropped) {
  std::vector<std::string> lines;
  writtenLines = &lines;
  auto queue = std::make_unique<DebugLineQueue>();
  {
    DebugLineWriter writer(*queue, Record);
    // Filled while no writer runs, so some lines must be dropped.
    int accepted = 0;
    while (Push(*queue, "waiting\r\n")) {
      ++accepted;
    }
    Push(*queue, "dropped");
    Push(*queue, "dropped too");
    writer.Drain();
    ASSERT_EQ(lines.size(), static_cast<size_t>(accepted));
    Push(*queue, "frame: 1\r\n");
    writer.Start();
    Push(*queue, "frame: 2\r\n");
    writer.Stop();
    ASSERT_EQ(lines.size(), static_cast<size_t>(accepted + 3));
    // The push that found the queue full and the two after it.
    EXPECT_EQ(lines[static_cast<size_t>(accepted)], "(3 debug lines dropped)\r\n");
    EXPECT_EQ(lines[static_cast<size_t>(accepted) + 1], "frame: 1\r\n");
    EXPECT_EQ(lines.back(), "frame: 2\r\n");
    // Restarted and stopped again; what came meanwhile is written at the stop.
    writer.Start();
    Push(*queue, "again\r\n");
  }
  EXPECT_EQ(lines.back(), "again\r\n");
  writtenLines = nullptr;
}
