#include "lv2/Lv2Ui.h"

#include "platform/DebugPrint.h"

#include <lv2/atom/atom.h>
#include <lv2/core/lv2_util.h>
#include <lv2/instance-access/instance-access.h>

#include <cstdint>
#include <cstring>
#include <new>

namespace {
// The UI may be made by a host with no log; its reasons then go where other diagnostics go.
void Decline(const LV2_Feature* const* features, const char* reason) {
  LV2_Log_Logger logger;
  lv2_log_logger_init(&logger,
                      static_cast<LV2_URID_Map*>(lv2_features_data(features, LV2_URID__map)),
                      static_cast<LV2_Log_Log*>(lv2_features_data(features, LV2_LOG__log)));
  if (logger.log) {
    lv2_log_error(&logger, "Ombrix: %s; no editor opened.\n", reason);
  } else {
    DebugPrint("Ombrix: %s; no editor opened.", reason);
  }
}
} // namespace

ILv2Ui* ILv2Ui::Open(LV2UI_Write_Function write, LV2UI_Controller controller, LV2UI_Widget* widget,
                     const LV2_Feature* const* features) {
  auto* plugin = static_cast<ILv2Plugin*>(lv2_features_data(features, LV2_INSTANCE_ACCESS_URI));
  if (!plugin) {
    Decline(features, "the editor lives in the plug-in and the host offers no instance access");
    return nullptr;
  }
  void* parent = lv2_features_data(features, LV2_UI__parent);
  if (!parent) {
    Decline(features, "the host gives the editor no parent window");
    return nullptr;
  }
  if (!write || !widget) {
    Decline(features, "the host gives the editor no way to write its ports");
    return nullptr;
  }
  // The window is opened without the plug-in's lock (see OpenEditor); the UI's thread is the only
  // one that opens and closes it.
  IAttachedEditor* editor = plugin->Editor();
  if (!editor) {
    Decline(features, "the plug-in has no editor");
    return nullptr;
  }
  if (plugin->HasUi()) {
    Decline(features, "the editor is already open in another window");
    return nullptr;
  }
  const ScaleKeys keys = MapScaleKeys(features);
  ILv2Ui* ui = new (std::nothrow)
      ILv2Ui(plugin, write, controller,
             static_cast<const LV2UI_Touch*>(lv2_features_data(features, LV2_UI__touch)),
             static_cast<const LV2UI_Resize*>(lv2_features_data(features, LV2_UI__resize)), keys);
  if (!ui) {
    return nullptr;
  }
  // The window opens at the host's scale; without the option the editor keeps the one it has.
  const double scale = ScaleFactorOf(
      static_cast<const LV2_Options_Option*>(lv2_features_data(features, LV2_OPTIONS__options)),
      keys);
  if (scale > 0.0) {
    plugin->SetEditorScale(scale);
  }
  // ui:parent carries the X window id in the pointer, as VST 2's editor-open call does on Linux.
  void* window = plugin->OpenEditor(NativeParentFromPointer(parent));
  if (!window) {
    delete ui;
    Decline(features, "the editor's window could not be opened in the host's window");
    return nullptr;
  }
  *widget = window;
  plugin->ConnectUi(ui);
  if (ui->resize) {
    ui->resize->ui_resize(ui->resize->handle, editor->Width(), editor->Height());
  }
  return ui;
}

ILv2Ui::ILv2Ui(ILv2Plugin* owner, LV2UI_Write_Function writeFunction,
               LV2UI_Controller hostController, const LV2UI_Touch* touchFeature,
               const LV2UI_Resize* resizeFeature, const ScaleKeys& scaleKeys)
    : plugin(owner), write(writeFunction), controller(hostController), touch(touchFeature),
      resize(resizeFeature), keys(scaleKeys), grabbed(owner->Ports().PortCount(), false) {}

ILv2Ui::ScaleKeys ILv2Ui::MapScaleKeys(const LV2_Feature* const* features) {
  ScaleKeys mapped;
  if (const auto* map = static_cast<LV2_URID_Map*>(lv2_features_data(features, LV2_URID__map))) {
    mapped.scaleFactor = map->map(map->handle, LV2_UI__scaleFactor);
    mapped.floatType = map->map(map->handle, LV2_ATOM__Float);
    mapped.doubleType = map->map(map->handle, LV2_ATOM__Double);
  }
  return mapped;
}

double ILv2Ui::ScaleFactorOf(const LV2_Options_Option* options, const ScaleKeys& keys) {
  for (; keys.scaleFactor && options && options->key; ++options) {
    if (options->key != keys.scaleFactor || !options->value) {
      continue;
    }
    double scale = -1.0;
    if (options->type == keys.floatType && options->size == sizeof(float)) {
      float value = 0.0f;
      std::memcpy(&value, options->value, sizeof(value));
      scale = value;
    } else if (options->type == keys.doubleType && options->size == sizeof(double)) {
      std::memcpy(&scale, options->value, sizeof(scale));
    }
    return scale > 0.0 ? scale : -1.0;
  }
  return 0.0;
}

uint32_t ILv2Ui::SetOptions(const LV2_Options_Option* options) {
  const double scale = ScaleFactorOf(options, keys);
  if (scale < 0.0) {
    return LV2_OPTIONS_ERR_BAD_VALUE;
  }
  IAttachedEditor* editor = plugin->Editor();
  if (scale > 0.0 && editor) {
    const int width = editor->Width();
    const int height = editor->Height();
    plugin->SetEditorScale(scale);
    if (resize && (editor->Width() != width || editor->Height() != height)) {
      resize->ui_resize(resize->handle, editor->Width(), editor->Height());
    }
  }
  return LV2_OPTIONS_SUCCESS;
}

ILv2Ui::~ILv2Ui() {
  plugin->CloseEditor();
  plugin->ConnectUi(nullptr);
}

void ILv2Ui::Touch(uint32_t port, bool grab) {
  if (port < grabbed.size()) {
    grabbed[port] = grab;
  }
  if (touch) {
    touch->touch(touch->handle, port, grab);
  }
}

void ILv2Ui::WritePort(uint32_t port, float value) {
  write(controller, port, sizeof(float), 0, &value);
}

void ILv2Ui::PortEvent(uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
  const Lv2PortLayout& ports = plugin->Ports();
  const int index = static_cast<int>(port) - static_cast<int>(ports.ControlInput(0));
  if (format != 0 || size != sizeof(float) || !buffer || index < 0 || index >= ports.parameters ||
      grabbed[port]) {
    return;
  }
  float value = 0.0f;
  std::memcpy(&value, buffer, sizeof(value));
  IScopedLock guard(plugin->Lock());
  IParameter* parameter = plugin->Parameter(index);
  IAttachedEditor* editor = plugin->Editor();
  if (parameter && editor) {
    editor->ShowParameterValue(index, parameter->ToNormalized(value), true);
  }
}

void ILv2Ui::Idle() {
  plugin->IdleEditor();
}
