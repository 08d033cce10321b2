#include "tools/render/Json.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {
// Length of the UTF-8 sequence starting at text[i], or 0 when it is not one.
size_t Utf8Length(const std::string& text, size_t i) {
  const unsigned char lead = static_cast<unsigned char>(text[i]);
  size_t length = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
  } else {
    return 0;
  }
  if (i + length > text.size()) {
    return 0;
  }
  for (size_t k = 1; k < length; ++k) {
    if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
      return 0;
    }
  }
  return length;
}

std::string Escaped(unsigned int code) {
  char text[8];
  std::snprintf(text, sizeof(text), "\\u%04X", code);
  return text;
}

// The shortest of the usual forms that reads back as the same double.
std::string NumberText(double value) {
  char text[32];
  for (int digits = 15; digits <= 17; ++digits) {
    std::snprintf(text, sizeof(text), "%.*g", digits, value);
    if (std::strtod(text, nullptr) == value) {
      break;
    }
  }
  return text;
}
} // namespace

std::string JsonString(const std::string& text) {
  std::string result = "\"";
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char byte = static_cast<unsigned char>(text[i]);
    if (byte == '"' || byte == '\\') {
      result += '\\';
      result += static_cast<char>(byte);
    } else if (byte < 0x20) {
      result += Escaped(byte);
    } else if (byte < 0x80) {
      result += static_cast<char>(byte);
    } else if (const size_t length = Utf8Length(text, i)) {
      result.append(text, i, length);
      i += length - 1;
    } else {
      result += Escaped(byte);
    }
  }
  return result + "\"";
}

void JsonObject::Key(const char* key) {
  if (!fields.empty()) {
    fields += ",";
  }
  fields += JsonString(key) + ":";
}

JsonObject& JsonObject::AddString(const char* key, const std::string& value) {
  Key(key);
  fields += JsonString(value);
  return *this;
}

JsonObject& JsonObject::AddNumber(const char* key, double value) {
  Key(key);
  fields += std::isfinite(value) ? NumberText(value) : "null";
  return *this;
}

JsonObject& JsonObject::AddInteger(const char* key, int64_t value) {
  Key(key);
  fields += std::to_string(value);
  return *this;
}

JsonObject& JsonObject::AddBool(const char* key, bool value) {
  Key(key);
  fields += value ? "true" : "false";
  return *this;
}

JsonObject& JsonObject::AddObject(const char* key, const JsonObject& value) {
  Key(key);
  fields += value.Text();
  return *this;
}

JsonObject& JsonObject::AddStrings(const char* key, const std::vector<std::string>& values) {
  Key(key);
  fields += "[";
  for (size_t i = 0; i < values.size(); ++i) {
    fields += (i ? "," : "") + JsonString(values[i]);
  }
  fields += "]";
  return *this;
}
