#pragma once

#include "plugin/Parameter.h"

// A parameter's text as hosts without a separate unit field show it: the display text of a real
// value, then its unit after a space (none after a value text of its own).
void ParameterTextWithUnit(const IParameter& parameter, double realValue, char* out, int outSize);

// A text typed by a user, read as the parameter's real value: its value texts where it has any,
// otherwise the leading number (shown negated where the display negates it). False when a
// parameter with value texts has none matching.
bool ParameterValueFromText(const IParameter& parameter, const char* text, double* realValue);
