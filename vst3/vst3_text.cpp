#include "vst3/Vst3Text.h"

#include <cstring>

namespace vst3 {
namespace {
constexpr char32_t Replacement = 0xFFFD;
constexpr int UidDigits = 32;
constexpr int DigitsPerWord = 8;

// The code point starting at text (advanced past it).
char32_t NextCodePoint(const unsigned char*& text) {
  const unsigned char lead = *text++;
  if (lead < 0x80) {
    return lead;
  }
  int extra = 0;
  char32_t point = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    point = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    point = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    point = lead & 0x07;
  } else {
    return Replacement;
  }
  for (int i = 0; i < extra; ++i) {
    if ((*text & 0xC0) != 0x80) {
      return Replacement;
    }
    point = point << 6 | (*text++ & 0x3F);
  }
  return point > 0x10FFFF ? Replacement : point;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  return -1;
}
} // namespace

void CopyText(char8* out, size_t capacity, const char* text) {
  if (capacity == 0) {
    return;
  }
  const size_t length = text ? strnlen(text, capacity - 1) : 0;
  std::memcpy(out, text ? text : "", length);
  out[length] = '\0';
}

void CopyUtf16(char16* out, size_t capacity, const char* text) {
  if (capacity == 0) {
    return;
  }
  size_t used = 0;
  const auto* at = reinterpret_cast<const unsigned char*>(text ? text : "");
  while (*at) {
    const char32_t point = NextCodePoint(at);
    const size_t units = point > 0xFFFF ? 2 : 1;
    if (used + units >= capacity) {
      break;
    }
    if (units == 2) {
      const char32_t rest = point - 0x10000;
      out[used++] = static_cast<char16>(0xD800 + (rest >> 10));
      out[used++] = static_cast<char16>(0xDC00 + (rest & 0x3FF));
    } else {
      out[used++] = static_cast<char16>(point);
    }
  }
  out[used] = 0;
}

void CopyUtf8(char* out, size_t capacity, const char16* text, size_t maxUnits) {
  if (capacity == 0) {
    return;
  }
  size_t used = 0;
  for (size_t i = 0; text && i < maxUnits && text[i] != 0; ++i) {
    char32_t point = text[i];
    if (point >= 0xD800 && point < 0xDC00 && i + 1 < maxUnits && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      point = 0x10000 + ((point - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (point >= 0xD800 && point < 0xE000) {
      point = Replacement;
    }
    char bytes[4];
    size_t count = 0;
    if (point < 0x80) {
      bytes[count++] = static_cast<char>(point);
    } else if (point < 0x800) {
      bytes[count++] = static_cast<char>(0xC0 | point >> 6);
      bytes[count++] = static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
      bytes[count++] = static_cast<char>(0xE0 | point >> 12);
      bytes[count++] = static_cast<char>(0x80 | (point >> 6 & 0x3F));
      bytes[count++] = static_cast<char>(0x80 | (point & 0x3F));
    } else {
      bytes[count++] = static_cast<char>(0xF0 | point >> 18);
      bytes[count++] = static_cast<char>(0x80 | (point >> 12 & 0x3F));
      bytes[count++] = static_cast<char>(0x80 | (point >> 6 & 0x3F));
      bytes[count++] = static_cast<char>(0x80 | (point & 0x3F));
    }
    if (used + count >= capacity) {
      break;
    }
    std::memcpy(out + used, bytes, count);
    used += count;
  }
  out[used] = '\0';
}

bool UidFromText(const char* text, Uid* uid) {
  if (!text || std::strlen(text) != UidDigits) {
    return false;
  }
  uint32 words[4] = {};
  for (int i = 0; i < UidDigits; ++i) {
    const int digit = HexDigit(text[i]);
    if (digit < 0) {
      return false;
    }
    words[i / DigitsPerWord] = words[i / DigitsPerWord] << 4 | static_cast<uint32>(digit);
  }
  *uid = MakeUid(words[0], words[1], words[2], words[3]);
  return true;
}
} // namespace vst3

namespace vst3 {
void TextFromUid(const void* bytes, char* out) {
  uint8 ordered[16];
  std::memcpy(ordered, bytes, sizeof(ordered));
#if defined(_WIN32)
  // Back from COM's layout: the first number and both halves of the second are little-endian.
  const uint8 swapped[8] = {ordered[3], ordered[2], ordered[1], ordered[0],
                            ordered[5], ordered[4], ordered[7], ordered[6]};
  std::memcpy(ordered, swapped, sizeof(swapped));
#endif
  constexpr char Digits[] = "0123456789ABCDEF";
  for (int i = 0; i < 16; ++i) {
    out[2 * i] = Digits[ordered[i] >> 4];
    out[2 * i + 1] = Digits[ordered[i] & 0x0F];
  }
  out[UidDigits] = '\0';
}
} // namespace vst3
