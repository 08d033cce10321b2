// .fxp and .fxb files written from and read into the built Ombrix and the probe plug-in.

#include "tools/render/FxFormat.h"

#include "tests/tools/RenderTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {
constexpr uint32_t kOmbrixId = 0x49706566;
constexpr double kAmountRange = 99.99;

std::string Text(const std::vector<uint8_t>& bytes, size_t offset, size_t count) {
  return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                     bytes.begin() + static_cast<std::ptrdiff_t>(offset + count));
}

// The name as stored: up to the first zero of its 28 bytes.
std::string NameAt(const std::vector<uint8_t>& bytes, size_t offset) {
  return std::string(reinterpret_cast<const char*>(bytes.data() + offset),
                     strnlen(reinterpret_cast<const char*>(bytes.data() + offset), 28));
}

// Renders a ramp with the given state options and checks it clipped at the amount.
void ExpectRendersAtAmount(const std::string& folder, std::vector<std::string> options,
                           double amount) {
  std::vector<double> input;
  for (int i = 0; i < 200; ++i) {
    input.push_back(-1.2 + 2.4 * i / 199);
  }
  WriteAudio(folder + "ramp.wav", 1, 8000, input);
  options.push_back(folder + "ramp.wav");
  options.push_back(folder + "ramp-out.wav");
  const RunResult run = RunTool(options);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const AudioData output = ReadAudio(folder + "ramp-out.wav");
  ASSERT_EQ(output.samples.size(), input.size());
  for (size_t i = 0; i < input.size(); ++i) {
    ASSERT_NEAR(output.samples[i], ClippedSample(input[i], amount), 2e-5) << "sample " << i;
  }
}
} // namespace

TEST(RenderState, ProgramFileHoldsTheCurrentProgramAsBigEndianFloats) {
  const std::string folder = FreshTestFolder();
  const RunResult run = RunTool({"--program", "Dirty", "--param", "Amount of Distortion=33.5",
                                 "--save-fxp", folder + "p.fxp"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::vector<uint8_t> bytes = ReadBytes(folder + "p.fxp");
  ASSERT_EQ(bytes.size(), 56u + 3 * 4);
  EXPECT_EQ(Text(bytes, 0, 4), "CcnK");
  EXPECT_EQ(BigEndianAt(bytes, 4), 60u);
  EXPECT_EQ(Text(bytes, 8, 4), "FxCk");
  EXPECT_EQ(BigEndianAt(bytes, 12), 1u);
  EXPECT_EQ(BigEndianAt(bytes, 16), kOmbrixId);
  EXPECT_EQ(BigEndianAt(bytes, 20), 10201u);
  EXPECT_EQ(BigEndianAt(bytes, 24), 3u);
  EXPECT_EQ(NameAt(bytes, 28), "Dirty");
  EXPECT_EQ(BigEndianFloatAt(bytes, 56), static_cast<float>(33.5 / kAmountRange));
  // "Dirty" switches the beat animation off; the theme parameter stays at 0.
  EXPECT_EQ(BigEndianFloatAt(bytes, 60), 0.0f);
  EXPECT_EQ(BigEndianFloatAt(bytes, 64), 0.0f);
  EXPECT_FALSE(FileExists(folder + "p.fxp.part"));
}

TEST(RenderState, ProgramFileLoadsBackIdenticallyAndSoundsTheSame) {
  const std::string folder = FreshTestFolder();
  ASSERT_EQ(RunTool({"--program", "Dirty", "--param", "Amount of Distortion=33.5", "--save-fxp",
                     folder + "p.fxp"})
                .exitCode,
            0);
  const RunResult run =
      RunTool({"--load-fxp", folder + "p.fxp", "--save-fxp", folder + "q.fxp", "--list"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(ReadBytes(folder + "q.fxp"), ReadBytes(folder + "p.fxp"));
  // Loaded into the current program, which takes the file's name.
  EXPECT_NE(run.out.find("* 0  Dirty"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Amount of Distortion = 33.50 %"), std::string::npos) << run.out;
  ExpectRendersAtAmount(folder, {"--load-fxp", folder + "p.fxp"}, 33.5);
}

TEST(RenderState, BankFileHoldsEveryProgramAndTheCurrentOne) {
  const std::string folder = FreshTestFolder();
  RunResult run = RunTool({"--save-fxb", folder + "factory.fxb"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::vector<uint8_t> bytes = ReadBytes(folder + "factory.fxb");
  const size_t programBytes = 56 + 3 * 4;
  ASSERT_EQ(bytes.size(), 156 + 5 * programBytes);
  EXPECT_EQ(Text(bytes, 0, 4), "CcnK");
  EXPECT_EQ(BigEndianAt(bytes, 4), bytes.size() - 8);
  EXPECT_EQ(Text(bytes, 8, 4), "FxBk");
  EXPECT_EQ(BigEndianAt(bytes, 12), 2u);
  EXPECT_EQ(BigEndianAt(bytes, 16), kOmbrixId);
  EXPECT_EQ(BigEndianAt(bytes, 20), 10201u);
  EXPECT_EQ(BigEndianAt(bytes, 24), 5u);
  EXPECT_EQ(BigEndianAt(bytes, 28), 0u);
  const char* const names[] = {"Default", "Kinda Clean", "Dirty", "Dirtier",
                               "Is it still music???"};
  const double amounts[] = {0.0, 20.0, 40.0, 80.0, 99.99};
  for (size_t i = 0; i < 5; ++i) {
    const size_t start = 156 + i * programBytes;
    EXPECT_EQ(Text(bytes, start, 4), "CcnK");
    EXPECT_EQ(Text(bytes, start + 8, 4), "FxCk");
    EXPECT_EQ(BigEndianAt(bytes, start + 16), kOmbrixId);
    EXPECT_EQ(NameAt(bytes, start + 28), names[i]);
    EXPECT_EQ(BigEndianFloatAt(bytes, start + 56), static_cast<float>(amounts[i] / kAmountRange));
  }

  run = RunTool({"--load-fxb", folder + "factory.fxb", "--program", "Dirty", "--param",
                 "Amount of Distortion=45", "--save-fxb", folder + "edited.fxb"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::vector<uint8_t> edited = ReadBytes(folder + "edited.fxb");
  ASSERT_EQ(edited.size(), bytes.size());
  EXPECT_EQ(BigEndianAt(edited, 28), 2u);
  EXPECT_EQ(BigEndianFloatAt(edited, 156 + 2 * programBytes + 56),
            static_cast<float>(45.0 / kAmountRange));

  run = RunTool({"--load-fxb", folder + "edited.fxb", "--list"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("* 2  Dirty"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Amount of Distortion = 45.00 %"), std::string::npos) << run.out;
  ExpectRendersAtAmount(folder, {"--load-fxb", folder + "edited.fxb"}, 45.0);
  ExpectRendersAtAmount(folder, {"--load-fxb", folder + "edited.fxb", "--program", "3"}, 80.0);
}

TEST(RenderState, ChunkFormsOfOmbrixStateLoadThroughTheChunkCall) {
  const std::string folder = FreshTestFolder();
  // Ombrix's own program block: 'tffp', version 1.0, then the three values as doubles.
  std::vector<uint8_t> block(8 + 3 * 8, 0);
  const uint32_t magic = 0x70666674;
  const uint32_t version = 0x00010000;
  const double values[3] = {62.5, 1.0, 0.0};
  std::memcpy(block.data(), &magic, 4);
  std::memcpy(block.data() + 4, &version, 4);
  std::memcpy(block.data() + 8, values, sizeof(values));
  FxProgram program;
  program.name = "From a chunk";
  program.isChunk = true;
  program.chunk = block;
  WriteBytes(folder + "chunk.fxp", EncodeFxp(program, {static_cast<int32_t>(kOmbrixId), 10201}));
  const RunResult run = RunTool({"--load-fxp", folder + "chunk.fxp", "--list"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("* 0  From a chunk"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Amount of Distortion = 62.50 %"), std::string::npos) << run.out;
  ExpectRendersAtAmount(folder, {"--load-fxp", folder + "chunk.fxp"}, 62.5);
}

TEST(RenderState, PlugInsWithOpaqueStateAreSavedInChunkForms) {
  const std::string folder = FreshTestFolder();
  RunResult run = RunTool({"--plugin", ProbePlugin(), "--program", "Beta", "--param", "Gain=2.5",
                           "--save-fxp", folder + "p.fxp", "--save-fxb", folder + "b.fxb"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::vector<uint8_t> program = ReadBytes(folder + "p.fxp");
  ASSERT_EQ(program.size(), 56u + 4 + 8);
  EXPECT_EQ(Text(program, 8, 4), "FPCh");
  EXPECT_EQ(Text(program, 16, 4), "Prob");
  EXPECT_EQ(BigEndianAt(program, 20), 7u);
  EXPECT_EQ(NameAt(program, 28), "Beta");
  EXPECT_EQ(BigEndianAt(program, 56), 8u);
  const std::vector<uint8_t> bank = ReadBytes(folder + "b.fxb");
  ASSERT_EQ(bank.size(), 156u + 4 + 24);
  EXPECT_EQ(Text(bank, 8, 4), "FBCh");
  EXPECT_EQ(BigEndianAt(bank, 24), 3u);
  EXPECT_EQ(BigEndianAt(bank, 28), 1u);

  // Loading them back into a fresh instance restores the edited gain.
  run = RunTool(
      {"--plugin", ProbePlugin(), "--program", "2", "--load-fxp", folder + "p.fxp", "--list"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("* 2  Beta"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Gain = 2.5 dB"), std::string::npos) << run.out;
  run = RunTool({"--plugin", ProbePlugin(), "--load-fxb", folder + "b.fxb", "--list"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("* 1  Beta"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Gain = 2.5 dB"), std::string::npos) << run.out;
}

TEST(RenderState, FilesThatDoNotFitThePlugInAreRefused) {
  const std::string folder = FreshTestFolder();
  ASSERT_EQ(RunTool({"--plugin", ProbePlugin(), "--save-fxp", folder + "probe.fxp"}).exitCode, 0);
  RunResult run = RunTool({"--load-fxp", folder + "probe.fxp", "--list"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("belongs to the plug-in with ID Prob, not to Ombrix (Ipef)"),
            std::string::npos)
      << run.err;

  const FxIdentity ombrix = {static_cast<int32_t>(kOmbrixId), 10201};
  FxProgram twoValues;
  twoValues.parameters = {0.5f, 0.5f};
  WriteBytes(folder + "two.fxp", EncodeFxp(twoValues, ombrix));
  run = RunTool({"--load-fxp", folder + "two.fxp", "--list"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("holds 2 parameter values, Ombrix has 3"), std::string::npos) << run.err;

  FxProgram notANumber;
  notANumber.parameters = {0.5f, std::nanf(""), 0.0f};
  WriteBytes(folder + "nan.fxp", EncodeFxp(notANumber, ombrix));
  run = RunTool({"--load-fxp", folder + "nan.fxp", "--list"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("not a number"), std::string::npos) << run.err;

  FxBank six;
  six.programs.assign(6, FxProgram());
  for (FxProgram& program : six.programs) {
    program.parameters = {0.0f, 0.0f, 0.0f};
  }
  WriteBytes(folder + "six.fxb", EncodeFxb(six, ombrix));
  run = RunTool({"--load-fxb", folder + "six.fxb", "--list"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("holds 6 programs, Ombrix has 5"), std::string::npos) << run.err;

  std::vector<uint8_t> cut = ReadBytes(folder + "probe.fxp");
  cut.resize(40);
  WriteBytes(folder + "cut.fxp", cut);
  run = RunTool({"--plugin", ProbePlugin(), "--load-fxp", folder + "cut.fxp", "--list"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("cannot load " + folder + "cut.fxp: its header is cut short"),
            std::string::npos)
      << run.err;

  run = RunTool({"--load-fxb", folder + "probe.fxp", "--list"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("not a bank file"), std::string::npos) << run.err;
}
