#pragma once

// Reads text as 16-bit character codes: well-formed UTF-8 sequences of two and three bytes become
// their code, four-byte sequences a space, and any other byte (a lone continuation byte, a lead
// byte without its continuation bytes, 0xF5-0xFF) stands for the character with its own value.
class TextCodes {
public:
  // length -1: the text runs to its zero byte; otherwise at most length bytes, stopping early
  // at a zero byte.
  TextCodes(const char* text, int length);

  bool AtEnd() const { return position >= end; }
  // The next character; call only when not AtEnd.
  int Next();
  // True when the text holds at least one well-formed multi-byte sequence.
  bool HasMultiByte() const;
  int Bytes() const { return end; }

private:
  const unsigned char* text;
  int end = 0;
  int position = 0;
};
