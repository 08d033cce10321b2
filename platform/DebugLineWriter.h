#pragma once

#include "platform/DebugLineQueue.h"

#include <condition_variable>
#include <mutex>
#include <thread>

// The thread that takes lines off a DebugLineQueue and hands them, in order, to an output that
// may block (a debug viewer makes OutputDebugStringA wait until it has taken each line). It
// polls the queue, so printing threads never signal it; only Start and Stop lock.
class DebugLineWriter {
public:
  using Output = void (*)(const char* line);
  // How often the writer looks for new lines.
  static constexpr int PollMilliseconds = 10;

  DebugLineWriter(DebugLineQueue& queue, Output output) : queue(queue), output(output) {}
  ~DebugLineWriter() { Stop(); }
  DebugLineWriter(const DebugLineWriter&) = delete;
  DebugLineWriter& operator=(const DebugLineWriter&) = delete;

  void Start();
  // Passes on every line queued so far, then ends the thread.
  void Stop();
  // Passes on every line ready now; the writer thread's work, callable while it is stopped.
  void Drain();

private:
  void Run();

  DebugLineQueue& queue;
  Output output;
  std::thread thread;
  std::mutex wakeMutex;
  std::condition_variable wake;
  bool stopping = false;
  char line[DebugLineQueue::MaxLineLength + 1] = {};
};

// The process-wide queue that DebugPrint fills where the platform has a debugger output.
DebugLineQueue& ProcessDebugLines();
