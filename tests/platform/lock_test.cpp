#include "platform/Lock.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

TEST(RecursiveLock, SameThreadMayReenter) {
  IRecursiveLock lock;
  IScopedLock outer(lock);
  IScopedLock inner(lock);
  SUCCEED();
}

TEST(RecursiveLock, ExcludesOtherThreads) {
  IRecursiveLock lock;
  long counter = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 20000; ++i) {
        IScopedLock guard(lock);
        IScopedLock again(lock);
        ++counter;
      }
    });
  }
  for (auto& thread : threads) {
    thread.join();
  }
  EXPECT_EQ(counter, 80000);
}

TEST(ProcessLock, EachIdIsOneDistinctLock) {
  EXPECT_EQ(&ProcessLock(ProcessLockId::Creation), &ProcessLock(ProcessLockId::Creation));
  EXPECT_NE(&ProcessLock(ProcessLockId::Creation), &ProcessLock(ProcessLockId::ImageCache));
  EXPECT_NE(&ProcessLock(ProcessLockId::ImageCache), &ProcessLock(ProcessLockId::FontCache));
}
