#include "plugin/AudioPlugin.h"

#include <algorithm>
#include <cmath>

bool IAudioPlugin::SetParameterFromHost(int index, double value, ParameterUnits units,
                                        EditorEcho echo) {
  if (std::isnan(value)) {
    return false;
  }
  IScopedLock guard(pluginLock);
  IParameter* parameter = Parameter(index);
  if (!parameter) {
    return false;
  }
  if (units == ParameterUnits::Normalized) {
    const double normalized = std::clamp(value, 0.0, 1.0);
    if (editor && echo == EditorEcho::Show) {
      editor->ShowParameterValue(index, normalized, true);
    }
    parameter->SetFromNormalized(normalized);
  } else {
    // The real value takes the same limiting and rounding as a normalised one, without the
    // detour through 0..1, so 50 is exactly 50.
    double real = std::clamp(value, parameter->Minimum(), parameter->Maximum());
    if (IParameter::IsIntegerKind(parameter->Kind()) && parameter->Step() > 0.0) {
      real = std::floor(real / parameter->Step() + 0.5) * parameter->Step();
    }
    if (editor && echo == EditorEcho::Show) {
      editor->ShowParameterValue(index, parameter->ToNormalized(real), true);
    }
    parameter->SetClamped(real);
  }
  OnParameterChanged(index);
  return true;
}
