#include "plugin/Parameter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {
constexpr int maxPrecision = 6;

void CopyText(char (&destination)[32], const char* text) {
  std::snprintf(destination, sizeof(destination), "%s", text ? text : "");
}

// Truncates toward zero; values beyond the int range (and NaN) are pinned so the cast is defined.
int TruncateToInt(double v) {
  if (std::isnan(v)) {
    return 0;
  }
  if (v >= 2147483647.0) {
    return 2147483647;
  }
  if (v <= -2147483648.0) {
    return -2147483647 - 1;
  }
  return static_cast<int>(v);
}
} // namespace

void IParameter::DefineContinuous(const char* newName, double newDefault, double newMinimum,
                                  double newMaximum, double newStep, const char* newLabel) {
  if (kind == KindUndefined) {
    kind = KindContinuous;
  }
  CopyText(name, newName);
  CopyText(label, newLabel);
  minimum = newMinimum;
  value = newDefault;
  step = newStep;
  defaultValue = newDefault;
  maximum = std::max(newMinimum + newStep, newMaximum);

  precision = 0;
  double decimals = newStep;
  while (precision < maxPrecision && decimals != std::floor(decimals)) {
    decimals *= 10.0;
    ++precision;
  }
}

void IParameter::DefineInteger(const char* newName, int newDefault) {
  if (kind == KindUndefined) {
    kind = KindInteger;
  }
  DefineContinuous(newName, newDefault, 0.0, 1.0, 1.0, "");
}

void IParameter::SetFromNormalized(double normalized) {
  value = RealFromNormalized(normalized);
}

double IParameter::RealFromNormalized(double normalized) const {
  // Hosts may send anything; outside 0..1 the mapping would leave the range or yield NaN.
  const double n = std::isnan(normalized) ? 0.0 : std::clamp(normalized, 0.0, 1.0);
  double v = std::pow(n, shape) * (maximum - minimum) + minimum;
  if (kind != KindContinuous && step > 0.0) {
    v = std::floor(v / step + 0.5) * step;
  }
  return std::min(v, maximum);
}

double IParameter::ToNormalized(double realValue) const {
  if (!(maximum > minimum)) {
    return 0.0;
  }
  const double limited = std::clamp(realValue, minimum, maximum);
  return std::pow((limited - minimum) / (maximum - minimum), 1.0 / shape);
}

void IParameter::SetClamped(double realValue) {
  // NaN from a corrupt state block would otherwise pass both comparisons.
  if (std::isnan(realValue) || realValue < minimum) {
    value = minimum;
  } else {
    value = std::min(realValue, maximum);
  }
}

const IValueText* IParameter::TextFor(double realValue) const {
  const int key = TruncateToInt(realValue);
  for (const IValueText& entry : valueTexts) {
    if (entry.value == key) {
      return &entry;
    }
  }
  return nullptr;
}

void IParameter::FormatValue(double v, bool isNormalized, char* out, int outSize,
                             bool useTexts) const {
  if (!out || outSize <= 0) {
    return;
  }
  if (isNormalized) {
    v = std::pow(v, shape) * (maximum - minimum) + minimum;
  }
  if (useTexts && !valueTexts.empty()) {
    const IValueText* entry = TextFor(v);
    if (entry && entry->text[0] != '\0') {
      std::snprintf(out, static_cast<size_t>(outSize), "%s", entry->text);
      return;
    }
  }
  if (negateDisplay) {
    v = -v;
  }
  if (precision == 0) {
    std::snprintf(out, static_cast<size_t>(outSize), "%d", TruncateToInt(v));
  } else {
    std::snprintf(out, static_cast<size_t>(outSize), "%.*f", precision, v);
  }
}

const char* IParameter::UnitLabel() const {
  if (!valueTexts.empty()) {
    const IValueText* entry = TextFor(value);
    if (entry && entry->text[0] != '\0') {
      return "";
    }
  }
  return label;
}

bool IParameter::ParseValueText(const char* text, int* out) const {
  if (!text) {
    return false;
  }
  for (const IValueText& entry : valueTexts) {
    if (std::strcmp(entry.text, text) == 0) {
      if (out) {
        *out = entry.value;
      }
      return true;
    }
  }
  return false;
}

void IParameter::AddValueText(int textValue, const char* text) {
  IValueText entry;
  entry.value = textValue;
  CopyText(entry.text, text);
  valueTexts.push_back(entry);
}
