#include "tools/render/TextNumbers.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

bool ParseWholeNumber(const std::string& text, double* value) {
  if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) {
    return false;
  }
  errno = 0;
  char* end = nullptr;
  const double number = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || errno == ERANGE) {
    return false;
  }
  *value = number;
  return true;
}

bool ParseWholeInteger(const std::string& text, long long* value) {
  if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) {
    return false;
  }
  errno = 0;
  char* end = nullptr;
  const long long number = std::strtoll(text.c_str(), &end, 10);
  if (end != text.c_str() + text.size() || errno == ERANGE) {
    return false;
  }
  *value = number;
  return true;
}

bool ParseLeadingNumber(const std::string& text, double* value, int* decimals) {
  const char* start = text.c_str();
  char* end = nullptr;
  const double number = std::strtod(start, &end);
  if (end == start) {
    return false;
  }
  int digits = 0;
  for (const char* c = start; c < end; ++c) {
    if (*c == '.') {
      while (++c < end && std::isdigit(static_cast<unsigned char>(*c))) {
        ++digits;
      }
      break;
    }
  }
  *value = number;
  *decimals = digits;
  return true;
}

std::string FormatPlain(double value) {
  char text[32];
  std::snprintf(text, sizeof(text), "%.10g", value);
  return text;
}
