#pragma once

#include <string>

// While one file renders, a plug-in that crashes or never finishes a block ends the program
// with one clear line instead of a bare signal or a hang, and the unfinished output (its
// temporary file) is removed first: no partial output is ever left. Folder renders run each
// file in a process of its own, so the other files go on.
class RenderWatch {
public:
  // subject: the plug-in ("Ombrix"); context: " while rendering in.wav"; temporary: the output's
  // unfinished file.
  RenderWatch(const std::string& subject, const std::string& context, const std::string& temporary,
              double hangSeconds);
  ~RenderWatch();
  RenderWatch(const RenderWatch&) = delete;
  RenderWatch& operator=(const RenderWatch&) = delete;

  // A block was finished: the plug-in is alive.
  static void Beat();
};

// The fixed texts the crash path writes, set before the render: nothing may be built once the
// process has crashed.
namespace render_watch {
// Writes "ombrix-render: <subject> <reason><context>; nothing was written", removes the temporary
// file and
// ends the process with the failure status. Only async-signal-safe calls.
[[noreturn]] void EndRender(const char* reason);
// The crash handlers of the platform (render_watch_posix.cpp, render_watch_win.cpp).
void InstallCrashHandlers();
void RemoveCrashHandlers();
// Writes bytes to standard error and removes a file, as a crashed process still may.
void WriteError(const char* text, size_t length);
void RemoveFile(const char* path);
} // namespace render_watch
