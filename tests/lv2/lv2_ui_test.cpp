// Before the X headers, whose macros (None, Bool) would break it.
#include <gtest/gtest.h>

#include "lv2/ILv2Plugin.h"
#include "tests/lv2/Lv2TestHost.h"
#include "tests/x11/X11TestHost.h"

#include <lv2/instance-access/instance-access.h>
#include <lv2/ui/ui.h>

#include <dlfcn.h>

#include <string>
#include <thread>
#include <utility>
#include <vector>

// The X11 UI opened as jalv and Ardour open it: the plug-in object through instance access, the
// host's window through ui:parent, the idle interface pumped, pointer input through XTest, the
// editor's pixels read back from the server.
namespace {
constexpr int kWidth = 560;
constexpr int kHeight = 400;
constexpr int kTimeoutMs = 3000;
constexpr int kTwoTicksMs = 120;
struct Point {
  int x;
  int y;
};
const Point kKnob{280, 200};
const Point kThemeButton{457, 38};

// What the UI asked of the host.
struct UiCalls {
  std::vector<std::pair<uint32_t, float>> writes;
  std::vector<std::pair<uint32_t, bool>> touches;
  int width = 0;
  int height = 0;
};

void Write(LV2UI_Controller controller, uint32_t port, uint32_t size, uint32_t format,
           const void* buffer) {
  if (format == 0 && size == sizeof(float)) {
    static_cast<UiCalls*>(controller)
        ->writes.emplace_back(port, *static_cast<const float*>(buffer));
  }
}

int Resize(LV2UI_Feature_Handle handle, int width, int height) {
  auto* calls = static_cast<UiCalls*>(handle);
  calls->width = width;
  calls->height = height;
  return 0;
}

void Touch(LV2UI_Feature_Handle handle, uint32_t port, bool grabbed) {
  static_cast<UiCalls*>(handle)->touches.emplace_back(port, grabbed);
}

const LV2UI_Descriptor* UiDescriptor() {
  // The test world holds the library open.
  void* module = dlopen(OMBRIX_LV2_BUNDLE "/ombrix_lv2.so", RTLD_NOW | RTLD_NOLOAD);
  auto entry = module
                   ? reinterpret_cast<LV2UI_DescriptorFunction>(dlsym(module, "lv2ui_descriptor"))
                   : nullptr;
  return entry ? entry(0) : nullptr;
}

// The UI of one instance, open in a parent window of the test's.
class OpenUi {
public:
  OpenUi(X11TestHost& x, TestInstance& instance, bool instanceAccess = true, bool withParent = true)
      : x(x), instance(instance), parent(x.MakeParent(100, 100, 700, 500)) {
    descriptor = UiDescriptor();
    resize = {&calls, Resize};
    touch = {&calls, Touch};
    features = {
        {LV2_INSTANCE_ACCESS_URI, lilv_instance_get_handle(instance.Lilv())},
        {LV2_UI__parent, reinterpret_cast<void*>(static_cast<uintptr_t>(parent))},
        {LV2_UI__resize, &resize},
        {LV2_UI__touch, &touch},
        {LV2_UI__idleInterface, nullptr},
    };
    for (const LV2_Feature& feature : features) {
      if ((instanceAccess || std::string(feature.URI) != LV2_INSTANCE_ACCESS_URI) &&
          (withParent || std::string(feature.URI) != LV2_UI__parent)) {
        featureList.push_back(&feature);
      }
    }
    // The instance's own log and map.
    for (const LV2_Feature* const* f = instance.Features(); *f; ++f) {
      featureList.push_back(*f);
    }
    featureList.push_back(nullptr);
    handle = descriptor->instantiate(descriptor, OMBRIX_LV2_URI, OMBRIX_LV2_BUNDLE "/", Write,
                                     &calls, &widget, featureList.data());
    idle = handle ? static_cast<const LV2UI_Idle_Interface*>(
                        descriptor->extension_data(LV2_UI__idleInterface))
                  : nullptr;
    Settle();
  }
  ~OpenUi() {
    if (handle) {
      descriptor->cleanup(handle);
    }
    x.Destroy(parent);
  }

  bool Opened() const { return handle != nullptr; }
  Window Child() const { return static_cast<Window>(reinterpret_cast<uintptr_t>(widget)); }
  void Idle() { idle->idle(handle); }
  void Settle() {
    if (idle) {
      PumpFor([this] { Idle(); }, kTwoTicksMs);
    }
  }
  std::vector<std::uint32_t> Shown() { return x.Pixels(Child(), kWidth, kHeight); }
  void PortEvent(const char* symbol, float value) {
    descriptor->port_event(handle, TestWorld::Get().PortIndex(symbol), sizeof(float), 0, &value);
  }
  void MoveTo(Point p) {
    int rootX = 0;
    int rootY = 0;
    x.RootPosition(Child(), &rootX, &rootY);
    x.MovePointer(rootX + p.x, rootY + p.y);
  }
  // Press, move, release, waiting each time until the editor has taken it.
  void Drag(Point from, int dy) {
    MoveTo(from);
    x.Button(1, true);
    Settle();
    for (int step = 1; step <= 4; ++step) {
      MoveTo({from.x, from.y + dy * step / 4});
      Settle();
    }
    x.Button(1, false);
    Settle();
  }
  // Every write of the UI reaches the instance's port, as a host hands it on.
  void HandOnWrites() {
    for (const auto& [port, value] : calls.writes) {
      const LilvPort* lilvPort = lilv_plugin_get_port_by_index(TestWorld::Get().Plugin(), port);
      instance.SetControl(
          lilv_node_as_string(lilv_port_get_symbol(TestWorld::Get().Plugin(), lilvPort)), value);
    }
  }

  UiCalls calls;

private:
  X11TestHost& x;
  TestInstance& instance;
  Window parent;
  const LV2UI_Descriptor* descriptor = nullptr;
  LV2UI_Resize resize;
  LV2UI_Touch touch;
  std::vector<LV2_Feature> features;
  std::vector<const LV2_Feature*> featureList;
  LV2UI_Handle handle = nullptr;
  LV2UI_Widget widget = nullptr;
  const LV2UI_Idle_Interface* idle = nullptr;
};

int Changed(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
  return Differences(a, b, kWidth, 0, 0, kWidth, kHeight);
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
  EXPECT_EQ(ui.calls.width, kWidth);
  EXPECT_EQ(ui.calls.height, kHeight);
  const std::vector<Window> children = x.Children(ui.Child());
  const XWindowAttributes attributes = x.Attributes(ui.Child());
  EXPECT_EQ(attributes.width, kWidth);
  EXPECT_EQ(attributes.height, kHeight);
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
