#include "raster/TextCodes.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
std::vector<int> Codes(const char* text, int length = -1) {
  std::vector<int> codes;
  TextCodes reader(text, length);
  while (!reader.AtEnd()) {
    codes.push_back(reader.Next());
  }
  return codes;
}
} // namespace

TEST(TextCodes, WellFormedSequencesBecomeTheirCode) {
  EXPECT_EQ(Codes("A\xC3\xA9\xE2\x82\xAC"), (std::vector<int>{'A', 0xE9, 0x20AC}));
}

TEST(TextCodes, FourByteSequenceIsOneSpace) {
  EXPECT_EQ(Codes("a\xF0\x9F\x98\x80z"), (std::vector<int>{'a', ' ', 'z'}));
}

TEST(TextCodes, StrayBytesStandForThemselves) {
  // A lone continuation byte, a lead byte followed by no continuation, bytes that never lead.
  EXPECT_EQ(Codes("\x80\xBF"), (std::vector<int>{0x80, 0xBF}));
  EXPECT_EQ(Codes("\xC3"
                  "A"),
            (std::vector<int>{0xC3, 'A'}));
  EXPECT_EQ(Codes("\xE2\x82"
                  "A"),
            (std::vector<int>{0xE2, 0x82, 'A'}));
  EXPECT_EQ(Codes("\xC0\xC1\xF5\xFF"), (std::vector<int>{0xC0, 0xC1, 0xF5, 0xFF}));
}

TEST(TextCodes, LengthLimitsTheBytesAndCutsSequences) {
  EXPECT_EQ(Codes("\xC3\xA9", 1), (std::vector<int>{0xC3}));
  EXPECT_EQ(Codes("abc", 2), (std::vector<int>{'a', 'b'}));
  // A zero byte ends the text even inside the given length.
  const char buffer[] = {'a', 0, 'b', 'c'};
  EXPECT_EQ(Codes(buffer, 4), (std::vector<int>{'a'}));
  EXPECT_TRUE(Codes(nullptr).empty());
}

TEST(TextCodes, ReportsMultiByteSequences) {
  EXPECT_FALSE(TextCodes("plain \x80 text", -1).HasMultiByte());
  EXPECT_FALSE(TextCodes("\xC3", -1).HasMultiByte());
  EXPECT_TRUE(TextCodes("caf\xC3\xA9", -1).HasMultiByte());
  EXPECT_FALSE(TextCodes("caf\xC3\xA9", 4).HasMultiByte());
}
