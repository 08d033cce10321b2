#include "tools/render/RenderWatch.h"

#include "tools/render/RenderTool.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

namespace {
constexpr size_t kTextBytes = 4096;
// How often the watchdog looks at the beats.
constexpr auto kWatchInterval = std::chrono::milliseconds(100);

char subject[kTextBytes];
char context[kTextBytes];
char temporary[kTextBytes];
std::atomic<unsigned long> beats{0};
std::atomic<bool> crashing{false};

// The watchdog of the render that runs: it ends the program when no block finishes in time.
struct Watchdog {
  std::mutex lock;
  std::condition_variable stop;
  bool stopping = false;
  std::thread thread;
};
Watchdog* watchdog = nullptr;

void Append(char* text, size_t* length, const char* part) {
  const size_t room = kTextBytes - 1 - *length;
  const size_t size = std::min(std::strlen(part), room);
  std::memcpy(text + *length, part, size);
  *length += size;
}
} // namespace

namespace render_watch {
void EndRender(const char* reason) {
  // Only the first of two failing threads speaks.
  if (crashing.exchange(true)) {
    std::_Exit(kExitFailed);
  }
  char line[4 * kTextBytes];
  size_t length = 0;
  Append(line, &length, "ombrix-render: ");
  Append(line, &length, subject);
  Append(line, &length, " ");
  Append(line, &length, reason);
  Append(line, &length, context);
  Append(line, &length, "; nothing was written\n");
  WriteError(line, length);
  if (temporary[0]) {
    RemoveFile(temporary);
  }
  std::_Exit(kExitFailed);
}
} // namespace render_watch

RenderWatch::RenderWatch(const std::string& who, const std::string& where,
                         const std::string& unfinished, double hangSeconds) {
  std::snprintf(subject, sizeof(subject), "%s", who.c_str());
  std::snprintf(context, sizeof(context), "%s", where.c_str());
  std::snprintf(temporary, sizeof(temporary), "%s", unfinished.c_str());
  render_watch::InstallCrashHandlers();
  watchdog = new Watchdog();
  const auto limit = std::chrono::duration<double>(hangSeconds);
  watchdog->thread = std::thread([limit] {
    std::unique_lock<std::mutex> guard(watchdog->lock);
    unsigned long seen = beats.load();
    auto lastBeat = std::chrono::steady_clock::now();
    while (!watchdog->stop.wait_for(guard, kWatchInterval, [] { return watchdog->stopping; })) {
      const unsigned long now = beats.load();
      if (now != seen) {
        seen = now;
        lastBeat = std::chrono::steady_clock::now();
      } else if (std::chrono::steady_clock::now() - lastBeat > limit) {
        char reason[128];
        std::snprintf(reason, sizeof(reason), "stopped responding (no block finished in %g s)",
                      limit.count());
        render_watch::EndRender(reason);
      }
    }
  });
}

RenderWatch::~RenderWatch() {
  {
    std::lock_guard<std::mutex> guard(watchdog->lock);
    watchdog->stopping = true;
  }
  watchdog->stop.notify_all();
  watchdog->thread.join();
  delete watchdog;
  watchdog = nullptr;
  render_watch::RemoveCrashHandlers();
  temporary[0] = '\0';
}

void RenderWatch::Beat() {
  beats.fetch_add(1);
}
