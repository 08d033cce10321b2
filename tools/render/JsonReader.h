#pragma once

#include <string>
#include <vector>

// A JSON document read into values that remember where they stood, so a file's faults can be
// named by line and column. Input from anywhere: nesting and size are bounded, every read is
// checked.
struct JsonValue {
  enum class Kind { Null, Bool, Number, String, Array, Object };
  Kind kind = Kind::Null;
  bool boolean = false;
  double number = 0.0;
  std::string text;
  std::vector<JsonValue> items;
  // Object members in the order written.
  std::vector<std::pair<std::string, JsonValue>> members;
  int line = 1;
  int column = 1;

  // "line 3, column 7".
  std::string Place() const;
  // The member of that name, or null.
  const JsonValue* Member(const std::string& key) const;
};

// False with "line L, column C: reason" in error when the text is not one JSON value.
bool ReadJson(const std::string& text, JsonValue* value, std::string* error);
