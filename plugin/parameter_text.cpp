#include "plugin/ParameterText.h"

#include "plugin/NumberText.h"

#include <cmath>
#include <cstdio>
#include <cstring>

void ParameterTextWithUnit(const IParameter& parameter, double realValue, char* out, int outSize) {
  if (!out || outSize <= 0) {
    return;
  }
  parameter.FormatValue(realValue, false, out, outSize, true);
  int asText = 0;
  const bool isValueText = parameter.ParseValueText(out, &asText);
  const char* unit = parameter.Label();
  const size_t length = std::strlen(out);
  if (!isValueText && unit[0] != '\0' && length + 1 < static_cast<size_t>(outSize)) {
    std::snprintf(out + length, static_cast<size_t>(outSize) - length, " %s", unit);
  }
}

bool ParameterValueFromText(const IParameter& parameter, const char* text, double* realValue) {
  if (!text || !realValue) {
    return false;
  }
  if (!parameter.ValueTexts().empty()) {
    int textValue = 0;
    if (!parameter.ParseValueText(text, &textValue)) {
      return false;
    }
    *realValue = textValue;
    return true;
  }
  const double value = LeadingNumber(text);
  *realValue = parameter.NegateDisplay() ? -value : value;
  return true;
}
