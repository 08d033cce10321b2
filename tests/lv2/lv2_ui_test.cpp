// The UI against a real X server: its window, the ports it follows and writes, its refusals.
#include "tests/lv2/Lv2UiHost.h"

#include <string>
#include <thread>
#include <vector>

namespace {
const EditorPoint kKnob{280, 200};
const EditorPoint kThemeButton{457, 38};

int Changed(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
  return Differences(a, b, kEditorWidth, 0, 0, kEditorWidth, kEditorHeight);
}
} // namespace

TEST(Lv2Ui, TheDescriptionOffersAnX11UiInThePluginsLibrary) {
  TestWorld& host = TestWorld::Get();
  LilvUIs* uis = lilv_plugin_get_uis(host.Plugin());
  ASSERT_EQ(lilv_uis_size(uis), 1u);
  const LilvUI* ui = lilv_uis_get(uis, lilv_uis_begin(uis));
  EXPECT_STREQ(lilv_node_as_uri(lilv_ui_get_uri(ui)), OMBRIX_LV2_URI "#ui");
  LilvNode* x11 = host.NewUri(LV2_UI__X11UI);
  EXPECT_TRUE(lilv_ui_is_a(ui, x11));
  lilv_node_free(x11);
  const std::string binary = lilv_node_as_uri(lilv_ui_get_binary_uri(ui));
  EXPECT_EQ(binary.substr(binary.rfind('/') + 1), "ombrix_lv2.so");
  lilv_uis_free(uis);
}

TEST(Lv2Ui, TheEditorOpensInTheHostsWindowAndFollowsThePorts) {
  X11TestHost x;
  TestInstance instance;
  instance.RunSilence(64);
  OpenUi ui(x, instance);
  ASSERT_TRUE(ui.Opened());
  EXPECT_EQ(ui.calls.width, kEditorWidth);
  EXPECT_EQ(ui.calls.height, kEditorHeight);
  const std::vector<Window> children = x.Children(ui.Child());
  const XWindowAttributes attributes = x.Attributes(ui.Child());
  EXPECT_EQ(attributes.width, kEditorWidth);
  EXPECT_EQ(attributes.height, kEditorHeight);
  EXPECT_TRUE(children.empty());

  const std::vector<std::uint32_t> atZero = ui.Shown();
  // The background is drawn: far from one colour.
  EXPECT_GT(Changed(atZero, std::vector<std::uint32_t>(atZero.size(), atZero[0])), 10000);
  // The host moves the amount: the knob follows before any run.
  ui.PortEvent("amount_of_distortion", 99.99f);
  ui.Settle();
  const std::vector<std::uint32_t> atFull = ui.Shown();
  EXPECT_GT(Changed(atZero, atFull), 100);
  // Controller 69 on the audio thread turns the knob too, and writes no port: the control
  // output tells the host.
  instance.AddMidi(0, {0xB0, 69, 0});
  std::thread audio([&] { instance.RunSilence(64); });
  audio.join();
  ui.Settle();
  EXPECT_EQ(Changed(atZero, ui.Shown()), 0);
  EXPECT_TRUE(ui.calls.writes.empty());
  EXPECT_EQ(instance.Reported("amount_of_distortion"), 0.0f);
}

TEST(Lv2Ui, GesturesWriteThePortsInsideTouch) {
  X11TestHost x;
  TestInstance instance;
  instance.RunSilence(64);
  OpenUi ui(x, instance);
  ASSERT_TRUE(ui.Opened());
  const uint32_t amountPort = TestWorld::Get().PortIndex("amount_of_distortion");
  ui.Drag(kKnob, -60);
  ASSERT_GE(ui.calls.touches.size(), 2u);
  EXPECT_EQ(ui.calls.touches.front(), std::make_pair(amountPort, true));
  EXPECT_EQ(ui.calls.touches.back(), std::make_pair(amountPort, false));
  ASSERT_FALSE(ui.calls.writes.empty());
  const float written = ui.calls.writes.back().second;
  EXPECT_GT(written, 0.0f);
  for (const auto& [port, value] : ui.calls.writes) {
    EXPECT_EQ(port, amountPort);
  }
  // The host hands the writes on: the next run keeps the amount the gesture set.
  ui.HandOnWrites();
  instance.RunSilence(64);
  EXPECT_FLOAT_EQ(instance.Reported("amount_of_distortion"), written);

  ui.calls = {};
  const uint32_t themePort = TestWorld::Get().PortIndex("kelba_enabled");
  ui.MoveTo(kThemeButton);
  x.Button(1, true);
  x.Button(1, false);
  ui.Settle();
  ASSERT_EQ(ui.calls.writes.size(), 1u);
  EXPECT_EQ(ui.calls.writes[0], std::make_pair(themePort, 0.0f));
  ASSERT_EQ(ui.calls.touches.size(), 2u);
  EXPECT_EQ(ui.calls.touches[0], std::make_pair(themePort, true));
  EXPECT_EQ(ui.calls.touches[1], std::make_pair(themePort, false));
}

TEST(Lv2Ui, DeclinesClearlyWithoutInstanceAccessOrAParent) {
  X11TestHost x;
  TestInstance instance;
  {
    OpenUi ui(x, instance, false);
    EXPECT_FALSE(ui.Opened());
  }
  ASSERT_EQ(instance.Log().Messages().size(), 1u);
  EXPECT_NE(instance.Log().Messages()[0].find("instance access"), std::string::npos);
  {
    OpenUi ui(x, instance, true, false);
    EXPECT_FALSE(ui.Opened());
  }
  ASSERT_EQ(instance.Log().Messages().size(), 2u);
  EXPECT_NE(instance.Log().Messages()[1].find("parent window"), std::string::npos);
  // Declining left the editor free: it opens now.
  OpenUi ui(x, instance);
  EXPECT_TRUE(ui.Opened());
}
