#pragma once

#include <cstdint>
#include <vector>

// A fixed display text for one integer value of a parameter.
struct IValueText {
  int32_t value = 0;
  char text[32] = {};
};

// One automatable value: kept in real units, shown to hosts and controls in 0..1.
// Callers hold the plug-in's lock; the record has none of its own.
class IParameter {
public:
  // Three kinds hold integer values; the two besides KindInteger take typed text through their
  // value texts (none is defined here, a derived effect may use them).
  enum Kind : int32_t {
    KindUndefined = 0,
    KindNamedValues = 1,
    KindInteger = 2,
    KindNamedSteps = 3,
    KindContinuous = 4,
  };

  static bool IsIntegerKind(int32_t kind) {
    return kind >= KindNamedValues && kind <= KindNamedSteps;
  }
  static bool ReadsTypedTextAsValueText(int32_t kind) {
    return kind == KindNamedValues || kind == KindNamedSteps;
  }

  void DefineContinuous(const char* name, double defaultValue, double minimum, double maximum,
                        double step, const char* label);
  // An on/off style parameter: range 0..1, step 1, no unit.
  void DefineInteger(const char* name, int defaultValue);

  void SetFromNormalized(double normalized);
  // The real value SetFromNormalized would set, without setting it.
  double RealFromNormalized(double normalized) const;
  double ToNormalized() const { return ToNormalized(value); }
  double ToNormalized(double realValue) const;
  void SetClamped(double realValue);

  // Writes the display text of v (a real value, or a normalised one when isNormalized) into out,
  // which holds outSize characters including the terminator.
  void FormatValue(double v, bool isNormalized, char* out, int outSize, bool useTexts) const;
  const char* UnitLabel() const;
  bool ParseValueText(const char* text, int* out) const;
  // Texts are looked up in the order they were added; the first match wins.
  void AddValueText(int value, const char* text);

  int32_t Kind() const { return kind; }
  double Value() const { return value; }
  double Minimum() const { return minimum; }
  double Maximum() const { return maximum; }
  double Step() const { return step; }
  double Shape() const { return shape; }
  double DefaultValue() const { return defaultValue; }
  int32_t Precision() const { return precision; }
  const char* Name() const { return name; }
  const char* Label() const { return label; }
  bool NegateDisplay() const { return negateDisplay; }
  const std::vector<IValueText>& ValueTexts() const { return valueTexts; }

  void SetShape(double exponent) { shape = exponent; }
  void SetNegateDisplay(bool negate) { negateDisplay = negate; }

private:
  const IValueText* TextFor(double realValue) const;

  int32_t kind = KindUndefined;
  double value = 0.0;
  double minimum = 0.0;
  double maximum = 1.0;
  double step = 1.0;
  double shape = 1.0;
  double defaultValue = 0.0;
  int32_t precision = 0;
  char name[32] = {};
  char label[32] = {};
  bool negateDisplay = false;
  std::vector<IValueText> valueTexts;
};
