#include "platform/DebugPrint.h"

#include "platform/DebugLineWriter.h"
#include "platform/DebugOutput.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {
constexpr int kLineCapacity = 4096;
constexpr int kMaxText = kLineCapacity - 3; // room for "\r\n" and the terminator

std::atomic<DebugSink> debugSink{nullptr};

void FormatLine(char* out, const char* format, va_list args) {
  int length = std::vsnprintf(out, kMaxText + 1, format, args);
  if (length < 0 || length > kMaxText) {
    length = length < 0 ? 0 : kMaxText;
  }
  out[length] = '\0';
  while (length > 0 &&
         (out[length - 1] == ' ' || out[length - 1] == '\t' || out[length - 1] == '\r' ||
          out[length - 1] == '\n' || out[length - 1] == '\v' || out[length - 1] == '\f')) {
    --length;
  }
  std::memcpy(out + length, "\r\n", 3);
}

void PublishLine(const char* line, DebugSink sink) {
  if (PlatformHasDebugOutput()) {
    ProcessDebugLines().Push(line, static_cast<int>(std::strlen(line)));
  }
  if (sink) {
    sink(line);
  }
}
} // namespace

void FormatDebugLine(char* out, const char* format, ...) {
  va_list args;
  va_start(args, format);
  FormatLine(out, format, args);
  va_end(args);
}

void DebugPrint(const char* format, ...) {
  const DebugSink sink = debugSink.load(std::memory_order_acquire);
  if (!sink && !PlatformHasDebugOutput()) {
    return; // nobody would see the line: not even formatted
  }
  char line[kLineCapacity];
  va_list args;
  va_start(args, format);
  FormatLine(line, format, args);
  va_end(args);
  PublishLine(line, sink);
}

void DebugPrintLine(const char* line) {
  PublishLine(line, debugSink.load(std::memory_order_acquire));
}

void SetDebugSink(DebugSink sink) {
  debugSink.store(sink, std::memory_order_release);
}
