#pragma once

#include "lv2/ILv2Plugin.h"

#include <lv2/log/logger.h>
#include <lv2/options/options.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>

#include <vector>

// The plug-in's X11 UI: the editor the plug-in object holds, shown in the host's window. The
// host gives the object through instance access, its window through ui:parent, and drives the
// editor from the idle interface on its UI thread; the editor's gestures write the control
// inputs through the host's write function, wrapped in the touch feature's begin and end. The
// editor's scale is the host's ui:scaleFactor option, given when the UI is made or set later
// through the options interface; the host then resizes through its resize feature.
class ILv2Ui : public ILv2UiLink {
public:
  // Null, with the reason in the host's log, when the host lacks what the editor needs or the
  // window cannot be opened.
  static ILv2Ui* Open(LV2UI_Write_Function write, LV2UI_Controller controller, LV2UI_Widget* widget,
                      const LV2_Feature* const* features);
  ~ILv2Ui() override;

  void Touch(uint32_t port, bool grabbed) override;
  void WritePort(uint32_t port, float value) override;

  // A control input the host changed: the controls bound to it follow, unless a gesture on it
  // is under way (the host may echo older values of the gesture).
  void PortEvent(uint32_t port, uint32_t size, uint32_t format, const void* buffer);
  void Idle();
  // Takes the scale factor among the options (others are left alone); LV2_OPTIONS_SUCCESS, or
  // LV2_OPTIONS_ERR_BAD_VALUE for a scale factor that is not a positive number.
  uint32_t SetOptions(const LV2_Options_Option* options);

private:
  struct ScaleKeys {
    LV2_URID scaleFactor = 0;
    LV2_URID floatType = 0;
    LV2_URID doubleType = 0;
  };

  ILv2Ui(ILv2Plugin* plugin, LV2UI_Write_Function write, LV2UI_Controller controller,
         const LV2UI_Touch* touch, const LV2UI_Resize* resize, const ScaleKeys& keys);
  static ScaleKeys MapScaleKeys(const LV2_Feature* const* features);
  // The scale factor among the options: 0 when there is none, -1 when it is no positive number.
  static double ScaleFactorOf(const LV2_Options_Option* options, const ScaleKeys& keys);

  ILv2Plugin* plugin;
  LV2UI_Write_Function write;
  LV2UI_Controller controller;
  const LV2UI_Touch* touch;
  const LV2UI_Resize* resize;
  ScaleKeys keys;
  // Control inputs a gesture holds, by port.
  std::vector<bool> grabbed;
};
