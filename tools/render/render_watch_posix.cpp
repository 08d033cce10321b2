#include "tools/render/RenderWatch.h"

#include <csignal>
#include <unistd.h>

namespace {
// The signals a crashing plug-in raises, with what the message calls them.
const struct {
  int signal;
  const char* reason;
} kCrashes[] = {{SIGSEGV, "crashed (segmentation fault)"},
                {SIGBUS, "crashed (bus error)"},
                {SIGILL, "crashed (illegal instruction)"},
                {SIGFPE, "crashed (arithmetic exception)"},
                {SIGABRT, "crashed (it aborted)"}};
// A stack of its own for the handler: a plug-in that overflowed its stack leaves none.
constexpr size_t kHandlerStackBytes = 64 * 1024;
char handlerStack[kHandlerStackBytes];

extern "C" void OnCrash(int signal) {
  for (const auto& crash : kCrashes) {
    if (crash.signal == signal) {
      render_watch::EndRender(crash.reason);
    }
  }
  render_watch::EndRender("crashed");
}
} // namespace

namespace render_watch {
void InstallCrashHandlers() {
  stack_t stack = {};
  stack.ss_sp = handlerStack;
  stack.ss_size = sizeof(handlerStack);
  sigaltstack(&stack, nullptr);
  struct sigaction action = {};
  action.sa_handler = OnCrash;
  action.sa_flags = SA_ONSTACK | SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  for (const auto& crash : kCrashes) {
    sigaction(crash.signal, &action, nullptr);
  }
}

void RemoveCrashHandlers() {
  for (const auto& crash : kCrashes) {
    std::signal(crash.signal, SIG_DFL);
  }
}

void WriteError(const char* text, size_t length) {
  while (length > 0) {
    const ssize_t written = write(STDERR_FILENO, text, length);
    if (written <= 0) {
      return;
    }
    text += written;
    length -= static_cast<size_t>(written);
  }
}

void RemoveFile(const char* path) {
  unlink(path);
}
} // namespace render_watch
