#include "tests/lv2/Lv2UiHost.h"

#include <lv2/instance-access/instance-access.h>

#include <dlfcn.h>

#include <string>

namespace {
constexpr int kTwoTicksMs = 120;

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
} // namespace

OpenUi::OpenUi(X11TestHost& x, TestInstance& instance, bool instanceAccess, bool withParent,
               Window givenParent)
    : x(x), instance(instance),
      parent(givenParent ? givenParent : x.MakeParent(100, 100, 700, 500)),
      ownsParent(givenParent == 0) {
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
  handle = descriptor->instantiate(descriptor, OMBRIX_LV2_URI, OMBRIX_LV2_BUNDLE "/", Write, &calls,
                                   &widget, featureList.data());
  idle = handle ? static_cast<const LV2UI_Idle_Interface*>(
                      descriptor->extension_data(LV2_UI__idleInterface))
                : nullptr;
  Settle();
}

OpenUi::~OpenUi() {
  if (handle) {
    descriptor->cleanup(handle);
  }
  if (ownsParent) {
    x.Destroy(parent);
  }
}

void OpenUi::Settle() {
  if (idle) {
    PumpFor([this] { Idle(); }, kTwoTicksMs);
  }
}

void OpenUi::PortEvent(const char* symbol, float value) {
  descriptor->port_event(handle, TestWorld::Get().PortIndex(symbol), sizeof(float), 0, &value);
}

void OpenUi::MoveTo(EditorPoint p) {
  int rootX = 0;
  int rootY = 0;
  x.RootPosition(Child(), &rootX, &rootY);
  x.MovePointer(rootX + p.x, rootY + p.y);
}

void OpenUi::Drag(EditorPoint from, int dy) {
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

void OpenUi::HandOnWrites() {
  const LilvPlugin* plugin = TestWorld::Get().Plugin();
  for (const auto& [port, value] : calls.writes) {
    const LilvPort* lilvPort = lilv_plugin_get_port_by_index(plugin, port);
    instance.SetControl(lilv_node_as_string(lilv_port_get_symbol(plugin, lilvPort)), value);
  }
}
