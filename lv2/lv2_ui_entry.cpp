#include "lv2/Lv2Identity.h"
#include "lv2/Lv2Ui.h"

#include <cstring>

namespace {
ILv2Ui* FromHandle(LV2UI_Handle handle) {
  return static_cast<ILv2Ui*>(handle);
}

LV2UI_Handle Instantiate(const LV2UI_Descriptor*, const char*, const char*,
                         LV2UI_Write_Function write, LV2UI_Controller controller,
                         LV2UI_Widget* widget, const LV2_Feature* const* features) {
  return ILv2Ui::Open(write, controller, widget, features);
}

void Cleanup(LV2UI_Handle handle) {
  delete FromHandle(handle);
}

void PortEvent(LV2UI_Handle handle, uint32_t port, uint32_t size, uint32_t format,
               const void* buffer) {
  FromHandle(handle)->PortEvent(port, size, format, buffer);
}

int Idle(LV2UI_Handle handle) {
  FromHandle(handle)->Idle();
  return 0;
}

const LV2UI_Idle_Interface IdleInterface = {Idle};

// Nothing is reported back: the host knows the scale it gave.
uint32_t GetOptions(LV2_Handle, LV2_Options_Option*) {
  return LV2_OPTIONS_ERR_UNKNOWN;
}

uint32_t SetOptions(LV2_Handle handle, const LV2_Options_Option* options) {
  return FromHandle(handle)->SetOptions(options);
}

const LV2_Options_Interface OptionsInterface = {GetOptions, SetOptions};

const void* ExtensionData(const char* uri) {
  if (std::strcmp(uri, LV2_UI__idleInterface) == 0) {
    return &IdleInterface;
  }
  return std::strcmp(uri, LV2_OPTIONS__interface) == 0 ? &OptionsInterface : nullptr;
}

const LV2UI_Descriptor Descriptor = {PluginUiUri(), Instantiate, Cleanup, PortEvent, ExtensionData};
} // namespace

LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index) {
  return index == 0 ? &Descriptor : nullptr;
}
