#include "failing_allocation.h"
#include "plugin/ByteBlock.h"
#include "plugin/StateHeader.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {
std::vector<uint8_t> Bytes(const IByteBlock& block) {
  return std::vector<uint8_t>(block.Data(), block.Data() + block.Size());
}
} // namespace

TEST(ByteBlock, AppendsLittleEndianWithoutPadding) {
  IByteBlock block;
  ASSERT_TRUE(block.AppendInt32(0x70666674));
  ASSERT_TRUE(block.AppendByte(0xAB));
  ASSERT_TRUE(block.AppendDouble(99.99));
  ASSERT_TRUE(block.AppendInt32(-2));
  const std::vector<uint8_t> expected = {0x74, 0x66, 0x66, 0x70, 0xAB, 0x8f, 0xc2, 0xf5, 0x28,
                                         0x5c, 0xff, 0x58, 0x40, 0xFE, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(Bytes(block), expected);

  int32_t magic = 0;
  uint8_t byte = 0;
  double value = 0.0;
  int32_t negative = 0;
  int position = block.ReadInt32(0, &magic);
  position = block.ReadByte(position, &byte);
  position = block.ReadDouble(position, &value);
  position = block.ReadInt32(position, &negative);
  EXPECT_EQ(position, 17);
  EXPECT_EQ(magic, 0x70666674);
  EXPECT_EQ(byte, 0xAB);
  EXPECT_EQ(value, 99.99);
  EXPECT_EQ(negative, -2);
}

TEST(ByteBlock, ShortReadsFailAndLeaveTheOutputAlone) {
  IByteBlock block;
  block.AppendInt32(7);
  block.AppendByte(1);
  double value = 3.5;
  EXPECT_EQ(block.ReadDouble(0, &value), -1);
  EXPECT_EQ(value, 3.5);
  int32_t number = 42;
  EXPECT_EQ(block.ReadInt32(2, &number), -1);
  EXPECT_EQ(block.ReadInt32(-1, &number), -1);
  EXPECT_EQ(block.ReadInt32(INT_MIN, &number), -1);
  EXPECT_EQ(block.ReadInt32(INT_MAX, &number), -1);
  EXPECT_EQ(number, 42);
  EXPECT_EQ(block.ReadInt32(1, &number), 5);
  EXPECT_EQ(number, 0x01000000);
  EXPECT_FALSE(block.Holds(4, 2));
  EXPECT_FALSE(block.Holds(INT_MAX, INT_MAX));
  EXPECT_FALSE(block.Holds(0, -1));
}

TEST(ByteBlock, GrowsInPagesByAboutHalfAgainAtMostFourMegabytesAtATime) {
  IByteBlock block;
  block.AppendByte(1);
  EXPECT_EQ(block.Capacity(), 4000);
  block.Resize(4000);
  EXPECT_EQ(block.Capacity(), 4000);
  block.AppendByte(2);
  EXPECT_EQ(block.Capacity(), 8096);
  // 20000 bytes: half is 10000, rounded down to 8192 pages; 20000 + 96 + 8192 = 28288 -> 24576.
  block.Resize(20000);
  EXPECT_EQ(block.Capacity(), 24480);
  // 10 MB: the extra half is limited to 4 MiB.
  block.Resize(10000000);
  EXPECT_EQ(block.Capacity(), (10000000 + 96 + 4194304) / 4096 * 4096 - 96);
  EXPECT_EQ(block.Data()[0], 1);
  EXPECT_EQ(block.Data()[4000], 2);
}

TEST(ByteBlock, ResizeZeroesNewBytesAndRejectsBadSizes) {
  IByteBlock block;
  block.AppendInt32(-1);
  block.Resize(2);
  ASSERT_TRUE(block.Resize(6));
  EXPECT_EQ(Bytes(block), (std::vector<uint8_t>{0xFF, 0xFF, 0, 0, 0, 0}));
  EXPECT_FALSE(block.Resize(-1));
  EXPECT_FALSE(block.AppendBytes(nullptr, 3));
  EXPECT_FALSE(block.AppendBytes("x", -1));
  EXPECT_EQ(block.Size(), 6);
}

TEST(ByteBlock, FailedAllocationKeepsSizeAndContents) {
  IByteBlock block;
  const std::vector<uint8_t> start(4000, 0x5A);
  ASSERT_TRUE(block.AppendBytes(start.data(), 4000));
  const int full = static_cast<int>(block.Capacity());
  {
    FailingAllocations failing;
    // Up to the capacity no memory is needed.
    EXPECT_TRUE(block.Resize(full));
    EXPECT_FALSE(block.AppendInt32(1));
    EXPECT_FALSE(block.AppendDouble(1.0));
    EXPECT_FALSE(block.AppendBytes(start.data(), 4000));
    EXPECT_FALSE(block.Resize(full + 1));
  }
  EXPECT_EQ(block.Size(), full);
  EXPECT_EQ(block.Data()[3999], 0x5A);
  EXPECT_EQ(block.Data()[4000], 0);
  EXPECT_TRUE(block.AppendInt32(1));
  EXPECT_EQ(block.Size(), full + 4);
  EXPECT_EQ(block.Data()[0], 0x5A);
}

TEST(ByteBlock, RefusesToGrowBeyondTheIntRange) {
  IByteBlock block;
  block.AppendByte(9);
  // Refused before any byte is copied, so the short source is never read.
  const char byte = 0;
  EXPECT_FALSE(block.AppendBytes(&byte, INT_MAX));
  EXPECT_EQ(block.Size(), 1);
  EXPECT_EQ(block.Data()[0], 9);
}

TEST(StateHeader, WritesMagicAndVersionIntoAnEmptiedBlock) {
  IByteBlock block;
  block.AppendDouble(1.0);
  ASSERT_TRUE(WriteStateHeader(&block));
  EXPECT_EQ(Bytes(block), (std::vector<uint8_t>{0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00}));
  int position = 0;
  EXPECT_EQ(ReadStateHeader(&block, &position), 0x10000);
  EXPECT_EQ(position, 8);
}

TEST(StateHeader, MissingOrCutHeaders) {
  IByteBlock noHeader;
  noHeader.AppendDouble(50.0);
  int position = 0;
  EXPECT_EQ(ReadStateHeader(&noHeader, &position), 0);
  EXPECT_EQ(position, 0);

  IByteBlock magicOnly;
  magicOnly.AppendInt32(stateMagic);
  magicOnly.AppendByte(0);
  EXPECT_EQ(ReadStateHeader(&magicOnly, &position), 0);
  EXPECT_EQ(position, -1);

  IByteBlock tiny;
  tiny.AppendByte(0x74);
  position = 0;
  EXPECT_EQ(ReadStateHeader(&tiny, &position), 0);
  EXPECT_EQ(position, 0);
  position = -1;
  EXPECT_EQ(ReadStateHeader(&tiny, &position), 0);
  EXPECT_EQ(position, -1);
}
