#pragma once

#include <string>

// Number reading and writing for command-line values and the texts plug-ins display.

// The whole text is one decimal number (no blanks, nothing after it).
bool ParseWholeNumber(const std::string& text, double* value);
bool ParseWholeInteger(const std::string& text, long long* value);

// A number at the start of the text, as plug-ins display values ("50.00", " -3.5 dB"); the
// count of digits after its decimal point goes to decimals.
bool ParseLeadingNumber(const std::string& text, double* value, int* decimals);

// Shortest plain form: 120, 0.5, 99.99.
std::string FormatPlain(double value);
