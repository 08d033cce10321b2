#include "tests/vst2/PluginModule.h"
#include "tests/vst2/TestHost.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(EntryPoint, BothExportsExist) {
  ASSERT_TRUE(BuiltPlugin().Loaded()) << OMBRIX_PLUGIN_FILE;
  EXPECT_NE(BuiltPlugin().Entry("VSTPluginMain"), nullptr);
  EXPECT_NE(BuiltPlugin().Entry("main"), nullptr);
}

TEST(EntryPoint, RecordReadsAsTheEffectWithItsEditor) {
  TestHost host;
  ASSERT_NE(host.effect, nullptr);
  const AEffect& record = *host.effect;
  EXPECT_EQ(record.magic, 0x56737450);
  EXPECT_EQ(record.numPrograms, 5);
  EXPECT_EQ(record.numParams, 3);
  EXPECT_EQ(record.numInputs, 2);
  EXPECT_EQ(record.numOutputs, 2);
  // Editor, mono, replacing and double replacing.
  EXPECT_EQ(record.flags, 0x1019);
  EXPECT_EQ(record.initialDelay, 0);
  EXPECT_EQ(record.uniqueID, 0x49706566);
  EXPECT_EQ(record.version, 10201);
  EXPECT_EQ(record.ioRatio, 1.0f);
  EXPECT_EQ(record.resvd1, 0);
  EXPECT_EQ(record.resvd2, 0);
  EXPECT_EQ(record.realQualities, 0);
  EXPECT_EQ(record.offQualities, 0);
  EXPECT_NE(record.object, nullptr);
  EXPECT_NE(record.dispatcher, nullptr);
  EXPECT_NE(record.process, nullptr);
  EXPECT_NE(record.processReplacing, nullptr);
  EXPECT_NE(record.processDoubleReplacing, nullptr);
  EXPECT_NE(record.setParameter, nullptr);
  EXPECT_NE(record.getParameter, nullptr);
  const char zeros[sizeof(record.future)] = {};
  EXPECT_EQ(std::memcmp(record.future, zeros, sizeof(zeros)), 0);
}

TEST(EntryPoint, MainAndVstPluginMainBuildTheSameRecord) {
  TestHost viaMain("main");
  TestHost viaVstPluginMain("VSTPluginMain");
  ASSERT_NE(viaMain.effect, nullptr);
  ASSERT_NE(viaVstPluginMain.effect, nullptr);
  AEffect a = *viaMain.effect;
  AEffect b = *viaVstPluginMain.effect;
  // Each instance is its own object; every other byte of the record is the same.
  EXPECT_NE(a.object, b.object);
  a.object = b.object = nullptr;
  a.user = b.user = nullptr;
  EXPECT_EQ(std::memcmp(&a, &b, sizeof(AEffect)), 0);
}

TEST(EntryPoint, NeverCallsTheHostWhileBuilding) {
  const int before = TestHost::CallsBeforeRecordKnown();
  TestHost host;
  EXPECT_EQ(TestHost::CallsBeforeRecordKnown(), before);
  EXPECT_TRUE(host.calls.empty());
}

TEST(EntryPoint, EveryPresetSlotIsDefinedWithTheFactoryPresets) {
  TestHost host;
  const char* names[] = {"Default", "Kinda Clean", "Dirty", "Dirtier", "Is it still music???"};
  for (int i = 0; i < 5; ++i) {
    char name[24] = {};
    EXPECT_EQ(host.Dispatch(effGetProgramNameIndexed, i, 0, name), 1);
    EXPECT_STREQ(name, names[i]);
  }
}

TEST(EntryPoint, InstancesDoNotShareState) {
  TestHost first;
  TestHost second;
  first.effect->setParameter(first.effect, 0, 0.5f);
  EXPECT_FLOAT_EQ(first.effect->getParameter(first.effect, 0), 0.5f);
  EXPECT_FLOAT_EQ(second.effect->getParameter(second.effect, 0), 0.0f);
}
