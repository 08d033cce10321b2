// How a file's channels meet a plug-in's: the delay-like probe has one input and two outputs,
// Ombrix two of each.

#include "tests/tools/RenderTestSupport.h"
#include "tools/render/ChannelPlan.h"

#include <gtest/gtest.h>

namespace {
constexpr int kRate = 8000;

class RenderChannels : public ::testing::Test {
protected:
  void SetUp() override { folder = FreshTestFolder(); }

  RunResult Render(std::vector<std::string> arguments, const std::string& input) {
    arguments.push_back(folder + input);
    arguments.push_back(folder + "out.wav");
    return RunTool(arguments);
  }

  std::string folder;
};
} // namespace

TEST_F(RenderChannels, AMonoFileThroughOneInputAndTwoOutputsBecomesStereo) {
  WriteAudio(folder + "mono.wav", 1, kRate, MonoRamp(600, 0.001));
  RunResult run = Render({"--plugin", TailProbePlugin()}, "mono.wav");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("channels: 1 channel into input 1 of 1, outputs 1-2 of 2 written"),
            std::string::npos)
      << run.out;
  EXPECT_EQ(ReadAudio(folder + "out.wav").channels, 2);
  // Asked for one, it is the first output alone.
  run = Render({"--plugin", TailProbePlugin(), "--out-channels", "1"}, "mono.wav");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const AudioData output = ReadAudio(folder + "out.wav");
  ASSERT_EQ(output.channels, 1);
  ASSERT_EQ(output.samples.size(), 600u);
  EXPECT_FLOAT_EQ(output.samples[599], 0.6f);
}

TEST_F(RenderChannels, AStereoFileIntoOneInputIsRefusedUnlessMixedDown) {
  std::vector<double> stereo;
  for (int i = 0; i < 500; ++i) {
    stereo.push_back(0.25);
    stereo.push_back(i * 0.001);
  }
  WriteAudio(folder + "stereo.wav", 2, kRate, stereo);
  RunResult run = Render({"--plugin", TailProbePlugin()}, "stereo.wav");
  ExpectOneLineRefusal(run, 1,
                       "unsupported format: " + folder +
                           "stereo.wav has 2 channels, but TailProbe takes 1 input; add "
                           "--mix-down to mix them into one");
  EXPECT_FALSE(FileExists(folder + "out.wav"));
  EXPECT_FALSE(FileExists(folder + "out.wav.part"));

  // Mixed down, the input is the mean of the channels.
  run = Render({"--plugin", TailProbePlugin(), "--mix-down"}, "stereo.wav");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("channels: 2 channels mixed down into input 1 of 1, outputs 1-2 of 2"),
            std::string::npos)
      << run.out;
  const AudioData output = ReadAudio(folder + "out.wav");
  ASSERT_EQ(output.channels, 2);
  ASSERT_EQ(output.samples.size(), 1000u);
  for (int i = 0; i < 500; ++i) {
    ASSERT_FLOAT_EQ(output.samples[2 * i], (0.25 + i * 0.001) / 2) << "frame " << i;
  }
}

TEST_F(RenderChannels, InputsBeyondTheFileGetSilenceAndOutputsAreAskedFor) {
  const std::vector<double> mono = MonoRamp(300, 0.003);
  WriteAudio(folder + "mono.wav", 1, kRate, mono);
  // Ombrix's second input hears nothing, so its second output is exactly silent.
  RunResult run = Render({"--out-channels", "2"}, "mono.wav");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const AudioData output = ReadAudio(folder + "out.wav");
  ASSERT_EQ(output.channels, 2);
  ASSERT_EQ(output.samples.size(), 600u);
  for (size_t i = 0; i < 300; ++i) {
    ASSERT_FLOAT_EQ(output.samples[2 * i], mono[i]) << "frame " << i;
    ASSERT_EQ(output.samples[2 * i + 1], 0.0) << "frame " << i;
  }
  run = Render({"--out-channels", "3"}, "mono.wav");
  ExpectOneLineRefusal(run, 1, "--out-channels 3 is more than Ombrix's 2 outputs");
  EXPECT_FALSE(FileExists(folder + "out.wav.part"));
  ExpectOneLineRefusal(RunTool({"--out-channels", "65", "a.wav", "b.wav"}), 2, "out of range");
}

TEST_F(RenderChannels, FilesWithMoreChannelsThanInputsMixDownIntoOne) {
  std::vector<double> four;
  for (int i = 0; i < 100; ++i) {
    four.insert(four.end(), {0.1, 0.2, 0.3, 0.6});
  }
  WriteAudio(folder + "four.wav", 4, kRate, four);
  RunResult run = Render({}, "four.wav");
  ExpectOneLineRefusal(run, 1,
                       "four.wav has 4 channels, but Ombrix takes 2 inputs; add --mix-down");
  run = Render({"--mix-down"}, "four.wav");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const AudioData output = ReadAudio(folder + "out.wav");
  ASSERT_EQ(output.channels, 1);
  ASSERT_EQ(output.samples.size(), 100u);
  EXPECT_FLOAT_EQ(output.samples[50], 0.3f);
}

TEST(ChannelPlan, OutputCountsFollowTheFedChannelsWithinWhatThePlugInGives) {
  struct Case {
    int file, inputs, outputs;
    bool mixDown;
    int requested, fed, written;
  };
  const Case cases[] = {
      {1, 1, 2, false, 0, 1, 2},     // mono in, stereo out
      {1, 2, 2, false, 0, 1, 1},     // mono through a stereo effect stays mono
      {2, 2, 1, false, 0, 2, 1},     // never more than the plug-in gives
      {2, 1, 2, true, 0, 1, 2},      // mixed down into a mono-in, stereo-out plug-in
      {4, 2, 2, true, 0, 1, 1},      // mixed down into a stereo effect
      {2, 64, 64, false, 16, 2, 16}, // asked for more
      {1, 0, 1, false, 0, 0, 1},     // an instrument plays for the file's length
      {2, 0, 2, false, 0, 0, 2},
  };
  for (const Case& c : cases) {
    ChannelPlan plan;
    std::string error;
    ASSERT_TRUE(
        PlanChannels(c.file, c.inputs, c.outputs, c.mixDown, c.requested, "f", "p", &plan, &error))
        << error;
    EXPECT_EQ(plan.fedChannels, c.fed) << c.file << " " << c.inputs << " " << c.outputs;
    EXPECT_EQ(plan.outputChannels, c.written) << c.file << " " << c.inputs << " " << c.outputs;
  }
  ChannelPlan plan;
  std::string error;
  EXPECT_FALSE(PlanChannels(1, 2, 0, false, 0, "f", "p", &plan, &error));
  EXPECT_EQ(error, "unsupported plug-in: p gives no audio outputs");
}
