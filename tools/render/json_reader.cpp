#include "tools/render/JsonReader.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {
// Deeper nesting is refused: no automation file needs it, and recursion must stay bounded.
constexpr int kMostDepth = 64;
constexpr int kHexDigits = 4;
constexpr unsigned kHighSurrogate = 0xD800;
constexpr unsigned kLowSurrogate = 0xDC00;
constexpr unsigned kLastSurrogate = 0xDFFF;
constexpr unsigned kSupplementaryStart = 0x10000;

class Reader {
public:
  explicit Reader(const std::string& text) : text(text) {}

  bool Document(JsonValue* value, std::string* error) {
    SkipBlanks();
    if (!Value(value, 0)) {
      *error = failure;
      return false;
    }
    SkipBlanks();
    if (at < text.size()) {
      Fail("unexpected text after the end of the document");
      *error = failure;
      return false;
    }
    return true;
  }

private:
  bool Fail(const std::string& reason) {
    failure = "line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + reason;
    return false;
  }

  void Advance() {
    if (text[at] == '\n') {
      ++line;
      column = 1;
    } else {
      ++column;
    }
    ++at;
  }

  void SkipBlanks() {
    while (at < text.size() &&
           (text[at] == ' ' || text[at] == '\t' || text[at] == '\n' || text[at] == '\r')) {
      Advance();
    }
  }

  bool Literal(const char* word) {
    for (size_t i = 0; word[i]; ++i) {
      if (at >= text.size() || text[at] != word[i]) {
        return Fail(std::string("expected ") + word);
      }
      Advance();
    }
    return true;
  }

  bool Value(JsonValue* value, int depth) {
    if (depth > kMostDepth) {
      return Fail("nested too deeply");
    }
    value->line = line;
    value->column = column;
    if (at >= text.size()) {
      return Fail("the document ends where a value was expected");
    }
    const char c = text[at];
    if (c == '{') {
      return Object(value, depth);
    }
    if (c == '[') {
      return Array(value, depth);
    }
    if (c == '"') {
      value->kind = JsonValue::Kind::String;
      return String(&value->text);
    }
    if (c == 't' || c == 'f') {
      value->kind = JsonValue::Kind::Bool;
      value->boolean = c == 't';
      return Literal(c == 't' ? "true" : "false");
    }
    if (c == 'n') {
      return Literal("null");
    }
    if (c == '-' || (c >= '0' && c <= '9')) {
      return Number(value);
    }
    return Fail(std::string("unexpected character '") + c + "'");
  }

  bool Number(JsonValue* value) {
    const size_t start = at;
    while (at < text.size() &&
           (std::strchr("+-.eE", text[at]) || (text[at] >= '0' && text[at] <= '9'))) {
      Advance();
    }
    const std::string digits = text.substr(start, at - start);
    char* end = nullptr;
    value->number = std::strtod(digits.c_str(), &end);
    value->kind = JsonValue::Kind::Number;
    if (!end || *end != '\0' || !std::isfinite(value->number)) {
      return Fail("\"" + digits + "\" is not a number");
    }
    return true;
  }

  bool String(std::string* out) {
    Advance();
    while (at < text.size() && text[at] != '"') {
      if (static_cast<unsigned char>(text[at]) < 0x20) {
        return Fail("a control character inside a string");
      }
      if (text[at] == '\\') {
        Advance();
        if (at >= text.size()) {
          break;
        }
        const char escaped = text[at];
        if (escaped == 'u') {
          if (!Unicode(out)) {
            return false;
          }
          continue;
        }
        const char* from = "\"\\/bfnrt";
        const char* to = "\"\\/\b\f\n\r\t";
        const char* found = std::strchr(from, escaped);
        if (!found || escaped == '\0') {
          return Fail(std::string("unknown escape \\") + escaped);
        }
        out->push_back(to[found - from]);
      } else {
        out->push_back(text[at]);
      }
      Advance();
    }
    if (at >= text.size()) {
      return Fail("a string is not closed");
    }
    Advance();
    return true;
  }

  // Four hex digits after "\u" (the 'u' under the cursor), as UTF-8; a surrogate pair is read
  // whole. Leaves the cursor after the digits.
  bool Hex(unsigned* code) {
    *code = 0;
    for (int i = 0; i < kHexDigits; ++i) {
      Advance();
      const char c = at < text.size() ? text[at] : '\0';
      const int digit = c >= '0' && c <= '9'   ? c - '0'
                        : c >= 'a' && c <= 'f' ? c - 'a' + 10
                        : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                               : -1;
      if (digit < 0) {
        return Fail("\\u needs four hex digits");
      }
      *code = *code * 16 + static_cast<unsigned>(digit);
    }
    Advance();
    return true;
  }

  bool Unicode(std::string* out) {
    unsigned code = 0;
    if (!Hex(&code)) {
      return false;
    }
    if (code >= kHighSurrogate && code < kLowSurrogate) {
      unsigned low = 0;
      if (at + 1 >= text.size() || text[at] != '\\' || text[at + 1] != 'u') {
        return Fail("a surrogate \\u escape without its second half");
      }
      Advance();
      if (!Hex(&low) || low < kLowSurrogate || low > kLastSurrogate) {
        return Fail("a surrogate \\u escape without its second half");
      }
      code = kSupplementaryStart + ((code - kHighSurrogate) << 10) + (low - kLowSurrogate);
    }
    if (code < 0x80) {
      out->push_back(static_cast<char>(code));
    } else if (code < 0x800) {
      out->push_back(static_cast<char>(0xC0 | (code >> 6)));
      out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
      out->push_back(static_cast<char>(0xE0 | (code >> 12)));
      out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
      out->push_back(static_cast<char>(0xF0 | (code >> 18)));
      out->push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
      out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
    return true;
  }

  bool Array(JsonValue* value, int depth) {
    value->kind = JsonValue::Kind::Array;
    Advance();
    SkipBlanks();
    if (at < text.size() && text[at] == ']') {
      Advance();
      return true;
    }
    while (true) {
      SkipBlanks();
      value->items.emplace_back();
      if (!Value(&value->items.back(), depth + 1)) {
        return false;
      }
      SkipBlanks();
      if (at < text.size() && text[at] == ',') {
        Advance();
        continue;
      }
      if (at < text.size() && text[at] == ']') {
        Advance();
        return true;
      }
      return Fail("expected ',' or ']' in a list");
    }
  }

  bool Object(JsonValue* value, int depth) {
    value->kind = JsonValue::Kind::Object;
    Advance();
    SkipBlanks();
    if (at < text.size() && text[at] == '}') {
      Advance();
      return true;
    }
    while (true) {
      SkipBlanks();
      if (at >= text.size() || text[at] != '"') {
        return Fail("expected a name in quotes");
      }
      std::string key;
      if (!String(&key)) {
        return false;
      }
      SkipBlanks();
      if (at >= text.size() || text[at] != ':') {
        return Fail("expected ':' after \"" + key + "\"");
      }
      Advance();
      SkipBlanks();
      value->members.emplace_back(key, JsonValue());
      if (!Value(&value->members.back().second, depth + 1)) {
        return false;
      }
      SkipBlanks();
      if (at < text.size() && text[at] == ',') {
        Advance();
        continue;
      }
      if (at < text.size() && text[at] == '}') {
        Advance();
        return true;
      }
      return Fail("expected ',' or '}' in an object");
    }
  }

  const std::string& text;
  size_t at = 0;
  int line = 1;
  int column = 1;
  std::string failure;
};
} // namespace

std::string JsonValue::Place() const {
  return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

const JsonValue* JsonValue::Member(const std::string& key) const {
  for (const auto& [name, member] : members) {
    if (name == key) {
      return &member;
    }
  }
  return nullptr;
}

bool ReadJson(const std::string& text, JsonValue* value, std::string* error) {
  Reader reader(text);
  return reader.Document(value, error);
}
