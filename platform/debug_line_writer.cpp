#include "platform/DebugLineWriter.h"

#include "platform/DebugOutput.h"
#include "platform/DebugWriterUse.h"

#include <chrono>
#include <cstdio>

void DebugLineWriter::Start() {
  if (thread.joinable()) {
    return;
  }
  {
    std::lock_guard<std::mutex> guard(wakeMutex);
    stopping = false;
  }
  thread = std::thread([this] { Run(); });
}

void DebugLineWriter::Stop() {
  if (!thread.joinable()) {
    return;
  }
  {
    std::lock_guard<std::mutex> guard(wakeMutex);
    stopping = true;
  }
  wake.notify_one();
  thread.join();
}

void DebugLineWriter::Drain() {
  uint32_t dropped = 0;
  while (queue.Pop(line, &dropped) >= 0) {
    if (dropped > 0) {
      char note[64];
      std::snprintf(note, sizeof note, "(%lu debug lines dropped)\r\n",
                    static_cast<unsigned long>(dropped));
      output(note);
    }
    output(line);
  }
}

void DebugLineWriter::Run() {
  for (;;) {
    Drain();
    std::unique_lock<std::mutex> lock(wakeMutex);
    if (stopping) {
      break;
    }
    wake.wait_for(lock, std::chrono::milliseconds(PollMilliseconds), [this] { return stopping; });
  }
  Drain();
}

namespace {
DebugLineQueue processLines;

struct ProcessWriter {
  std::mutex lifecycle;
  int users = 0;
  DebugLineWriter writer{processLines, EmitDebugLine};
};

// Never destroyed: a plug-in object a host leaks must not end the process at unload.
ProcessWriter& Writer() {
  static ProcessWriter* writer = new ProcessWriter;
  return *writer;
}
} // namespace

DebugLineQueue& ProcessDebugLines() {
  return processLines;
}

void AcquireDebugLineWriter() {
  if (!PlatformHasDebugOutput()) {
    return;
  }
  ProcessWriter& process = Writer();
  std::lock_guard<std::mutex> guard(process.lifecycle);
  if (process.users++ == 0) {
    process.writer.Start();
  }
}

void ReleaseDebugLineWriter() {
  if (!PlatformHasDebugOutput()) {
    return;
  }
  ProcessWriter& process = Writer();
  std::lock_guard<std::mutex> guard(process.lifecycle);
  if (--process.users == 0) {
    process.writer.Stop();
  }
}
