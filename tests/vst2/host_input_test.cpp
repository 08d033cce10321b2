#include "tests/vst2/TestHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {
const float quietNaN = std::numeric_limits<float>::quiet_NaN();
const float infinity = std::numeric_limits<float>::infinity();
} // namespace

// A host that passes more frames than it announced gets every frame processed, in sub-blocks
// that fit the scratch buffers.
TEST(HostInput, LongerBlockThanAnnouncedIsProcessedWhole) {
  TestHost host;
  host.Start(256);
  host.effect->setParameter(host.effect, 0, 50.0f / 99.99f);
  const int frames = 1000;
  StereoBuffers<float> single(frames, 0.9f);
  host.effect->processReplacing(host.effect, single.Inputs(), single.Outputs(), frames);
  StereoBuffers<float> added(frames, 0.9f);
  host.effect->process(host.effect, added.Inputs(), added.Outputs(), frames);
  StereoBuffers<double> twice(frames, -0.9);
  host.effect->processDoubleReplacing(host.effect, twice.Inputs(), twice.Outputs(), frames);
  for (int i = 0; i < frames; ++i) {
    ASSERT_FLOAT_EQ(single.outRight[i], 1.0f) << i;
    ASSERT_FLOAT_EQ(added.outLeft[i], 1.9f) << i;
    ASSERT_DOUBLE_EQ(twice.outLeft[i], -1.0) << i;
  }
  EXPECT_EQ(host.CountOf(audioMasterWantMidi), 3);
}

// MIDI dated anywhere within such a call falls due at its own sample, in whichever sub-block
// holds it, and goes back to the host with the offset it came with.
TEST(HostInput, LongerBlockThanAnnouncedDeliversMidiAtItsSample) {
  TestHost host;
  host.Start(256);
  host.SendEvents({TestHost::Midi(600, 0xB0, 69, 127), TestHost::Midi(300, 0x90, 60, 100),
                   TestHost::Midi(1200, 0x80, 60, 0)});
  StereoBuffers<float> buffers(1000, 0.5f);
  host.effect->processReplacing(host.effect, buffers.Inputs(), buffers.Outputs(), 1000);
  std::vector<VstMidiEvent> passed = host.PassedOnEvents();
  ASSERT_EQ(passed.size(), 2u);
  EXPECT_EQ(passed[0].deltaFrames, 300);
  EXPECT_EQ(passed[1].deltaFrames, 600);
  // The controller takes the amount to its top from the sample after its own.
  EXPECT_FLOAT_EQ(buffers.outLeft[600], 0.5f);
  EXPECT_FLOAT_EQ(buffers.outLeft[601], 1.0f);
  EXPECT_FLOAT_EQ(buffers.outRight[999], 1.0f);

  // The event dated past that call waits, as for any block, for a call that reaches its sample.
  StereoBuffers<double> longer(1300, 0.5);
  host.effect->processDoubleReplacing(host.effect, longer.Inputs(), longer.Outputs(), 1300);
  passed = host.PassedOnEvents();
  ASSERT_EQ(passed.size(), 3u);
  EXPECT_EQ(passed[2].deltaFrames, 1200);
  EXPECT_EQ(static_cast<unsigned char>(passed[2].midiData[0]), 0x80);
}

TEST(HostInput, BlockSizesBelowOneOrAbsurdlyLargeAreHarmless) {
  TestHost host;
  host.Start();
  host.Dispatch(effSetBlockSize, 0, 0);
  host.Dispatch(effSetBlockSize, 0, -5);
  host.Dispatch(effSetBlockSize, 0, std::numeric_limits<VstIntPtr>::max());
  StereoBuffers<float> buffers(2048, 0.5f);
  host.effect->processReplacing(host.effect, buffers.Inputs(), buffers.Outputs(), 2048);
  EXPECT_EQ(buffers.outLeft[2047], 0.5f);
  // A negative frame count is no frames.
  host.effect->processReplacing(host.effect, buffers.Inputs(), buffers.Outputs(), -3);
}

TEST(HostInput, MissingBuffersReadAsSilenceAndWriteNowhere) {
  TestHost host;
  host.Start();
  StereoBuffers<float> buffers(8, 0.5f);
  host.effect->processReplacing(host.effect, nullptr, buffers.Outputs(), 8);
  EXPECT_EQ(buffers.outLeft, (std::vector<float>(8, 0.0f)));
  float* holes[2] = {nullptr, nullptr};
  host.effect->processReplacing(host.effect, holes, holes, 8);
  host.effect->processDoubleReplacing(host.effect, nullptr, nullptr, 8);
  StereoBuffers<double> twice(8, 0.5);
  double* oneInput[2] = {twice.left.data(), nullptr};
  host.effect->processDoubleReplacing(host.effect, oneInput, twice.Outputs(), 8);
  EXPECT_EQ(twice.outLeft, (std::vector<double>(8, 0.5)));
  EXPECT_EQ(twice.outRight, (std::vector<double>(8, 0.0)));
}

TEST(HostInput, NonFiniteSamplesComeOutBounded) {
  TestHost host;
  host.Start();
  StereoBuffers<double> buffers(3);
  buffers.left = {std::nan(""), std::numeric_limits<double>::infinity(),
                  -std::numeric_limits<double>::infinity()};
  buffers.right = {0.5, std::nan(""), 0.5};
  host.effect->processDoubleReplacing(host.effect, buffers.Inputs(), buffers.Outputs(), 3);
  EXPECT_EQ(buffers.outLeft, (std::vector<double>{0.0, 1.0, -1.0}));
  EXPECT_EQ(buffers.outRight, (std::vector<double>{0.5, 0.0, 0.5}));
  StereoBuffers<float> single(1, quietNaN);
  host.effect->processReplacing(host.effect, single.Inputs(), single.Outputs(), 1);
  EXPECT_EQ(single.outLeft[0], 0.0f);
}

TEST(HostInput, SetChunkRefusesNullEmptyNegativeAndAbsurdSizes) {
  TestHost host;
  host.effect->setParameter(host.effect, 0, 0.5f);
  unsigned char small[8] = {0x74, 0x66, 0x66, 0x70, 0, 0, 1, 0};
  EXPECT_EQ(host.Dispatch(effSetChunk, 1, 32, nullptr), 0);
  EXPECT_EQ(host.Dispatch(effSetChunk, 1, 0, small), 0);
  EXPECT_EQ(host.Dispatch(effSetChunk, 0, 0, small), 0);
  EXPECT_EQ(host.Dispatch(effSetChunk, 0, -1, small), 0);
  EXPECT_EQ(host.Dispatch(effSetChunk, 1, std::numeric_limits<VstIntPtr>::min(), small), 0);
  // Far larger than any state this plug-in writes: refused before a byte is read.
  EXPECT_EQ(host.Dispatch(effSetChunk, 0, VstIntPtr{1} << 30, small), 0);
  EXPECT_EQ(host.Dispatch(effSetChunk, 1, std::numeric_limits<VstIntPtr>::max(), small), 0);
  EXPECT_FLOAT_EQ(host.effect->getParameter(host.effect, 0), 0.5f);
  EXPECT_EQ(host.Dispatch(effGetChunk, 1, 0, nullptr), 0);
}

TEST(HostInput, EventListsWithHolesOrNegativeCounts) {
  TestHost host;
  host.Start();
  VstMidiEvent note = TestHost::Midi(0, 0x90, 60, 100);
  VstEvent unknown = {};
  unknown.type = 99;
  VstMidiSysexEvent emptyDump = {};
  emptyDump.type = kVstSysExType;
  emptyDump.dumpBytes = -40;
  // A list of four, laid out as hosts lay out a VstEvents with more than two entries.
  struct {
    VstInt32 numEvents;
    VstIntPtr reserved;
    VstEvent* events[4];
  } four = {4,
            0,
            {nullptr, &unknown, reinterpret_cast<VstEvent*>(&emptyDump),
             reinterpret_cast<VstEvent*>(&note)}};
  auto* list = reinterpret_cast<VstEvents*>(&four);
  EXPECT_EQ(host.Dispatch(effProcessEvents, 0, 0, list), 1);
  list->numEvents = -7;
  EXPECT_EQ(host.Dispatch(effProcessEvents, 0, 0, list), 1);
  EXPECT_EQ(host.Dispatch(effProcessEvents), 0);
  StereoBuffers<double> buffers(4);
  host.effect->processDoubleReplacing(host.effect, buffers.Inputs(), buffers.Outputs(), 4);
  const std::vector<VstMidiEvent> passed = host.PassedOnEvents();
  ASSERT_EQ(passed.size(), 1u);
  EXPECT_EQ(passed[0].midiData[1], 60);
}

TEST(HostInput, IndicesOutOfRangeTouchNothing) {
  TestHost host;
  for (VstInt32 index : {-1, 3, std::numeric_limits<VstInt32>::min()}) {
    EXPECT_EQ(host.effect->getParameter(host.effect, index), 0.0f);
    host.effect->setParameter(host.effect, index, 1.0f);
    for (VstInt32 opcode : {effGetParamName, effGetParamLabel, effGetParamDisplay}) {
      char text[64] = "untouched";
      host.Dispatch(opcode, index, 0, text);
      EXPECT_STREQ(text, "untouched");
    }
  }
  for (int index = 0; index < 3; ++index) {
    EXPECT_EQ(host.effect->getParameter(host.effect, index), index == 1 ? 1.0f : 0.0f);
  }
  // A program number beyond the int range (only 64-bit hosts can pass one) is refused, not cut
  // to a small one.
  host.Dispatch(effSetProgram, 0, 2);
  if (sizeof(VstIntPtr) > sizeof(int)) {
    host.Dispatch(effSetProgram, 0, static_cast<VstIntPtr>(std::int64_t{1} << 32));
  }
  EXPECT_EQ(host.Dispatch(effGetProgram), 2);
}

TEST(HostInput, ParameterValuesAreClampedToTheUnitRange) {
  TestHost host;
  host.effect->setParameter(host.effect, 0, 2.5f);
  EXPECT_EQ(host.Text(effGetParamDisplay, 0), "99.99");
  host.effect->setParameter(host.effect, 0, -3.0f);
  EXPECT_EQ(host.Text(effGetParamDisplay, 0), "0.00");
  host.effect->setParameter(host.effect, 0, infinity);
  EXPECT_EQ(host.Text(effGetParamDisplay, 0), "99.99");
  host.effect->setParameter(host.effect, 0, quietNaN);
  EXPECT_EQ(host.Text(effGetParamDisplay, 0), "99.99");
  host.effect->setParameter(host.effect, 1, -infinity);
  EXPECT_EQ(host.Text(effGetParamDisplay, 1), "0");
  char text[64] = {};
  host.Dispatch(effVendorSpecific, effGetParamDisplay, 0, text, 1e30f);
  EXPECT_STREQ(text, "99.99");
  host.Dispatch(effVendorSpecific, effGetParamDisplay, 1, text, quietNaN);
  EXPECT_STREQ(text, "0");
  char notANumber[] = "nan";
  host.Dispatch(effString2Parameter, 0, 0, notANumber);
  EXPECT_EQ(host.Text(effGetParamDisplay, 0), "0.00");
  char huge[] = "1e400";
  host.Dispatch(effString2Parameter, 0, 0, huge);
  EXPECT_EQ(host.Text(effGetParamDisplay, 0), "99.99");
  char tiny[] = "-1e-400";
  host.Dispatch(effString2Parameter, 0, 0, tiny);
  EXPECT_EQ(host.Text(effGetParamDisplay, 0), "0.00");
  host.Dispatch(effSetSampleRate, 0, 0, nullptr, quietNaN);
}

// Hosts give program names 24 bytes; a name loaded from a bank may be up to 255 characters.
TEST(HostInput, LongProgramNamesAreCutToTheHostsBuffer) {
  TestHost host;
  const std::string longName(200, 'n');
  std::vector<unsigned char> bank = {0x74, 0x66, 0x66, 0x70, 0, 0, 1, 0};
  for (int slot = 0; slot < 5; ++slot) {
    const std::string name = slot == 0 ? longName : "short";
    const auto length = static_cast<unsigned char>(name.size());
    bank.insert(bank.end(), {length, 0, 0, 0});
    bank.insert(bank.end(), name.begin(), name.end());
    bank.push_back(1);
    bank.insert(bank.end(), 24, 0);
  }
  ASSERT_EQ(host.Dispatch(effSetChunk, 0, static_cast<VstIntPtr>(bank.size()), bank.data()), 1);
  struct Guarded {
    char name[24];
    char guard[40];
  } buffer;
  std::memset(&buffer, '#', sizeof(buffer));
  host.Dispatch(effGetProgramName, 0, 0, buffer.name);
  EXPECT_EQ(std::string(buffer.name), std::string(23, 'n'));
  EXPECT_EQ(buffer.guard[0], '#');
  std::memset(&buffer, '#', sizeof(buffer));
  EXPECT_EQ(host.Dispatch(effGetProgramNameIndexed, 0, 0, buffer.name), 1);
  EXPECT_EQ(std::string(buffer.name), std::string(23, 'n'));
  EXPECT_EQ(buffer.guard[0], '#');
  // The name itself is kept whole: a saved bank gives it back.
  void* data = nullptr;
  ASSERT_EQ(host.Dispatch(effGetChunk, 0, 0, &data), static_cast<VstIntPtr>(bank.size()));
  EXPECT_EQ(std::string(static_cast<const char*>(data) + 12, 200), longName);
}
