#include "tests/vst2/TestHost.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {
using Bytes = std::vector<unsigned char>;

void AppendInt32(Bytes* bytes, int32_t value) {
  for (int i = 0; i < 4; ++i) {
    bytes->push_back(static_cast<unsigned char>(static_cast<uint32_t>(value) >> (8 * i)));
  }
}

void AppendDouble(Bytes* bytes, double value) {
  uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof(bits));
  for (int i = 0; i < 8; ++i) {
    bytes->push_back(static_cast<unsigned char>(bits >> (8 * i)));
  }
}

Bytes Header(int32_t version = 0x00010000) {
  Bytes bytes = {0x74, 0x66, 0x66, 0x70};
  AppendInt32(&bytes, version);
  return bytes;
}

void AppendSlot(Bytes* bytes, const std::string& name, double amount, double enabled) {
  AppendInt32(bytes, static_cast<int32_t>(name.size()));
  bytes->insert(bytes->end(), name.begin(), name.end());
  bytes->push_back(1);
  AppendDouble(bytes, amount);
  AppendDouble(bytes, enabled);
  AppendDouble(bytes, 0.0);
}

double Amount(TestHost& host) {
  return host.effect->getParameter(host.effect, 0) * 99.99;
}
} // namespace

TEST(StateBlocks, ProgramBlockIsHeaderAndThreeDoubles) {
  TestHost host;
  host.effect->setParameter(host.effect, 0, 0.5f);
  Bytes expected = Header();
  AppendDouble(&expected, 0.5f * 99.99);
  AppendDouble(&expected, 1.0);
  AppendDouble(&expected, 0.0);
  EXPECT_EQ(host.SaveChunk(true), expected);
  EXPECT_EQ(host.Dispatch(effGetChunk, 1), 0);
}

TEST(StateBlocks, FactoryBankIsTwoHundredThreeBytes) {
  TestHost host;
  Bytes expected = Header();
  // Saving a bank first stores the live values, the defaults with the animation on, in the
  // current program.
  AppendSlot(&expected, "Default", 0.0, 1.0);
  AppendSlot(&expected, "Kinda Clean", 20.0, 0.0);
  AppendSlot(&expected, "Dirty", 40.0, 0.0);
  AppendSlot(&expected, "Dirtier", 80.0, 0.0);
  AppendSlot(&expected, "Is it still music???", 99.99, 0.0);
  const Bytes bank = host.SaveChunk(false);
  EXPECT_EQ(bank.size(), 203u);
  EXPECT_EQ(bank, expected);
}

TEST(StateBlocks, ProgramBlockRoundTripsIntoAnotherInstance) {
  TestHost source;
  source.effect->setParameter(source.effect, 0, 0.3f);
  source.effect->setParameter(source.effect, 1, 0.0f);
  const Bytes program = source.SaveChunk(true);
  TestHost target;
  EXPECT_EQ(target.LoadChunk(true, program), 1);
  EXPECT_EQ(target.SaveChunk(true), program);
}

TEST(StateBlocks, BankRoundTripsNamesAndValues) {
  TestHost source;
  source.Dispatch(effSetProgram, 0, 2);
  char name[] = "Renamed";
  source.Dispatch(effSetProgramName, 0, 0, name);
  const Bytes bank = source.SaveChunk(false);
  TestHost target;
  target.Dispatch(effSetProgram, 0, 2);
  EXPECT_EQ(target.LoadChunk(false, bank), 1);
  EXPECT_EQ(target.Text(effGetProgramNameIndexed, 2), "Renamed");
  EXPECT_EQ(target.Text(effGetParamDisplay, 0), "40.00");
  EXPECT_EQ(target.SaveChunk(false), bank);
}

TEST(StateBlocks, ProgramBlockWithoutHeaderIsReadFromItsFirstByte) {
  TestHost host;
  Bytes values;
  AppendDouble(&values, 25.0);
  AppendDouble(&values, 0.0);
  AppendDouble(&values, 1.0);
  EXPECT_EQ(host.LoadChunk(true, values), 1);
  EXPECT_NEAR(Amount(host), 25.0, 1e-3);
  EXPECT_EQ(host.Text(effGetParamDisplay, 2), "1");
}

TEST(StateBlocks, BankWithOldVersionIsReadAsProgram) {
  TestHost host;
  Bytes block = Header(0x00000001);
  AppendDouble(&block, 60.0);
  AppendDouble(&block, 0.0);
  AppendDouble(&block, 0.0);
  EXPECT_EQ(host.LoadChunk(false, block), 1);
  EXPECT_EQ(host.Text(effGetParamDisplay, 0), "60.00");
}

TEST(StateBlocks, ShortProgramBlockAppliesWhatItHoldsAndFails) {
  TestHost host;
  host.effect->setParameter(host.effect, 2, 1.0f);
  Bytes block = Header();
  AppendDouble(&block, 30.0);
  AppendInt32(&block, 0x11111111);
  ASSERT_EQ(block.size(), 20u);
  EXPECT_EQ(host.LoadChunk(true, block), 0);
  EXPECT_EQ(host.Text(effGetParamDisplay, 0), "30.00");
  EXPECT_EQ(host.Text(effGetParamDisplay, 1), "0");
  EXPECT_EQ(host.Text(effGetParamDisplay, 2), "1");
}
