#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One JSON object written field by field, for the machine-readable report.
class JsonObject {
public:
  JsonObject& AddString(const char* key, const std::string& value);
  // Non-finite numbers are written as null, which JSON has in their place.
  JsonObject& AddNumber(const char* key, double value);
  JsonObject& AddInteger(const char* key, int64_t value);
  JsonObject& AddBool(const char* key, bool value);
  JsonObject& AddObject(const char* key, const JsonObject& value);
  JsonObject& AddStrings(const char* key, const std::vector<std::string>& values);
  // The object, "{...}", on one line.
  std::string Text() const { return "{" + fields + "}"; }

private:
  void Key(const char* key);
  std::string fields;
};

// The text as a JSON string with its quotes. Bytes that are not UTF-8 are read as Latin-1, so
// any file name gives valid JSON.
std::string JsonString(const std::string& text);
