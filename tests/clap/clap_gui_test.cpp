// The editor in the host's X11 window, driven by the host's timer and descriptor: gestures reach
// the host through flush, and nothing is left behind by many cycles or a parent that went first.
#include <gtest/gtest.h>

#include "tests/clap/ClapTestHost.h"
#include "tests/x11/X11TestHost.h"

namespace {
constexpr double SampleRate = 48000.0;
constexpr uint32_t Frames = 256;
constexpr clap_id Amount = 0;

double ValueOf(ClapTestHost& host, clap_id id) {
  double value = -1.0;
  host.PluginExtension<clap_plugin_params>(Clap::ParamsId)->get_value(host.Plugin(), id, &value);
  return value;
}

constexpr int EditorWidth = 560;
constexpr int EditorHeight = 400;
constexpr int KnobX = 280;
constexpr int KnobY = 200;
constexpr int SettleMs = 100;

TEST(ClapGui, DragReachesTheHostAsAGestureThroughFlush) {
  X11TestHost x;
  ClapTestHost host(SampleRate, Frames);
  host.Plugin()->stop_processing(host.Plugin());
  const Window parent = x.MakeParent(100, 100, EditorWidth, EditorHeight);
  ASSERT_TRUE(host.OpenEditor(parent));
  EXPECT_EQ(host.TimersRegistered(), 1u);
  EXPECT_EQ(host.DescriptorsRegistered(), 1u);
  int rootX = 0;
  int rootY = 0;
  x.RootPosition(x.Children(parent).front(), &rootX, &rootY);
  auto settle = [&host] { PumpFor([&host] { host.IdleEditor(); }, SettleMs); };
  settle();
  x.MovePointer(rootX + KnobX, rootY + KnobY);
  x.Button(1, true);
  settle();
  for (int step = 1; step <= 4; ++step) {
    x.MovePointer(rootX + KnobX, rootY + KnobY - 15 * step);
    settle();
  }
  x.Button(1, false);
  settle();
  EXPECT_GT(host.flushRequests, 0);
  host.Flush();
  const std::vector<ClapOutEvent> out = host.TakeOutput();
  ASSERT_GE(out.size(), 3u);
  EXPECT_EQ(out.front().type, Clap::EventParamGestureBegin);
  EXPECT_EQ(out.back().type, Clap::EventParamGestureEnd);
  for (size_t i = 1; i + 1 < out.size(); ++i) {
    EXPECT_EQ(out[i].type, Clap::EventParamValue);
    EXPECT_EQ(out[i].paramId, Amount);
  }
  EXPECT_EQ(out[out.size() - 2].value, ValueOf(host, Amount));
  EXPECT_GT(ValueOf(host, Amount), 0.0);
  host.CloseEditor();
  EXPECT_EQ(host.TimersRegistered(), 0u);
  EXPECT_EQ(host.DescriptorsRegistered(), 0u);
}

TEST(ClapGui, ManyCyclesAndAParentGoneFirstLeaveNothing) {
  X11TestHost x;
  ClapTestHost host(SampleRate, Frames);
  const int files = OpenFileCount();
  for (int cycle = 0; cycle < 20; ++cycle) {
    const Window parent = x.MakeParent(0, 0, EditorWidth, EditorHeight);
    ASSERT_TRUE(host.OpenEditor(parent)) << cycle;
    host.IdleEditor();
    if (cycle % 2 == 1) {
      x.Destroy(parent);
    }
    host.CloseEditor();
    if (cycle % 2 == 0) {
      EXPECT_TRUE(x.Children(parent).empty());
      x.Destroy(parent);
    }
  }
  EXPECT_EQ(OpenFileCount(), files);
  EXPECT_EQ(host.TimersRegistered(), 0u);
  EXPECT_EQ(X11TestHost::ErrorsSeen(), 0);
}
} // namespace
