#include "clap/IClapPlugin.h"

#include "plugin/NumberText.h"
#include "plugin/ParameterText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace {
constexpr const char* BypassName = "Bypass";
constexpr const char* BypassTexts[] = {"Off", "On"};

void CopyText(char* out, size_t size, const char* text) {
  std::snprintf(out, size, "%s", text ? text : "");
}
} // namespace

// Ids beyond the effect's parameters (the bypass's among them) name none; they are never cut to an
// int index, where a large one would wrap round.
const IParameter* IClapPlugin::ParameterOfId(clap_id id) {
  return id < static_cast<clap_id>(ParameterCount()) ? Parameter(static_cast<int>(id)) : nullptr;
}

uint32_t IClapPlugin::ParamCount() {
  return static_cast<uint32_t>(ParameterCount()) + 1;
}

// The effect's parameters in index order, then the bypass.
bool IClapPlugin::ParamInfo(uint32_t index, clap_param_info* info) {
  if (!info || index >= ParamCount()) {
    return false;
  }
  *info = {};
  if (index == static_cast<uint32_t>(ParameterCount())) {
    info->id = BypassParamId;
    info->flags = Clap::ParamIsStepped | Clap::ParamIsBypass | Clap::ParamIsAutomatable;
    CopyText(info->name, sizeof(info->name), BypassName);
    info->max_value = 1.0;
    return true;
  }
  IScopedLock guard(pluginLock);
  const IParameter* parameter = Parameter(static_cast<int>(index));
  info->id = index;
  info->flags = Clap::ParamIsAutomatable;
  if (IParameter::IsIntegerKind(parameter->Kind())) {
    info->flags |= Clap::ParamIsStepped;
  }
  CopyText(info->name, sizeof(info->name), parameter->Name());
  info->min_value = parameter->Minimum();
  info->max_value = parameter->Maximum();
  info->default_value = parameter->DefaultValue();
  return true;
}

bool IClapPlugin::ParamValue(clap_id id, double* value) {
  if (!value) {
    return false;
  }
  if (id == BypassParamId) {
    *value = bypassValue.load();
    return true;
  }
  IScopedLock guard(pluginLock);
  const IParameter* parameter = ParameterOfId(id);
  if (!parameter) {
    return false;
  }
  *value = parameter->Value();
  return true;
}

bool IClapPlugin::ParamValueText(clap_id id, double value, char* display, uint32_t size) {
  if (!display || size == 0 || !std::isfinite(value)) {
    return false;
  }
  const int capacity = static_cast<int>(std::min<uint32_t>(size, std::numeric_limits<int>::max()));
  if (id == BypassParamId) {
    CopyText(display, static_cast<size_t>(capacity), BypassTexts[value >= 0.5 ? 1 : 0]);
    return true;
  }
  IScopedLock guard(pluginLock);
  const IParameter* parameter = ParameterOfId(id);
  if (!parameter) {
    return false;
  }
  ParameterTextWithUnit(*parameter, value, display, capacity);
  return true;
}

// The value is limited to the parameter's range, as setting it would.
bool IClapPlugin::ParamTextValue(clap_id id, const char* display, double* value) {
  if (!display || !value) {
    return false;
  }
  if (id == BypassParamId) {
    for (int on = 0; on < 2; ++on) {
      if (std::strcmp(display, BypassTexts[on]) == 0) {
        *value = on;
        return true;
      }
    }
    *value = LeadingNumber(display) >= 0.5 ? 1.0 : 0.0;
    return true;
  }
  IScopedLock guard(pluginLock);
  const IParameter* parameter = ParameterOfId(id);
  double real = 0.0;
  if (!parameter || !ParameterValueFromText(*parameter, display, &real) || std::isnan(real)) {
    return false;
  }
  *value = std::clamp(real, parameter->Minimum(), parameter->Maximum());
  return true;
}

bool IClapPlugin::SetRenderMode(int32_t mode) {
  if (mode != Clap::RenderRealtime && mode != Clap::RenderOffline) {
    return false;
  }
  offlineRender = mode == Clap::RenderOffline;
  return true;
}
