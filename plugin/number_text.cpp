#include "plugin/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

double LeadingNumber(const char* text) {
  if (!text) {
    return 0.0;
  }
  while (*text == ' ' || *text == '\t' || *text == '\n' || *text == '\r' || *text == '\f' ||
         *text == '\v') {
    ++text;
  }
  bool negative = false;
  if (*text == '+' || *text == '-') {
    negative = *text == '-';
    ++text;
  }
  double number = 0.0;
  const char* end = text + std::strlen(text);
  const std::from_chars_result read = std::from_chars(text, end, number);
  if (read.ec == std::errc::result_out_of_range) {
    const char* exponent =
        std::find_if(text, read.ptr, [](char c) { return c == 'e' || c == 'E'; });
    number = exponent != read.ptr && exponent[1] == '-' ? 0.0 : HUGE_VAL;
  } else if (read.ec != std::errc() || std::isnan(number)) {
    return 0.0;
  }
  // A zero read as "-0" would show as "-0.00".
  return negative && number != 0.0 ? -number : number;
}
