#include "tests/vst2/TestHost.h"

#include <gtest/gtest.h>

namespace {
// Amount 50: clip at 0.5, gain 2.
constexpr float HalfAmount = 50.0f / 99.99f;
} // namespace

TEST(AudioPath, DoubleReplacingClipsAndRestoresLevel) {
  TestHost host;
  host.Start();
  host.effect->setParameter(host.effect, 0, HalfAmount);
  StereoBuffers<double> buffers(4);
  buffers.left = {0.25, 0.75, -0.75, 0.0};
  buffers.right = {-0.1, 0.5, 2.0, -2.0};
  host.effect->processDoubleReplacing(host.effect, buffers.Inputs(), buffers.Outputs(), 4);
  const double amount = static_cast<double>(HalfAmount) * 99.99;
  const double scale = 1.0 / (1.0 - amount / 100.0);
  EXPECT_NEAR(buffers.outLeft[0], 0.25 * scale, 1e-6);
  EXPECT_NEAR(buffers.outLeft[1], 1.0, 1e-6);
  EXPECT_NEAR(buffers.outLeft[2], -1.0, 1e-6);
  EXPECT_EQ(buffers.outLeft[3], 0.0);
  EXPECT_NEAR(buffers.outRight[0], -0.1 * scale, 1e-6);
  EXPECT_NEAR(buffers.outRight[2], 1.0, 1e-6);
  EXPECT_NEAR(buffers.outRight[3], -1.0, 1e-6);
}

TEST(AudioPath, ReplacingReplacesAndAddingAdds) {
  TestHost host;
  host.Start();
  StereoBuffers<float> replaced(2, 0.25f);
  host.effect->processReplacing(host.effect, replaced.Inputs(), replaced.Outputs(), 2);
  EXPECT_EQ(replaced.outLeft, (std::vector<float>{0.25f, 0.25f}));
  StereoBuffers<float> added(2, 0.25f);
  host.effect->process(host.effect, added.Inputs(), added.Outputs(), 2);
  EXPECT_EQ(added.outLeft, (std::vector<float>{0.5f, 0.5f}));
  EXPECT_EQ(added.outRight, (std::vector<float>{0.5f, 0.5f}));
}

TEST(AudioPath, EveryBlockAsksForMidiFirstAndForTheTransport) {
  TestHost host;
  host.Start();
  host.calls.clear();
  StereoBuffers<float> single(16);
  StereoBuffers<double> twice(16);
  host.effect->processReplacing(host.effect, single.Inputs(), single.Outputs(), 16);
  host.effect->process(host.effect, single.Inputs(), single.Outputs(), 16);
  host.effect->processDoubleReplacing(host.effect, twice.Inputs(), twice.Outputs(), 16);
  // A block of no frames still asks.
  host.effect->processDoubleReplacing(host.effect, twice.Inputs(), twice.Outputs(), 0);
  ASSERT_EQ(host.calls.size(), 8u);
  for (size_t block = 0; block < 4; ++block) {
    EXPECT_EQ(host.calls[2 * block].opcode, audioMasterWantMidi);
    EXPECT_EQ(host.calls[2 * block + 1].opcode, audioMasterGetTime);
    EXPECT_EQ(host.calls[2 * block + 1].value, 0x3E00);
  }
}

TEST(AudioPath, EventsGoBackOutInOffsetOrder) {
  TestHost host;
  host.Start(512);
  host.SendEvents({TestHost::Midi(5, 0x90, 60, 100), TestHost::Midi(3, 0x91, 61, 101),
                   TestHost::Midi(3, 0x92, 62, 102), TestHost::Midi(600, 0xB0, 70, 1)});
  StereoBuffers<double> buffers(512);
  host.effect->processDoubleReplacing(host.effect, buffers.Inputs(), buffers.Outputs(), 512);
  std::vector<VstMidiEvent> passed = host.PassedOnEvents();
  ASSERT_EQ(passed.size(), 3u);
  EXPECT_EQ(passed[0].deltaFrames, 3);
  EXPECT_EQ(static_cast<unsigned char>(passed[0].midiData[0]), 0x91);
  EXPECT_EQ(passed[1].deltaFrames, 3);
  EXPECT_EQ(static_cast<unsigned char>(passed[1].midiData[0]), 0x92);
  EXPECT_EQ(passed[2].deltaFrames, 5);
  EXPECT_EQ(passed[2].type, kVstMidiType);
  EXPECT_EQ(passed[2].byteSize, 32);
  EXPECT_EQ(passed[2].midiData[1], 60);
  EXPECT_EQ(passed[2].midiData[2], 100);
  EXPECT_EQ(passed[2].midiData[3], 0);
  // The event beyond this block waits for a block that reaches its sample.
  host.effect->processDoubleReplacing(host.effect, buffers.Inputs(), buffers.Outputs(), 512);
  EXPECT_EQ(host.PassedOnEvents().size(), 3u);
  StereoBuffers<double> longer(1024);
  host.Dispatch(effSetBlockSize, 0, 1024);
  host.effect->processDoubleReplacing(host.effect, longer.Inputs(), longer.Outputs(), 1024);
  passed = host.PassedOnEvents();
  ASSERT_EQ(passed.size(), 4u);
  EXPECT_EQ(passed[3].deltaFrames, 600);
}

TEST(AudioPath, ControllerSixtyNineMovesTheAmountMidBlock) {
  TestHost host;
  host.Start();
  host.SendEvents({TestHost::Midi(10, 0xB4, 69, 127)});
  host.calls.clear();
  StereoBuffers<double> buffers(32, 0.001);
  host.effect->processDoubleReplacing(host.effect, buffers.Inputs(), buffers.Outputs(), 32);
  for (int i = 0; i <= 10; ++i) {
    EXPECT_DOUBLE_EQ(buffers.outLeft[i], 0.001) << i;
  }
  for (int i = 11; i < 32; ++i) {
    EXPECT_DOUBLE_EQ(buffers.outLeft[i], 1.0) << i;
    EXPECT_DOUBLE_EQ(buffers.outRight[i], 1.0) << i;
  }
  EXPECT_DOUBLE_EQ(buffers.outRight[0], 1.0);
  const std::vector<HostCall> automation = host.CallsOf(audioMasterAutomate);
  ASSERT_EQ(automation.size(), 1u);
  EXPECT_EQ(automation[0].index, 0);
  EXPECT_EQ(automation[0].opt, 1.0f);
  EXPECT_EQ(host.Text(effGetParamDisplay, 0), "99.99");
  const std::vector<VstMidiEvent> passed = host.PassedOnEvents();
  ASSERT_EQ(passed.size(), 1u);
  EXPECT_EQ(passed[0].deltaFrames, 10);
  EXPECT_EQ(static_cast<unsigned char>(passed[0].midiData[0]), 0xB4);
}

TEST(AudioPath, OtherControllersAndNotesOnlyPassThrough) {
  TestHost host;
  host.Start();
  host.SendEvents({TestHost::Midi(0, 0xB0, 70, 127), TestHost::Midi(1, 0x90, 69, 127)});
  StereoBuffers<double> buffers(8);
  host.effect->processDoubleReplacing(host.effect, buffers.Inputs(), buffers.Outputs(), 8);
  EXPECT_EQ(host.PassedOnEvents().size(), 2u);
  EXPECT_EQ(host.CountOf(audioMasterAutomate), 0);
  EXPECT_EQ(host.Text(effGetParamDisplay, 0), "0.00");
}

TEST(AudioPath, HostParameterWritesAreNotEchoedBack) {
  TestHost host;
  host.effect->setParameter(host.effect, 0, 0.75f);
  EXPECT_FLOAT_EQ(host.effect->getParameter(host.effect, 0), 0.75f);
  host.effect->setParameter(host.effect, 1, 0.4f);
  EXPECT_EQ(host.effect->getParameter(host.effect, 1), 0.0f);
  EXPECT_TRUE(host.calls.empty());
}

TEST(AudioPath, UnconnectedChannelsUseTheirOwnBuffers) {
  TestHost host;
  host.Start();
  VstSpeakerArrangement mono = {};
  mono.numChannels = 1;
  host.Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&mono), &mono);
  StereoBuffers<double> buffers(4, 0.5);
  buffers.outRight.assign(4, 7.0);
  host.effect->processDoubleReplacing(host.effect, buffers.Inputs(), buffers.Outputs(), 4);
  EXPECT_EQ(buffers.outLeft, (std::vector<double>(4, 0.5)));
  // Only the first host buffers are taken; the second output is nobody's.
  EXPECT_EQ(buffers.outRight, (std::vector<double>(4, 7.0)));
}
