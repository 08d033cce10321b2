#include "platform/DebugPrint.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
std::vector<std::string> captured;
void Capture(const char* line) {
  captured.emplace_back(line);
}
} // namespace

TEST(DebugPrint, TrimsTrailingBlanksAndEndsWithCrLf) {
  char line[4096];
  FormatDebugLine(line, "frame: %d\n", 2);
  EXPECT_STREQ(line, "frame: 2\r\n");
  FormatDebugLine(line, "midi %i channel: %i cc: %i val: %i \n", 176, 0, 69, 127);
  EXPECT_STREQ(line, "midi 176 channel: 0 cc: 69 val: 127\r\n");
}

TEST(DebugPrint, LongLinesAreCutSoLineEndAlwaysFits) {
  std::string longText(5000, 'x');
  char line[4096];
  FormatDebugLine(line, "%s", longText.c_str());
  EXPECT_EQ(std::string(line).size(), 4095u);
  EXPECT_EQ(std::string(line).substr(4093), "\r\n");
}

TEST(DebugPrint, LinesReachTheInstalledSink) {
  captured.clear();
  SetDebugSink(Capture);
  DebugPrint("value %d", 7);
  SetDebugSink(nullptr);
  DebugPrint("not captured");
  ASSERT_EQ(captured.size(), 1u);
  EXPECT_EQ(captured[0], "value 7\r\n");
}
