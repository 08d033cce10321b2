#include "tools/render/RenderOptions.h"

#include <gtest/gtest.h>

namespace {
RenderOptions Parsed(const std::vector<std::string>& arguments) {
  RenderOptions options;
  std::string error;
  EXPECT_TRUE(ParseRenderOptions(arguments, &options, &error)) << error;
  return options;
}

std::string Refusal(const std::vector<std::string>& arguments) {
  RenderOptions options;
  std::string error;
  EXPECT_FALSE(ParseRenderOptions(arguments, &options, &error));
  return error;
}
} // namespace

TEST(RenderOptions, ValuesFollowTheOptionOrAnEqualsSign) {
  const RenderOptions options =
      Parsed({"--program", "Dirty", "--block=64", "in.wav", "--tempo", "95.5", "out.aiff",
              "--double", "--stopped", "--encoding=pcm16", "--plugin", "x.so"});
  EXPECT_EQ(options.chain[0].program, "Dirty");
  EXPECT_EQ(options.blockFrames, 64);
  EXPECT_DOUBLE_EQ(options.tempo, 95.5);
  EXPECT_EQ(options.inputs[0], "in.wav");
  EXPECT_EQ(options.output, "out.aiff");
  EXPECT_TRUE(options.doublePrecision);
  EXPECT_TRUE(options.transportStopped);
  EXPECT_EQ(options.encoding, "pcm16");
  EXPECT_EQ(options.chain[0].plugin, "x.so");
}

TEST(RenderOptions, RepeatedParametersAndControllerPointsKeepTheirOrder) {
  const RenderOptions options =
      Parsed({"--param", "Amount of Distortion=50", "--param-norm", "2=0.25", "--param", "a=b=7",
              "--cc69", "1.5=127", "--cc69=0=0", "a.wav", "b.wav"});
  ASSERT_EQ(options.chain[0].parameters.size(), 3u);
  EXPECT_EQ(options.chain[0].parameters[0].parameter, "Amount of Distortion");
  EXPECT_EQ(options.chain[0].parameters[0].value, "50");
  EXPECT_FALSE(options.chain[0].parameters[0].normalized);
  EXPECT_EQ(options.chain[0].parameters[1].parameter, "2");
  EXPECT_TRUE(options.chain[0].parameters[1].normalized);
  // The value follows the last equals sign, so names may contain one.
  EXPECT_EQ(options.chain[0].parameters[2].parameter, "a=b");
  EXPECT_EQ(options.chain[0].parameters[2].value, "7");
  ASSERT_EQ(options.controllers.size(), 2u);
  EXPECT_DOUBLE_EQ(options.controllers[0].seconds, 1.5);
  EXPECT_EQ(options.controllers[0].value, 127);
  EXPECT_DOUBLE_EQ(options.controllers[1].seconds, 0.0);
}

TEST(RenderOptions, StateOnlyRunsNeedNoAudioFiles) {
  EXPECT_TRUE(Parsed({"--list"}).inputs.empty());
  EXPECT_EQ(Parsed({"--save-fxp", "a.fxp"}).chain[0].saveFxp, "a.fxp");
  EXPECT_EQ(Parsed({"--save-fxb", "a.fxb"}).chain[0].saveFxb, "a.fxb");
  EXPECT_TRUE(Parsed({"--help"}).help);
  EXPECT_EQ(Parsed({"--", "-odd.wav", "out.wav"}).inputs[0], "-odd.wav");
}

TEST(RenderOptions, GeneratorTakesOnlyAnOutput) {
  const RenderOptions options = Parsed(
      {"--generate", "sweep", "--seconds", "0.25", "--rate", "48000", "--channels", "1", "s.wav"});
  EXPECT_EQ(options.generate, "sweep");
  EXPECT_EQ(options.output, "s.wav");
  EXPECT_DOUBLE_EQ(options.generateSeconds, 0.25);
  EXPECT_EQ(options.generateRate, 48000);
  EXPECT_EQ(options.generateChannels, 1);
  EXPECT_NE(Refusal({"--generate", "sweep", "a.wav", "b.wav"}).find("exactly one"),
            std::string::npos);
  EXPECT_NE(Refusal({"--generate", "noise", "a.wav"}).find("sweep or chord"), std::string::npos);
}

TEST(RenderOptions, MalformedCommandLinesAreRefusedWithTheReason) {
  EXPECT_NE(Refusal({"--loud", "a", "b"}).find("unknown option --loud"), std::string::npos);
  EXPECT_NE(Refusal({"a", "b", "--program"}).find("--program needs a value"), std::string::npos);
  EXPECT_NE(Refusal({"a.wav"}).find("missing OUTPUT"), std::string::npos);
  EXPECT_NE(Refusal({"a", "b", "c"}).find("unexpected argument \"c\""), std::string::npos);
  EXPECT_NE(Refusal({}).find("nothing to do"), std::string::npos);
  EXPECT_NE(Refusal({"--param", "Amount", "a", "b"}).find("NAME|INDEX=VALUE"), std::string::npos);
  EXPECT_NE(Refusal({"--param", "=5", "a", "b"}).find("NAME|INDEX=VALUE"), std::string::npos);
  EXPECT_NE(Refusal({"--param-norm", "x=", "a", "b"}).find("NAME|INDEX=VALUE"), std::string::npos);
}

TEST(RenderOptions, NumbersOutsideTheirRangeAreRefused) {
  EXPECT_NE(Refusal({"--cc69", "1=128", "a", "b"}).find("out of range (0 to 127)"),
            std::string::npos);
  EXPECT_NE(Refusal({"--cc69", "1=-1", "a", "b"}).find("out of range"), std::string::npos);
  EXPECT_NE(Refusal({"--cc69", "1=6.5", "a", "b"}).find("whole number"), std::string::npos);
  EXPECT_NE(Refusal({"--cc69", "-0.5=3", "a", "b"}).find("out of range"), std::string::npos);
  EXPECT_NE(Refusal({"--cc69", "soon=3", "a", "b"}).find("time in seconds"), std::string::npos);
  EXPECT_NE(Refusal({"--cc69", "nan=3", "a", "b"}).find("time in seconds"), std::string::npos);
  EXPECT_NE(Refusal({"--block", "0", "a", "b"}).find("out of range"), std::string::npos);
  EXPECT_NE(Refusal({"--block", "65537", "a", "b"}).find("out of range"), std::string::npos);
  EXPECT_NE(Refusal({"--block", "12x", "a", "b"}).find("whole number"), std::string::npos);
  EXPECT_NE(Refusal({"--tempo", "0", "a", "b"}).find("out of range"), std::string::npos);
  EXPECT_NE(Refusal({"--tempo", " 90", "a", "b"}).find("expects a number"), std::string::npos);
  EXPECT_NE(Refusal({"--generate", "sweep", "--channels", "3", "a"}).find("out of range"),
            std::string::npos);
}

TEST(RenderOptions, FolderRunsTakeEveryPositionalAsAnInput) {
  const RenderOptions options =
      Parsed({"-O", "wet", "a.wav", "--tail", "auto", "b.wav", "--jobs", "3", "--report=json",
              "--mix-down", "--no-latency-compensation", "--out-channels", "4", "c.wav"});
  EXPECT_EQ(options.outputDir, "wet");
  EXPECT_EQ(options.inputs, (std::vector<std::string>{"a.wav", "b.wav", "c.wav"}));
  EXPECT_EQ(options.tail, TailMode::Auto);
  EXPECT_EQ(options.jobs, 3);
  EXPECT_EQ(options.report, ReportFormat::Json);
  EXPECT_TRUE(options.mixDown);
  EXPECT_FALSE(options.latencyCompensation);
  EXPECT_EQ(options.outChannels, 4);
  EXPECT_EQ(Parsed({"--tail", "2.5", "a", "b"}).tail, TailMode::Seconds);
  EXPECT_EQ(Parsed({"--tail", "0", "a", "b"}).tail, TailMode::None);
  EXPECT_NE(Refusal({"-O", "wet", "--snapshot", "x.png", "a.wav"}).find("--snapshot"),
            std::string::npos);
  EXPECT_NE(Refusal({"--report", "xml", "a", "b"}).find("text or json"), std::string::npos);
}

TEST(RenderOptions, ControllersNameTheirNumberAndCc69IsOneOfThem) {
  const RenderOptions options = Parsed(
      {"--cc", "7@1.25=100", "--cc69", "2=5", "--channel", "10", "--midi", "s.mid", "a", "b"});
  ASSERT_EQ(options.controllers.size(), 2u);
  EXPECT_EQ(options.controllers[0].controller, 7);
  EXPECT_DOUBLE_EQ(options.controllers[0].seconds, 1.25);
  EXPECT_EQ(options.controllers[0].value, 100);
  EXPECT_EQ(options.controllers[1].controller, 69);
  EXPECT_EQ(options.channel, 10);
  EXPECT_EQ(options.midiFile, "s.mid");
  EXPECT_NE(Refusal({"--cc", "x@1=1", "a", "b"}).find("whole number"), std::string::npos);
  EXPECT_NE(Refusal({"--cc", "7@soon=1", "a", "b"}).find("time in seconds"), std::string::npos);
  EXPECT_NE(Refusal({"--channel", "0", "a", "b"}).find("out of range"), std::string::npos);
}
