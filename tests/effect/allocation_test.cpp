#include "tests/support/AllocationCount.h"
#include "vst2/PluginEntry.h"

#include <gtest/gtest.h>

#include <vector>

// This program counts every allocation made through operator new, so it runs alone.
namespace {
VstIntPtr VSTCALLBACK QuietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterProcessEvents ? 1 : 0;
}
} // namespace

TEST(AudioPath, ProcessingAllocatesNothing) {
  AEffect* effect = CreateEffect(QuietHost)->Effect();
  effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
  effect->dispatcher(effect, effSetBlockSize, 0, 256, nullptr, 0.0f);
  std::vector<float> floats(4 * 1000, 0.7f);
  std::vector<double> doubles(4 * 1000, 0.7);
  float* floatIn[2] = {&floats[0], &floats[1000]};
  float* floatOut[2] = {&floats[2000], &floats[3000]};
  double* doubleIn[2] = {&doubles[0], &doubles[1000]};
  double* doubleOut[2] = {&doubles[2000], &doubles[3000]};
  VstMidiEvent controller = {};
  controller.type = kVstMidiType;
  controller.byteSize = sizeof(VstMidiEvent);
  controller.deltaFrames = 10;
  controller.midiData[0] = static_cast<char>(0xB0);
  controller.midiData[1] = 69;
  controller.midiData[2] = 64;
  VstEvents list = {};
  list.numEvents = 1;
  list.events[0] = reinterpret_cast<VstEvent*>(&controller);

  const long before = AllocationCount();
  // Building the effect allocated: the counter sees this program's allocations.
  ASSERT_GT(before, 0);
  for (int round = 0; round < 3; ++round) {
    effect->dispatcher(effect, effProcessEvents, 0, 0, &list, 0.0f);
    // Longer than the announced block, so the sub-block path runs too.
    effect->processDoubleReplacing(effect, doubleIn, doubleOut, 1000);
    effect->processReplacing(effect, floatIn, floatOut, 1000);
    effect->process(effect, floatIn, floatOut, 256);
  }
  EXPECT_EQ(AllocationCount() - before, 0);
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
}
