// Latency, tails, the calls around processing and the clipping warning, against the delay-like
// test plug-in's known numbers: output 0 is the input kTailProbeLatency frames late, output 1
// kTailProbeEcho frames later still.

#include "tests/tools/RenderTestSupport.h"

#include <gtest/gtest.h>

#include <sndfile.h>

namespace {
constexpr int kRate = 8000;
constexpr int kFrames = 1000;
// 0.1 s at 8000 Hz: the fixed tail below, and the quiet stretch that ends an automatic one.
constexpr int kTenthFrames = 800;

class RenderTail : public ::testing::Test {
protected:
  void SetUp() override {
    folder = FreshTestFolder();
    input = MonoRamp(kFrames, 0.0005);
    WriteAudio(folder + "in.wav", 1, kRate, input);
  }

  RunResult Render(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--plugin", TailProbePlugin(), "--block", "64"});
    arguments.push_back(folder + "in.wav");
    arguments.push_back(folder + "out.wav");
    return RunTool(arguments);
  }

  // Output 0 at frame: the input `delay` frames earlier, silence before and after it.
  double Delayed(int frame, int delay) const {
    const int source = frame - delay;
    return source >= 0 && source < kFrames ? input[static_cast<size_t>(source)] : 0.0;
  }

  void ExpectOutput(const AudioData& output, size_t frames, int latency) {
    ASSERT_EQ(output.channels, 2);
    ASSERT_EQ(output.samples.size(), 2 * frames);
    for (size_t i = 0; i < frames; ++i) {
      const int frame = static_cast<int>(i);
      ASSERT_FLOAT_EQ(output.samples[2 * i], Delayed(frame, latency)) << "frame " << i;
      ASSERT_FLOAT_EQ(output.samples[2 * i + 1], Delayed(frame, latency + kTailProbeEcho))
          << "frame " << i;
    }
  }

  std::string folder;
  std::vector<double> input;
};
} // namespace

TEST_F(RenderTail, LatencyIsCompensatedUnlessAskedNotTo) {
  RunResult run = Render({});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("latency: 48 frames compensated"), std::string::npos) << run.out;
  ExpectOutput(ReadAudio(folder + "out.wav"), kFrames, 0);

  run = Render({"--no-latency-compensation"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("latency: 48 frames reported, not compensated"), std::string::npos)
      << run.out;
  ExpectOutput(ReadAudio(folder + "out.wav"), kFrames, kTailProbeLatency);
}

TEST_F(RenderTail, FixedTailRendersThatMuchMore) {
  const RunResult run = Render({"--tail", "0.1"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("tail:    0.100 s after the input, 0.225 s in all"), std::string::npos)
      << run.out;
  ExpectOutput(ReadAudio(folder + "out.wav"), kFrames + kTenthFrames, 0);
}

TEST_F(RenderTail, AutomaticTailEndsAfterATenthOfASecondBelowMinus90Dbfs) {
  // Output 1 carries the last input sample at frame 999 + 400; from 1400 on all is silent, and
  // 800 silent frames later the tail ends.
  RunResult run = Render({"--tail", "auto"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("tail:    0.150 s after the input (auto"), std::string::npos) << run.out;
  ExpectOutput(ReadAudio(folder + "out.wav"), kFrames + kTailProbeEcho + kTenthFrames, 0);

  // A quiet stretch counts from where it begins: the input's own quiet end shortens the tail.
  for (int i = 900; i < kFrames; ++i) {
    input[static_cast<size_t>(i)] = 0.0;
  }
  WriteAudio(folder + "in.wav", 1, kRate, input);
  run = Render({"--tail", "auto"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ExpectOutput(ReadAudio(folder + "out.wav"), 900 + kTailProbeEcho + kTenthFrames, 0);
}

TEST_F(RenderTail, OmbrixHasNoTail) {
  WriteAudio(folder + "loud.wav", 2, kRate, std::vector<double>(2 * 500, 0.5));
  RunResult run = RunTool({folder + "loud.wav", folder + "out.wav"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(ReadAudio(folder + "out.wav").samples.size(), 2u * 500);
  // Automatic: only the quiet tenth of a second that shows the tail has ended.
  run = RunTool({"--tail", "auto", folder + "loud.wav", folder + "out.wav"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const AudioData output = ReadAudio(folder + "out.wav");
  ASSERT_EQ(output.samples.size(), 2u * (500 + kTenthFrames));
  EXPECT_EQ(output.samples[2 * 499], 0.5);
  for (size_t i = 2 * 500; i < output.samples.size(); ++i) {
    ASSERT_EQ(output.samples[i], 0.0) << "sample " << i;
  }
}

TEST_F(RenderTail, AutomaticTailStopsAfterThirtySecondsWithAWarning) {
  // The other probe's first output is the transport position: it never falls silent.
  WriteAudio(folder + "stereo.wav", 2, kRate, std::vector<double>(2 * 100, 0.0));
  const RunResult run = RunTool(
      {"--plugin", ProbePlugin(), "--tail", "auto", folder + "stereo.wav", folder + "out.wav"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.err.find("warning: " + folder +
                         "out.wav: the tail was still above -90 dBFS after 30.000 s"),
            std::string::npos)
      << run.err;
  EXPECT_EQ(ReadAudio(folder + "out.wav").samples.size(), 2u * (100 + 30 * kRate));
}

TEST_F(RenderTail, ThePlugInIsToldOfPrecisionAndStartedAndStoppedAroundTheBlocks) {
  const PluginLog calls(TailProbePlugin(), "TailProbeCallLog", "TailProbeClearCallLog");
  RunResult run = Render({});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(calls.Text(),
            "rate 8000;block 64;precision 0;mains 1;start;process float;stop;mains 0;close;");
  EXPECT_NE(run.out.find("told:    8000 Hz, blocks of 64, 32-bit precision "
                         "(effSetProcessPrecision, accepted), offline; effStartProcess before "
                         "the first block, effStopProcess after the last"),
            std::string::npos)
      << run.out;

  calls.Clear();
  run = Render({"--double"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(calls.Text(),
            "rate 8000;block 64;precision 1;mains 1;start;process double;stop;mains 0;close;");
  EXPECT_NE(run.out.find("64-bit precision"), std::string::npos) << run.out;
  ExpectOutput(ReadAudio(folder + "out.wav"), kFrames, 0);
}

TEST_F(RenderTail, PeaksAboveFullScaleWarnForIntegerEncodingsOnly) {
  WriteAudio(folder + "in.wav", 1, kRate, std::vector<double>(200, 1.5));
  RunResult run = Render({"--encoding", "pcm16"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.err.find("ombrix-render: warning: " + folder +
                         "out.wav peaks at 1.5000 (+3.52 dBFS), above full scale: its Signed 16 "
                         "bit PCM samples are clipped; --encoding float keeps them\n"),
            std::string::npos)
      << run.err;
  EXPECT_EQ(ReadAudio(folder + "out.wav").samples[0], 32767.0 / 32768.0);

  run = Render({"--encoding", "float"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(ReadAudio(folder + "out.wav").samples[0], 1.5);
}

TEST_F(RenderTail, TailsThatAreNotNumbersAreRefused) {
  for (const char* tail : {"soon", "-1", "3601", "nan", "2s"}) {
    const RunResult run = Render({"--tail", tail});
    SCOPED_TRACE(tail);
    ExpectOneLineRefusal(run, 2, "--tail ");
    EXPECT_FALSE(FileExists(folder + "out.wav"));
  }
}
