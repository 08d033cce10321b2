#include "raster/TextCodes.h"

namespace {
bool IsContinuation(unsigned char byte) {
  return byte >= 0x80 && byte <= 0xBF;
}

// Bytes that follow a lead byte, or 0 when it does not start a sequence.
int FollowingBytes(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) {
    return 1;
  }
  if (lead >= 0xE0 && lead <= 0xEF) {
    return 2;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    return 3;
  }
  return 0;
}

// The length of a well-formed sequence starting at position, or 1.
int SequenceLength(const unsigned char* text, int position, int end) {
  const int following = FollowingBytes(text[position]);
  if (following == 0 || position + following >= end) {
    return 1;
  }
  for (int i = 1; i <= following; ++i) {
    if (!IsContinuation(text[position + i])) {
      return 1;
    }
  }
  return following + 1;
}
} // namespace

TextCodes::TextCodes(const char* source, int length)
    : text(reinterpret_cast<const unsigned char*>(source)) {
  if (!source) {
    return;
  }
  while ((length < 0 || end < length) && text[end] != 0) {
    ++end;
  }
}

int TextCodes::Next() {
  const unsigned char lead = text[position];
  const int bytes = SequenceLength(text, position, end);
  const unsigned char* s = text + position;
  position += bytes;
  switch (bytes) {
  case 2:
    return ((lead & 0x1F) << 6) | (s[1] & 0x3F);
  case 3:
    return ((lead & 0x0F) << 12) | ((s[1] & 0x3F) << 6) | (s[2] & 0x3F);
  case 4:
    return ' ';
  default:
    return lead;
  }
}

bool TextCodes::HasMultiByte() const {
  for (int i = 0; i < end; ++i) {
    if (SequenceLength(text, i, end) > 1) {
      return true;
    }
  }
  return false;
}
