#include "tools/render/FxFormat.h"

#include "tests/tools/RenderTestSupport.h"

#include <gtest/gtest.h>

namespace {
const FxIdentity kIdentity = {0x49706566, 10201};

FxProgram ListProgram(const std::string& name, std::vector<float> values) {
  FxProgram program;
  program.name = name;
  program.parameters = std::move(values);
  return program;
}

std::string Text(const std::vector<uint8_t>& bytes, size_t offset, size_t count) {
  return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                     bytes.begin() + static_cast<std::ptrdiff_t>(offset + count));
}
} // namespace

TEST(FxFormat, ProgramListLayoutIsBigEndianWithTheNameInTwentyEightBytes) {
  const std::vector<uint8_t> bytes =
      EncodeFxp(ListProgram("Dirty", {0.5f, 1.0f, -2.0f}), kIdentity);
  ASSERT_EQ(bytes.size(), 56u + 3 * 4);
  EXPECT_EQ(Text(bytes, 0, 4), "CcnK");
  EXPECT_EQ(BigEndianAt(bytes, 4), bytes.size() - 8);
  EXPECT_EQ(Text(bytes, 8, 4), "FxCk");
  EXPECT_EQ(BigEndianAt(bytes, 12), 1u);
  EXPECT_EQ(BigEndianAt(bytes, 16), 0x49706566u);
  EXPECT_EQ(BigEndianAt(bytes, 20), 10201u);
  EXPECT_EQ(BigEndianAt(bytes, 24), 3u);
  EXPECT_EQ(Text(bytes, 28, 6), std::string("Dirty\0", 6));
  for (size_t i = 33; i < 56; ++i) {
    EXPECT_EQ(bytes[i], 0) << "name padding at " << i;
  }
  // 0.5f is 3F 00 00 00, most significant byte first.
  EXPECT_EQ(BigEndianAt(bytes, 56), 0x3F000000u);
  EXPECT_EQ(BigEndianAt(bytes, 60), 0x3F800000u);
  EXPECT_EQ(BigEndianAt(bytes, 64), 0xC0000000u);
}

TEST(FxFormat, LongNamesAreCutToTwentySevenCharactersAndATerminator) {
  const std::vector<uint8_t> bytes = EncodeFxp(ListProgram(std::string(40, 'x'), {}), kIdentity);
  EXPECT_EQ(Text(bytes, 28, 27), std::string(27, 'x'));
  EXPECT_EQ(bytes[55], 0);
  FxProgram read;
  FxIdentity identity;
  std::string error;
  ASSERT_TRUE(DecodeFxp(bytes, &read, &identity, &error)) << error;
  EXPECT_EQ(read.name, std::string(27, 'x'));
  // A file whose writer filled all 28 bytes reads as the 27 characters a file can write back.
  std::vector<uint8_t> unterminated = bytes;
  unterminated[55] = 'x';
  ASSERT_TRUE(DecodeFxp(unterminated, &read, &identity, &error)) << error;
  EXPECT_EQ(read.name, std::string(27, 'x'));
}

TEST(FxFormat, ProgramChunkCarriesItsSizeAndBytes) {
  FxProgram program;
  program.name = "Opaque";
  program.isChunk = true;
  program.chunk = {1, 2, 3, 4, 5};
  const std::vector<uint8_t> bytes = EncodeFxp(program, kIdentity);
  ASSERT_EQ(bytes.size(), 56u + 4 + 5);
  EXPECT_EQ(Text(bytes, 8, 4), "FPCh");
  EXPECT_EQ(BigEndianAt(bytes, 4), bytes.size() - 8);
  EXPECT_EQ(BigEndianAt(bytes, 56), 5u);
  EXPECT_EQ(bytes[60], 1);
  EXPECT_EQ(bytes[64], 5);

  FxProgram read;
  FxIdentity identity;
  std::string error;
  ASSERT_TRUE(DecodeFxp(bytes, &read, &identity, &error)) << error;
  EXPECT_TRUE(read.isChunk);
  EXPECT_EQ(read.chunk, program.chunk);
  EXPECT_EQ(read.name, "Opaque");
}

TEST(FxFormat, BankListHoldsFullProgramRecordsAfterA156ByteHeader) {
  FxBank bank;
  bank.currentProgram = 1;
  bank.programs = {ListProgram("One", {0.1f, 0.2f}), ListProgram("Two", {0.3f, 0.4f})};
  const std::vector<uint8_t> bytes = EncodeFxb(bank, kIdentity);
  const size_t programBytes = 56 + 2 * 4;
  ASSERT_EQ(bytes.size(), 156 + 2 * programBytes);
  EXPECT_EQ(Text(bytes, 0, 4), "CcnK");
  EXPECT_EQ(BigEndianAt(bytes, 4), bytes.size() - 8);
  EXPECT_EQ(Text(bytes, 8, 4), "FxBk");
  EXPECT_EQ(BigEndianAt(bytes, 12), 2u);
  EXPECT_EQ(BigEndianAt(bytes, 16), 0x49706566u);
  EXPECT_EQ(BigEndianAt(bytes, 20), 10201u);
  EXPECT_EQ(BigEndianAt(bytes, 24), 2u);
  EXPECT_EQ(BigEndianAt(bytes, 28), 1u);
  for (size_t i = 32; i < 156; ++i) {
    EXPECT_EQ(bytes[i], 0) << "reserved byte " << i;
  }
  EXPECT_EQ(Text(bytes, 156, 4), "CcnK");
  EXPECT_EQ(BigEndianAt(bytes, 160), programBytes - 8);
  EXPECT_EQ(Text(bytes, 164, 4), "FxCk");
  EXPECT_EQ(Text(bytes, 156 + 28, 3), "One");
  EXPECT_EQ(Text(bytes, 156 + programBytes + 28, 3), "Two");
  EXPECT_FLOAT_EQ(BigEndianFloatAt(bytes, 156 + programBytes + 60), 0.4f);

  FxBank read;
  FxIdentity identity;
  std::string error;
  ASSERT_TRUE(DecodeFxb(bytes, &read, &identity, &error)) << error;
  EXPECT_EQ(identity.uniqueId, kIdentity.uniqueId);
  EXPECT_EQ(identity.version, kIdentity.version);
  EXPECT_EQ(read.currentProgram, 1);
  ASSERT_EQ(read.programs.size(), 2u);
  EXPECT_EQ(read.programs[1].name, "Two");
  EXPECT_EQ(read.programs[1].parameters, (std::vector<float>{0.3f, 0.4f}));
}

TEST(FxFormat, BankChunkAndFormatVersionOne) {
  FxBank bank;
  bank.isChunk = true;
  bank.programCount = 5;
  bank.currentProgram = 3;
  bank.chunk = {9, 8, 7};
  std::vector<uint8_t> bytes = EncodeFxb(bank, kIdentity);
  ASSERT_EQ(bytes.size(), 156u + 4 + 3);
  EXPECT_EQ(Text(bytes, 8, 4), "FBCh");
  EXPECT_EQ(BigEndianAt(bytes, 24), 5u);
  EXPECT_EQ(BigEndianAt(bytes, 156), 3u);

  FxBank read;
  FxIdentity identity;
  std::string error;
  ASSERT_TRUE(DecodeFxb(bytes, &read, &identity, &error)) << error;
  EXPECT_EQ(read.chunk, bank.chunk);
  EXPECT_EQ(read.currentProgram, 3);
  // A version 1 bank names no current program: what sits there is reserved.
  bytes[15] = 1;
  ASSERT_TRUE(DecodeFxb(bytes, &read, &identity, &error)) << error;
  EXPECT_EQ(read.currentProgram, -1);
}

TEST(FxFormat, MalformedFilesAreRefusedWithoutReadingPastTheirEnd) {
  const std::vector<uint8_t> program = EncodeFxp(ListProgram("P", {0.5f, 0.5f}), kIdentity);
  FxProgram readProgram;
  FxBank readBank;
  FxIdentity identity;
  std::string error;
  // Every cut of a program file is refused.
  for (size_t size = 0; size < program.size(); ++size) {
    const std::vector<uint8_t> cut(program.begin(),
                                   program.begin() + static_cast<std::ptrdiff_t>(size));
    EXPECT_FALSE(DecodeFxp(cut, &readProgram, &identity, &error)) << "cut to " << size;
  }
  std::vector<uint8_t> wrong = program;
  wrong[0] = 'X';
  EXPECT_FALSE(DecodeFxp(wrong, &readProgram, &identity, &error));
  EXPECT_NE(error.find("CcnK"), std::string::npos);
  // A bank is not a program and a program is not a bank.
  EXPECT_FALSE(DecodeFxb(program, &readBank, &identity, &error));
  EXPECT_NE(error.find("FxCk instead of FxBk or FBCh"), std::string::npos);
  FxBank bank;
  bank.programs = {ListProgram("A", {0.0f})};
  EXPECT_FALSE(DecodeFxp(EncodeFxb(bank, kIdentity), &readProgram, &identity, &error));
  // Counts far beyond the data.
  wrong = program;
  wrong[24] = 0x7F;
  EXPECT_FALSE(DecodeFxp(wrong, &readProgram, &identity, &error));
  wrong[24] = 0xFF;
  EXPECT_FALSE(DecodeFxp(wrong, &readProgram, &identity, &error));
  std::vector<uint8_t> bankBytes = EncodeFxb(bank, kIdentity);
  bankBytes[24] = 0x40;
  EXPECT_FALSE(DecodeFxb(bankBytes, &readBank, &identity, &error));
  bankBytes[24] = 0x80;
  EXPECT_FALSE(DecodeFxb(bankBytes, &readBank, &identity, &error));
  // A chunk size larger than the file, or negative.
  FxProgram chunkProgram;
  chunkProgram.isChunk = true;
  chunkProgram.chunk = {1, 2};
  std::vector<uint8_t> chunkBytes = EncodeFxp(chunkProgram, kIdentity);
  chunkBytes[59] = 3;
  EXPECT_FALSE(DecodeFxp(chunkBytes, &readProgram, &identity, &error));
  chunkBytes[56] = 0xFF;
  EXPECT_FALSE(DecodeFxp(chunkBytes, &readProgram, &identity, &error));
}

TEST(FxFormat, UniqueIdsPrintAsTheirCharacters) {
  EXPECT_EQ(FourCharacterText(0x49706566), "Ipef");
  EXPECT_EQ(FourCharacterText(0x00000001), "0x00000001");
}
