#pragma once

// Before the X headers, whose macros (None, Bool) would break it.
#include <gtest/gtest.h>

#include "tests/lv2/Lv2TestHost.h"
#include "tests/x11/X11TestHost.h"

#include <lv2/ui/ui.h>

#include <cstdint>
#include <utility>
#include <vector>

// The X11 UI opened as jalv and Ardour open it: the plug-in object through instance access, the
// host's window through ui:parent, the idle interface pumped, pointer input through XTest, the
// editor's pixels read back from the server.
constexpr int kEditorWidth = 560;
constexpr int kEditorHeight = 400;

struct EditorPoint {
  int x;
  int y;
};

// What the UI asked of the host.
struct UiCalls {
  std::vector<std::pair<uint32_t, float>> writes;
  std::vector<std::pair<uint32_t, bool>> touches;
  int width = 0;
  int height = 0;
};

// The UI of one instance, open in a parent window of the test's.
class OpenUi {
public:
  // Without a given parent the UI gets a window of its own, destroyed with it.
  OpenUi(X11TestHost& x, TestInstance& instance, bool instanceAccess = true, bool withParent = true,
         Window givenParent = 0);
  ~OpenUi();
  OpenUi(const OpenUi&) = delete;
  OpenUi& operator=(const OpenUi&) = delete;

  bool Opened() const { return handle != nullptr; }
  const LV2UI_Descriptor* Descriptor() const { return descriptor; }
  LV2UI_Handle Handle() const { return handle; }
  Window Child() const { return static_cast<Window>(reinterpret_cast<uintptr_t>(widget)); }
  void Idle() { idle->idle(handle); }
  // Idles long enough for two redraw ticks.
  void Settle();
  std::vector<std::uint32_t> Shown() { return x.Pixels(Child(), kEditorWidth, kEditorHeight); }
  void PortEvent(const char* symbol, float value);
  void MoveTo(EditorPoint p);
  // Press, move, release, letting the editor take each.
  void Drag(EditorPoint from, int dy);
  // Every write of the UI reaches the instance's port, as a host hands it on.
  void HandOnWrites();

  UiCalls calls;

private:
  X11TestHost& x;
  TestInstance& instance;
  Window parent;
  bool ownsParent;
  const LV2UI_Descriptor* descriptor = nullptr;
  LV2UI_Resize resize;
  LV2UI_Touch touch;
  std::vector<LV2_Feature> features;
  std::vector<const LV2_Feature*> featureList;
  LV2UI_Handle handle = nullptr;
  LV2UI_Widget widget = nullptr;
  const LV2UI_Idle_Interface* idle = nullptr;
};
