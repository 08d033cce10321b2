// Ombrix in each of its four formats through ombrix-render: the same settings give the same
// samples, programs and state work alike, automation lands at its frames, chains run in series.
#include "tests/tools/RenderTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {
constexpr int kRate = 8000;

struct Format {
  const char* name;
  std::string plugin;
};

const std::vector<Format>& Formats() {
  static const std::vector<Format> formats = {{"VST 2", OMBRIX_PLUGIN_FILE},
                                              {"VST 3", OMBRIX_VST3_BUNDLE},
                                              {"CLAP", OMBRIX_CLAP_FILE},
                                              {"LV2", OMBRIX_LV2_BUNDLE}};
  return formats;
}

// A stereo ramp across -1.2..1.2 on the left and the other way on the right, so clipping shows.
std::vector<double> StereoRamp(int frames) {
  std::vector<double> samples;
  for (int i = 0; i < frames; ++i) {
    const double ramp = -1.2 + 2.4 * i / (frames - 1);
    samples.push_back(ramp);
    samples.push_back(-0.5 * ramp);
  }
  return samples;
}

// The time of a frame in seconds, as the command line takes it.
std::string FormatPlainSeconds(int frame, int rate) {
  char text[32];
  std::snprintf(text, sizeof(text), "%.9g", static_cast<double>(frame) / rate);
  return text;
}

AudioData Render(const std::string& folder, const std::string& name,
                 std::vector<std::string> options) {
  options.push_back(folder + "in.wav");
  options.push_back(folder + name);
  const RunResult run = RunTool(options);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  return ReadAudio(folder + name);
}

void ExpectClippedAt(const AudioData& output, const std::vector<double>& input,
                     const std::vector<double>& amountAt, const std::string& what) {
  ASSERT_EQ(output.samples.size(), input.size()) << what;
  for (size_t i = 0; i < input.size(); ++i) {
    ASSERT_NEAR(output.samples[i], ClippedSample(input[i], amountAt[i / 2]), 1e-4)
        << what << ", sample " << i;
  }
}

TEST(RenderFormats, OmbrixRendersTheSameSamplesInEveryFormat) {
  const std::string folder = FreshTestFolder();
  const std::vector<double> input = StereoRamp(1500);
  // Not the rate LV2 plug-ins are described at: the instance is made again, its state kept.
  WriteAudio(folder + "in.wav", 2, 44100, input);
  const std::vector<std::string> settings = {
      "--program", "Dirty", "--param", "Amount of Distortion=62.5", "--block", "100"};
  std::vector<AudioData> outputs;
  for (const Format& format : Formats()) {
    std::vector<std::string> options = settings;
    options.insert(options.end(), {"--plugin", format.plugin});
    outputs.push_back(Render(folder, std::string(format.name) + ".wav", options));
    ExpectClippedAt(outputs.back(), input, std::vector<double>(input.size(), 62.5), format.name);
    EXPECT_EQ(outputs.back().samples, outputs.front().samples) << format.name;
  }
  // Double precision where the format offers it; LV2 has none and says so.
  std::vector<double> firstDouble;
  for (const Format& format : Formats()) {
    std::vector<std::string> options = settings;
    options.insert(options.end(), {"--double", "--plugin", format.plugin, folder + "in.wav",
                                   folder + "double.wav"});
    const RunResult run = RunTool(options);
    if (std::string(format.name) == "LV2") {
      ExpectOneLineRefusal(run, 1, "does not process double precision");
      continue;
    }
    ASSERT_EQ(run.exitCode, 0) << format.name << ": " << run.err;
    const std::vector<double> samples = ReadAudio(folder + "double.wav").samples;
    if (firstDouble.empty()) {
      firstDouble = samples;
    }
    EXPECT_EQ(samples, firstDouble) << format.name;
  }
}

TEST(RenderFormats, ProgramsAndStateFilesWorkInEveryFormat) {
  const std::string folder = FreshTestFolder();
  const std::vector<double> input = StereoRamp(200);
  WriteAudio(folder + "in.wav", 2, kRate, input);
  for (const Format& format : Formats()) {
    const std::string state = folder + format.name + ".state";
    RunResult run = RunTool(
        {"--plugin", format.plugin, "--program", "Dirtier", "--list", "--save-state", state});
    ASSERT_EQ(run.exitCode, 0) << format.name << ": " << run.err;
    EXPECT_NE(run.out.find("Amount of Distortion = 80"), std::string::npos) << run.out;
    ExpectClippedAt(Render(folder, "state.wav", {"--plugin", format.plugin, "--load-state", state}),
                    input, std::vector<double>(input.size(), 80.0), format.name);
  }
  // A state names the format and plug-in that wrote it; another refuses it.
  ExpectOneLineRefusal(
      RunTool({"--plugin", OMBRIX_CLAP_FILE, "--load-state", folder + "VST 3.state", "--list"}), 1,
      "holds the state of the VST 3 plug-in \"Ombrix\", not of the CLAP");
  std::vector<uint8_t> cut = ReadBytes(folder + "CLAP.state");
  cut.resize(cut.size() - 1);
  WriteBytes(folder + "cut.state", cut);
  ExpectOneLineRefusal(
      RunTool({"--plugin", OMBRIX_CLAP_FILE, "--load-state", folder + "cut.state", "--list"}), 1,
      "cut short");
}

TEST(RenderFormats, ArgumentsThatAreNoPluginAreRefusedInOneLine) {
  const std::string folder = FreshTestFolder();
  WriteBytes(folder + "notes.txt", {'h', 'i'});
  ExpectOneLineRefusal(RunTool({"--plugin", folder + "notes.txt", "--list"}), 1,
                       "it is a file ending in .txt (expected a VST 2 library");
  ExpectOneLineRefusal(RunTool({"--plugin", folder, "--list"}), 1,
                       "neither a .vst3 bundle nor an LV2 bundle");
  const std::string bundle = folder + "Other.vst3";
  std::filesystem::create_directories(bundle + "/Contents/armv7l-linux");
  ExpectOneLineRefusal(RunTool({"--plugin", bundle, "--list"}), 1,
                       "no module for this build's architecture (expected Contents/");
  ExpectOneLineRefusal(RunTool({"--plugin", "urn:nobody:plugin", "--list"}), 1,
                       "no LV2 plug-in urn:nobody:plugin is installed");
  ExpectOneLineRefusal(RunTool({"--plugin", OMBRIX_LV2_BUNDLE "/ombrix_lv2.so", "--list"}), 1,
                       "exports lv2_descriptor: an LV2 plug-in, which is loaded from its .lv2");
}

// The amount ramps from 0 to 99 over the first second, sent every 32 frames; then a step to 20.
TEST(RenderFormats, AutomationReachesThePluginAtItsFrames) {
  const std::string folder = FreshTestFolder();
  const int frames = 2 * kRate;
  const std::vector<double> input = StereoRamp(frames);
  WriteAudio(folder + "in.wav", 2, kRate, input);
  const std::string ramp = R"({"Amount of Distortion": {
      "points": [[0, 0], [1, 99], [1.5, 99], [1.5, 20]], "curve": "linear"}})";
  WriteBytes(folder + "ramp.json", std::vector<uint8_t>(ramp.begin(), ramp.end()));
  std::vector<double> amountAt(frames);
  for (int frame = 0; frame < frames; ++frame) {
    const int change = frame / 32 * 32;
    amountAt[frame] = frame < kRate ? 99.0 * change / kRate : frame < kRate * 3 / 2 ? 99.0 : 20.0;
  }
  // Blocks of 100 frames put most changes inside blocks: split there, or sent at their frame.
  for (const Format& format : Formats()) {
    ExpectClippedAt(
        Render(folder, "ramp.wav",
               {"--plugin", format.plugin, "--automation", folder + "ramp.json", "--block", "100"}),
        input, amountAt, format.name);
  }
  for (int frame = 0; frame < kRate; ++frame) {
    amountAt[frame] = 99.0 * (frame / 250 * 250) / kRate;
  }
  ExpectClippedAt(Render(folder, "coarse.wav",
                         {"--automation", folder + "ramp.json", "--automation-resolution", "250"}),
                  input, amountAt, "resolution 250");
}

TEST(RenderFormats, MalformedAutomationIsRefusedWithPlaceAndReasonBeforeAnyAudio) {
  const std::string folder = FreshTestFolder();
  WriteAudio(folder + "in.wav", 2, kRate, StereoRamp(100));
  const struct {
    const char* json;
    const char* reason;
  } cases[] = {
      {"{\"Amount of Distortion\": {\"points\": [[0, 1],, ]}}",
       "line 1, column 45: unexpected character ','"},
      {"{\"Volume\": {\"points\": [[0, 1]], \"curve\": \"step\"}}",
       "line 1, column 12: unknown parameter \"Volume\""},
      {"{\"0\": {\"points\": [[1, 1], [0.5, 2]], \"curve\": \"step\"}}",
       "points must be in time order"},
      {"{\"0\": {\"points\": [[0, 150]], \"curve\": \"step\"}}", "value 150 for \"Amount of "
                                                                 "Distortion\" is out of range"},
      {"{\"0\": {\"points\": [[0, 2]], \"curve\": \"step\", \"normalized\": true}}",
       "normalised value 2"},
      {"{\"0\": {\"points\": [[0, 1]], \"curve\": \"smooth\"}}", "\"curve\" must be"},
      {"{\"0\": {\"points\": [[0, 1]]}}", "has no \"curve\""},
      {"{\"0\": {\"points\": [[0, 1]], \"curve\": \"step\"},\n \"Amount of Distortion\": {}}",
       "line 2, column 26: \"Amount of Distortion\" is automated twice"},
  };
  for (const auto& bad : cases) {
    const std::string json = bad.json;
    WriteBytes(folder + "bad.json", std::vector<uint8_t>(json.begin(), json.end()));
    ExpectOneLineRefusal(
        RunTool({"--automation", folder + "bad.json", folder + "in.wav", folder + "out.wav"}), 1,
        bad.reason);
    EXPECT_FALSE(FileExists(folder + "out.wav")) << json;
  }
}

TEST(RenderFormats, ChainsRunInSeriesWithTheirOwnOptionsAndLatency) {
  const std::string folder = FreshTestFolder();
  const std::vector<double> input = StereoRamp(300);
  WriteAudio(folder + "in.wav", 2, kRate, input);
  const AudioData chained =
      Render(folder, "chain.wav",
             {"--param", "Amount of Distortion=50", "--plugin", OMBRIX_CLAP_FILE, "--plugin",
              OMBRIX_LV2_BUNDLE, "--param", "Amount of Distortion=20"});
  ASSERT_EQ(chained.samples.size(), input.size());
  for (size_t i = 0; i < input.size(); ++i) {
    ASSERT_NEAR(chained.samples[i], ClippedSample(ClippedSample(input[i], 50.0), 20.0), 1e-4)
        << "sample " << i;
  }
  // The delay probe twice: both latencies are compensated, the two outputs mixed into one input.
  WriteAudio(folder + "mono.wav", 1, kRate, MonoRamp(200, 0.001));
  const RunResult single = RunTool({"--plugin", TailProbePlugin(), "--out-channels", "1",
                                    folder + "mono.wav", folder + "single.wav"});
  ASSERT_EQ(single.exitCode, 0) << single.err;
  const RunResult twice =
      RunTool({"--mix-down", "--plugin", TailProbePlugin(), "--plugin", TailProbePlugin(),
               "--out-channels", "1", folder + "mono.wav", folder + "twice.wav"});
  ASSERT_EQ(twice.exitCode, 0) << twice.err;
  EXPECT_NE(twice.out.find("latency: " + std::to_string(2 * kTailProbeLatency) + " frames"),
            std::string::npos)
      << twice.out;
  EXPECT_NE(twice.out.find("chain:   "), std::string::npos) << twice.out;
  // The second probe gets the mean of the first one's outputs, whose echo starts after the
  // input's end: half the input, aligned as the input was.
  const AudioData once = ReadAudio(folder + "single.wav");
  const AudioData both = ReadAudio(folder + "twice.wav");
  ASSERT_EQ(both.samples.size(), once.samples.size());
  for (size_t i = 0; i < once.samples.size(); ++i) {
    ASSERT_NEAR(both.samples[i], once.samples[i] / 2, 1e-7) << "sample " << i;
  }
}
} // namespace

namespace {
// Controller 69 reaches each format's Ombrix as its host hands it on: as MIDI (VST 2, CLAP, LV2)
// or through the VST 3 plug-in's MIDI mapping as a change of the amount. Before the block it falls
// in every format renders at the old amount, after its frame at the new one (within the block,
// MIDI moves the amount of the second channel from the block's start).
TEST(RenderFormats, Controller69MovesTheAmountInEveryFormat) {
  const std::string folder = FreshTestFolder();
  const std::vector<double> input = StereoRamp(400);
  WriteAudio(folder + "in.wav", 2, kRate, input);
  const int changeFrame = 100;
  const int blockFrames = 64;
  for (const Format& format : Formats()) {
    const AudioData output =
        Render(folder, "cc.wav",
               {"--plugin", format.plugin, "--block", std::to_string(blockFrames), "--cc69",
                FormatPlainSeconds(changeFrame, kRate) + "=127"});
    ASSERT_EQ(output.samples.size(), input.size()) << format.name;
    for (size_t i = 2 * (changeFrame + 1); i < input.size(); ++i) {
      ASSERT_NEAR(output.samples[i], ClippedSample(input[i], 99.99), 1e-4)
          << format.name << ", sample " << i;
    }
    for (size_t i = 0; i < 2 * (changeFrame / blockFrames * blockFrames); ++i) {
      ASSERT_NEAR(output.samples[i], ClippedSample(input[i], 0.0), 1e-6)
          << format.name << ", sample " << i;
    }
  }
}

// A folder render with a chain and automation gives each file what a render of it alone gives.
TEST(RenderFormats, FolderRendersRunChainsAndAutomationAsSingleRendersDo) {
  const std::string folder = FreshTestFolder();
  WriteAudio(folder + "in.wav", 2, kRate, StereoRamp(kRate / 2));
  WriteAudio(folder + "b.wav", 2, kRate, StereoRamp(kRate / 4));
  const std::string ramp = R"({"0": {"points": [[0, 0], [0.5, 90]], "curve": "linear"}})";
  WriteBytes(folder + "ramp.json", std::vector<uint8_t>(ramp.begin(), ramp.end()));
  const std::vector<std::string> chain = {
      "--plugin", OMBRIX_VST3_BUNDLE, "--automation", folder + "ramp.json",
      "--plugin", OMBRIX_LV2_BUNDLE,  "--param",      "Amount of Distortion=10"};
  std::vector<std::string> options = chain;
  options.insert(options.end(),
                 {"--jobs", "2", "-O", folder + "wet", folder + "in.wav", folder + "b.wav"});
  const RunResult run = RunTool(options);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const AudioData alone = Render(folder, "alone.wav", chain);
  EXPECT_EQ(ReadAudio(folder + "wet/in.wav").samples, alone.samples);
}
} // namespace
