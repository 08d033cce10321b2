#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// The window a host gives a plug-in's editor, on this platform's window system: a top-level
// frame the editor opens in, the host's user-interface loop, clicks sent to the editor's
// window and its pixels read back from the screen.
class HostFrame {
public:
  // A visible frame whose client area is width x height; none when no window can be made.
  static std::unique_ptr<HostFrame> Make(int width, int height);
  virtual ~HostFrame() = default;

  // What effEditOpen takes as the parent.
  virtual void* Parent() = 0;
  // Runs the user-interface loop for about the given time, calling editorIdle as hosts call
  // effEditIdle.
  virtual void Run(int milliseconds, const std::function<void()>& editorIdle) = 0;
  // A left click on the editor's window at (x, y) in its own pixels.
  virtual void Click(int x, int y) = 0;
  // The editor window's pixels (0xAARRGGBB rows) as the screen shows them; empty on failure.
  virtual std::vector<std::uint32_t> EditorPixels(int* width, int* height) = 0;
};
