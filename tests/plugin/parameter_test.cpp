#include "plugin/Parameter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {
IParameter Amount() {
  IParameter parameter;
  parameter.DefineContinuous("Amount of Distortion", 0.0, 0.0, 99.99, 0.01, "%");
  return parameter;
}

IParameter Switch(int defaultValue = 0) {
  IParameter parameter;
  parameter.DefineInteger("#KELBA", defaultValue);
  return parameter;
}

std::string Format(const IParameter& parameter, double v, bool normalized = false,
                   bool useTexts = true) {
  char text[64];
  parameter.FormatValue(v, normalized, text, sizeof(text), useTexts);
  return text;
}
} // namespace

TEST(Parameter, DefineContinuousSetsRangePrecisionAndTexts) {
  const IParameter amount = Amount();
  EXPECT_EQ(amount.Kind(), IParameter::KindContinuous);
  EXPECT_STREQ(amount.Name(), "Amount of Distortion");
  EXPECT_EQ(amount.Precision(), 2);
  EXPECT_EQ(amount.Maximum(), 99.99);
  EXPECT_EQ(Format(amount, 99.99), "99.99");
  EXPECT_EQ(Format(amount, 50.0), "50.00");
  EXPECT_STREQ(amount.UnitLabel(), "%");
}

TEST(Parameter, PrecisionFollowsTheStepUpToSixDecimals) {
  IParameter widened;
  widened.DefineContinuous("p", 5.0, 0.0, 1.0, 2.0, "dB");
  EXPECT_EQ(widened.Maximum(), 2.0) << "never narrower than one step";
  EXPECT_EQ(widened.Value(), 5.0) << "the default is not limited";

  const double steps[] = {1.0, 0.5, 0.01, 0.001, 0.0000001, 0.25};
  const int precisions[] = {0, 1, 2, 3, 6, 2};
  for (int i = 0; i < 6; ++i) {
    IParameter parameter;
    parameter.DefineContinuous("p", 0.0, 0.0, 1.0, steps[i], "");
    EXPECT_EQ(parameter.Precision(), precisions[i]) << steps[i];
  }
}

TEST(Parameter, DefineIntegerKeepsAnEarlierKind) {
  IParameter parameter = Switch(1);
  EXPECT_EQ(parameter.Kind(), IParameter::KindInteger);
  EXPECT_EQ(parameter.Value(), 1.0);
  EXPECT_EQ(parameter.Precision(), 0);
  EXPECT_STREQ(parameter.UnitLabel(), "");
  parameter.DefineContinuous("again", 0.0, 0.0, 10.0, 0.1, "");
  EXPECT_EQ(parameter.Kind(), IParameter::KindInteger);
}

TEST(Parameter, ContinuousMappingIsNotRoundedToTheStep) {
  IParameter amount = Amount();
  amount.SetFromNormalized(0.5);
  EXPECT_EQ(amount.Value(), 0.5 * 99.99);
  EXPECT_EQ(amount.ToNormalized(), 0.5);
  amount.SetFromNormalized(1.0);
  EXPECT_EQ(amount.Value(), 99.99);
  EXPECT_EQ(amount.ToNormalized(150.0), 1.0);
  EXPECT_EQ(amount.ToNormalized(-3.0), 0.0);
}

TEST(Parameter, IntegerMappingRoundsHalfUpToTheStep) {
  IParameter parameter = Switch();
  parameter.SetFromNormalized(0.49);
  EXPECT_EQ(parameter.Value(), 0.0);
  parameter.SetFromNormalized(0.5);
  EXPECT_EQ(parameter.Value(), 1.0);

  IParameter integer;
  integer.DefineInteger("i", 0);
  integer.DefineContinuous("i", 0.0, -10.0, 10.0, 5.0, "");
  integer.SetFromNormalized(0.6); // -10 + 12 = 2 -> 0
  EXPECT_EQ(integer.Value(), 0.0);
  integer.SetFromNormalized(0.63); // 2.6 -> 5
  EXPECT_EQ(integer.Value(), 5.0);
}

TEST(Parameter, HostValuesOutsideTheUnitRangeStayInRange) {
  IParameter amount = Amount();
  amount.SetFromNormalized(-0.5);
  EXPECT_EQ(amount.Value(), 0.0);
  amount.SetFromNormalized(7.0);
  EXPECT_EQ(amount.Value(), 99.99);
  amount.SetFromNormalized(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(amount.Value(), 0.0);
}

TEST(Parameter, SetClampedLimitsAndRejectsNaN) {
  IParameter amount = Amount();
  amount.SetClamped(120.0);
  EXPECT_EQ(amount.Value(), 99.99);
  amount.SetClamped(-1.0);
  EXPECT_EQ(amount.Value(), 0.0);
  amount.SetClamped(33.3);
  EXPECT_EQ(amount.Value(), 33.3);
  amount.SetClamped(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(amount.Value(), 0.0);
}

TEST(Parameter, FormatValueTruncatesIntegersAndRoundsDecimals) {
  const IParameter integer = Switch();
  EXPECT_EQ(Format(integer, 1.0), "1");
  EXPECT_EQ(Format(integer, 0.5, true), "0");
  EXPECT_EQ(Format(integer, -0.9), "0");
  EXPECT_EQ(Format(integer, 1e12), "2147483647");
  EXPECT_EQ(Format(integer, -1e12), "-2147483648");
  const IParameter amount = Amount();
  EXPECT_EQ(Format(amount, 49.995), "49.99"); // 49.995 is stored just below the half
  EXPECT_EQ(Format(amount, 0.5, true), Format(amount, 0.5 * 99.99));
}

TEST(Parameter, FormatValueNeverWritesPastTheBuffer) {
  const IParameter amount = Amount();
  char text[6] = {'?', '?', '?', '?', '?', '?'};
  amount.FormatValue(12345.678, false, text, 5, true);
  EXPECT_STREQ(text, "1234");
  EXPECT_EQ(text[5], '?');
  amount.FormatValue(1e300, false, text, 5, true);
  EXPECT_STREQ(text, "1000");
}

TEST(Parameter, ValueTextsReplaceNumbersAndLabels) {
  IParameter parameter;
  parameter.DefineContinuous("Mode", 0.0, 0.0, 3.0, 1.0, "units");
  parameter.AddValueText(0, "Off");
  parameter.AddValueText(1, "");
  parameter.AddValueText(1, "Shadowed");
  parameter.AddValueText(2, "Loud");
  EXPECT_EQ(Format(parameter, 0.0), "Off");
  EXPECT_EQ(Format(parameter, 2.7), "Loud");
  EXPECT_EQ(Format(parameter, 1.0), "1"); // first match is empty: the number shows
  EXPECT_EQ(Format(parameter, 3.0), "3");
  EXPECT_EQ(Format(parameter, 0.0, false, false), "0");
  EXPECT_STREQ(parameter.UnitLabel(), "");
  parameter.SetClamped(1.0);
  EXPECT_STREQ(parameter.UnitLabel(), "units");
  parameter.SetClamped(3.0);
  EXPECT_STREQ(parameter.UnitLabel(), "units");

  int value = -1;
  EXPECT_TRUE(parameter.ParseValueText("Loud", &value));
  EXPECT_EQ(value, 2);
  EXPECT_TRUE(parameter.ParseValueText("Shadowed", &value));
  EXPECT_EQ(value, 1);
  value = -1;
  EXPECT_FALSE(parameter.ParseValueText("loud", &value));
  EXPECT_FALSE(parameter.ParseValueText(nullptr, &value));
  EXPECT_EQ(value, -1);
  EXPECT_FALSE(Amount().ParseValueText("0", &value));
}

TEST(Parameter, NegatedDisplayShowsTheOppositeSign) {
  IParameter parameter;
  parameter.DefineContinuous("Gain", 3.0, -10.0, 10.0, 0.1, "dB");
  parameter.SetNegateDisplay(true);
  parameter.AddValueText(3, "");
  EXPECT_EQ(Format(parameter, 3.0), "-3.0");
  EXPECT_EQ(Format(parameter, -2.5), "2.5");
}
