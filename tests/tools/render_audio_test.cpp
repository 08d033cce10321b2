// Audio rendered through the built Ombrix (and the probe plug-in) checked sample by sample.

#include "tests/tools/RenderTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sndfile.h>

namespace {
constexpr int kRate = 8000;

// A stereo ramp from -1.5 to 1.5 on the left and a scaled, reversed one on the right, so every
// clip level meets samples below, at and above it.
std::vector<double> StereoRamp(int frames) {
  std::vector<double> samples;
  for (int i = 0; i < frames; ++i) {
    const double x = -1.5 + 3.0 * i / (frames - 1);
    samples.push_back(x);
    samples.push_back(-0.7 * x);
  }
  return samples;
}

void ExpectClipped(const std::vector<double>& input, const AudioData& output, double amount,
                   double tolerance = 1e-6) {
  ASSERT_EQ(output.samples.size(), input.size());
  for (size_t i = 0; i < input.size(); ++i) {
    ASSERT_NEAR(output.samples[i], ClippedSample(input[i], amount), tolerance)
        << "sample " << i << " input " << input[i] << " amount " << amount;
  }
}

struct AmountCase {
  std::vector<std::string> options;
  double amount;
};
} // namespace

TEST(RenderAudio, EveryWayOfSettingTheAmountClipsAsTheArithmeticSays) {
  const std::string folder = FreshTestFolder();
  const std::vector<double> input = StereoRamp(1001);
  WriteAudio(folder + "in.wav", 2, kRate, input);
  const std::vector<AmountCase> cases = {
      {{}, 0.0},
      {{"--program", "Kinda Clean"}, 20.0},
      {{"--program", "3"}, 80.0},
      {{"--program", "is it still music???"}, 99.99},
      {{"--param", "Amount of Distortion=50"}, 50.0},
      {{"--program", "Dirtier", "--param", "0=37.5"}, 37.5},
      {{"--param-norm", "Amount of Distortion=0.5"}, 49.995},
      {{"--param", "amount of distortion=99.99", "--double"}, 99.99},
      {{"--param", "Amount of Distortion=25", "--double", "--block", "7"}, 25.0},
  };
  for (const AmountCase& amountCase : cases) {
    std::vector<std::string> arguments = amountCase.options;
    arguments.push_back(folder + "in.wav");
    arguments.push_back(folder + "out.wav");
    const RunResult run = RunTool(arguments);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    SCOPED_TRACE(run.out);
    ExpectClipped(input, ReadAudio(folder + "out.wav"), amountCase.amount);
  }
}

TEST(RenderAudio, BlocksOfAnySizeGiveTheSameSamples) {
  const std::string folder = FreshTestFolder();
  const std::vector<double> input = StereoRamp(777);
  WriteAudio(folder + "in.wav", 2, kRate, input);
  for (const char* block : {"1", "13", "512", "776", "777", "4096"}) {
    const RunResult run = RunTool({"--block", block, "--param", "Amount of Distortion=60",
                                   folder + "in.wav", folder + "out.wav"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    SCOPED_TRACE(block);
    ExpectClipped(input, ReadAudio(folder + "out.wav"), 60.0);
  }
}

TEST(RenderAudio, MonoFeedsBothInputsAndStaysMono) {
  const std::string folder = FreshTestFolder();
  std::vector<double> input;
  for (int i = 0; i < 300; ++i) {
    input.push_back(std::sin(i * 0.05) * 1.2);
  }
  WriteAudio(folder + "mono.wav", 1, kRate, input);
  const RunResult run =
      RunTool({"--program", "Dirty", folder + "mono.wav", folder + "mono-out.wav"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("1 channel, 8000 Hz"), std::string::npos) << run.out;
  const AudioData output = ReadAudio(folder + "mono-out.wav");
  EXPECT_EQ(output.channels, 1);
  EXPECT_EQ(output.sampleRate, kRate);
  ExpectClipped(input, output, 40.0);
}

TEST(RenderAudio, ContainerFollowsTheNameAndEncodingFollowsTheInput) {
  const std::string folder = FreshTestFolder();
  std::vector<double> input = StereoRamp(400);
  WriteAudio(folder + "in.aiff", 2, 22050, input, SF_FORMAT_AIFF | SF_FORMAT_PCM_16);
  RunResult run = RunTool({folder + "in.aiff", folder + "out.wav"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  AudioData output = ReadAudio(folder + "out.wav");
  EXPECT_EQ(output.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  EXPECT_EQ(output.sampleRate, 22050);

  run = RunTool({"--encoding", "pcm24", folder + "in.aiff", folder + "out.aif"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  output = ReadAudio(folder + "out.aif");
  EXPECT_EQ(output.format, SF_FORMAT_AIFF | SF_FORMAT_PCM_24);
  // 16-bit input: the ramp's clipped ends read back at full scale, within one 16-bit step.
  const AudioData reread = ReadAudio(folder + "in.aiff");
  ExpectClipped(reread.samples, output, 0.0, 1.0 / 32768);
}

TEST(RenderAudio, Controller69ChangesTheAmountAtItsExactSample) {
  const std::string folder = FreshTestFolder();
  WriteAudio(folder + "half.wav", 1, kRate, std::vector<double>(2000, 0.5));
  // 0.1 s at 8000 Hz is frame 800: offset 32 in the block of 256 frames starting at 768.
  const RunResult run =
      RunTool({"--block", "256", "--cc69", "0.1=127", folder + "half.wav", folder + "out.wav"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("1 controller 69 event(s) sent, 1 event(s) and 1 automation call(s) "
                         "came back"),
            std::string::npos)
      << run.out;
  const AudioData output = ReadAudio(folder + "out.wav");
  ASSERT_EQ(output.samples.size(), 2000u);
  // Ombrix takes an event after computing the sample it is due at: frame 800 still has the
  // old amount, frame 801 on clips at 0.0001.
  for (size_t i = 0; i <= 800; ++i) {
    ASSERT_NEAR(output.samples[i], 0.5, 1e-7) << "frame " << i;
  }
  for (size_t i = 801; i < 2000; ++i) {
    ASSERT_NEAR(output.samples[i], 1.0, 1e-7) << "frame " << i;
  }
}

TEST(RenderAudio, EventsArriveInTheirBlockAtTheirOffsetInCommandLineOrder) {
  const std::string folder = FreshTestFolder();
  WriteAudio(folder + "in.wav", 2, kRate, std::vector<double>(2 * 400, 0.0));
  // Frame 100 is offset 36 in the block starting at 64; frame 0 opens the first block; two
  // points at frame 300 reach the plug-in in the order given.
  const RunResult run = RunTool({"--plugin", ProbePlugin(), "--block", "64", "--cc69", "0.0125=64",
                                 "--cc69", "0=1", "--cc69", "0.0375=10", "--cc69", "0.0375=20",
                                 folder + "in.wav", folder + "out.wav"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const AudioData output = ReadAudio(folder + "out.wav");
  auto controllerAt = [&](int frame) { return output.samples[2 * frame + 1]; };
  EXPECT_NEAR(controllerAt(0), 1.0 / 127, 1e-6);
  EXPECT_NEAR(controllerAt(63), 1.0 / 127, 1e-6);
  EXPECT_EQ(controllerAt(64), -1.0);
  EXPECT_EQ(controllerAt(99), -1.0);
  EXPECT_NEAR(controllerAt(100), 64.0 / 127, 1e-6);
  EXPECT_NEAR(controllerAt(127), 64.0 / 127, 1e-6);
  EXPECT_EQ(controllerAt(128), -1.0);
  EXPECT_EQ(controllerAt(299), -1.0);
  EXPECT_NEAR(controllerAt(300), 20.0 / 127, 1e-6);
}

TEST(RenderAudio, TransportAdvancesWithTheTempoWhilePlaying) {
  const std::string folder = FreshTestFolder();
  WriteAudio(folder + "in.wav", 2, kRate, std::vector<double>(2 * 1000, 0.0));
  RunResult run = RunTool({"--plugin", ProbePlugin(), "--block", "100", "--tempo", "90",
                           folder + "in.wav", folder + "out.wav"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  AudioData output = ReadAudio(folder + "out.wav");
  for (int frame = 0; frame < 1000; frame += 50) {
    const int blockStart = frame / 100 * 100;
    const double quarterNotes = blockStart / double(kRate) * 90.0 / 60.0;
    ASSERT_NEAR(output.samples[2 * frame], quarterNotes, 1e-6) << "frame " << frame;
  }
  run = RunTool({"--plugin", ProbePlugin(), "--block", "100", "--stopped", folder + "in.wav",
                 folder + "out.wav"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  output = ReadAudio(folder + "out.wav");
  EXPECT_EQ(output.samples[0], 1000.0);
  EXPECT_EQ(output.samples[2 * 999], 1000.0);
}

TEST(RenderAudio, PluginsExportingOnlyMainLoad) {
  const RunResult run = RunTool({"--plugin", ProbePluginWithMainOnly(), "--list"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("Probe by Ombrix tests, ID Prob, version 7"), std::string::npos)
      << run.out;
}

TEST(RenderAudio, GeneratedSignalsHaveTheAskedShapeAndPeak) {
  const std::string folder = FreshTestFolder();
  for (const char* kind : {"sweep", "chord"}) {
    const RunResult run = RunTool({"--generate", kind, "--seconds", "0.5", "--rate", "16000",
                                   "--channels", "1", folder + kind + ".wav"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const AudioData signal = ReadAudio(folder + kind + ".wav");
    EXPECT_EQ(signal.channels, 1);
    EXPECT_EQ(signal.sampleRate, 16000);
    EXPECT_EQ(signal.format, SF_FORMAT_WAV | SF_FORMAT_PCM_24);
    ASSERT_EQ(signal.samples.size(), 8000u);
    double peak = 0.0;
    for (double sample : signal.samples) {
      peak = std::max(peak, std::fabs(sample));
    }
    EXPECT_NEAR(peak, 0.9, 1e-3) << kind;
    EXPECT_NEAR(signal.samples.front(), 0.0, 1e-6) << kind;
  }
}

TEST(RenderAudio, ReportGivesLevelsOfInputAndOutput) {
  const std::string folder = FreshTestFolder();
  std::vector<double> input(2 * 100, 0.0);
  input[10] = 0.25;
  input[11] = -0.5;
  WriteAudio(folder + "in.wav", 2, kRate, input);
  const RunResult run = RunTool({"--program", "Dirtier", folder + "in.wav", folder + "out.wav"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  // Input RMS: sqrt((0.0625 + 0.25) / 200) = 0.0395; output samples 1.0 and -1.0.
  EXPECT_NE(run.out.find("input level:  peak 0.5000 (-6.02 dBFS), RMS 0.0395 (-28.06 dBFS)"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("output level: peak 1.0000 (0.00 dBFS), RMS 0.1000 (-20.00 dBFS)"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("program 3 \"Dirtier\""), std::string::npos) << run.out;
  const RunResult quiet =
      RunTool({"--quiet", "--program", "Dirtier", folder + "in.wav", folder + "out.wav"});
  EXPECT_EQ(quiet.exitCode, 0);
  EXPECT_EQ(quiet.out, "");
}

TEST(RenderAudio, SnapshotShowsTheEditorAfterRenderingOrAsTheSettingsLeaveIt) {
  const std::string folder = FreshTestFolder();
  WriteAudio(folder + "in.wav", 2, kRate, StereoRamp(400));
  RunResult run = RunTool({"--program", "Dirtier", "--snapshot", folder + "after.png",
                           folder + "in.wav", folder + "out.wav"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("snapshot: " + folder + "after.png"), std::string::npos) << run.out;
  const std::vector<uint8_t> after = ReadBytes(folder + "after.png");
  ASSERT_GT(after.size(), 24u);
  EXPECT_EQ(std::string(after.begin() + 1, after.begin() + 4), "PNG");
  // The header's width and height: the editor's 560 x 400.
  EXPECT_EQ(BigEndianAt(after, 16), 560u);
  EXPECT_EQ(BigEndianAt(after, 20), 400u);
  EXPECT_FALSE(FileExists(folder + "after.png.part"));

  // Without audio the picture shows the settings alone; another amount turns the knob.
  run = RunTool({"--program", "Dirtier", "--snapshot", folder + "dirtier.png"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  run = RunTool({"--program", "Default", "--snapshot", folder + "default.png"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(ReadBytes(folder + "dirtier.png"), ReadBytes(folder + "default.png"));
}

TEST(RenderAudio, TheTransportDrivesTheBeatAnimation) {
  const std::string folder = FreshTestFolder();
  WriteAudio(folder + "in.wav", 2, kRate, std::vector<double>(2 * kRate, 0.3));
  // The last block starts at 0.9 s: beat 0 at 60 BPM, beat 1 at 120 BPM. The theme image shows
  // the beat's parity while "#KELBA Enabled" is on (its default); nothing else differs.
  auto snapshotAt = [&](const std::string& tempo, bool stopped) {
    std::vector<std::string> arguments = {"--block", "800", "--tempo", tempo};
    if (stopped) {
      arguments.push_back("--stopped");
    }
    arguments.insert(arguments.end(),
                     {"--snapshot", folder + "editor.png", folder + "in.wav", folder + "out.wav"});
    const RunResult run = RunTool(arguments);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return ReadBytes(folder + "editor.png");
  };
  EXPECT_NE(snapshotAt("60", false), snapshotAt("120", false));
  EXPECT_EQ(snapshotAt("60", true), snapshotAt("120", true));
  EXPECT_EQ(snapshotAt("60", false), snapshotAt("60", true));
}
