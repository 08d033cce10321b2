// Several inputs rendered into a folder: one fresh plug-in instance per file, reports in input
// order, failures that leave the other files alone, JSON lines, and Ctrl-C.

#include "tests/tools/RenderTestSupport.h"
#include "tools/render/Json.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {
constexpr int kRate = 8000;

size_t Lines(const std::string& text) {
  return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

class RenderFolder : public ::testing::Test {
protected:
  void SetUp() override {
    folder = FreshTestFolder();
    for (int i = 0; i < 3; ++i) {
      takes.push_back(MonoRamp(400 + 100 * i, 0.002 * (i + 1)));
      const std::string name = folder + "take" + std::to_string(i + 1) + ".wav";
      WriteAudio(name, 1, kRate, takes.back());
      inputs.push_back(name);
    }
  }

  RunResult Render(std::vector<std::string> arguments) {
    arguments.push_back("-O");
    arguments.push_back(folder + "out");
    arguments.insert(arguments.end(), inputs.begin(), inputs.end());
    return RunTool(arguments);
  }

  std::string Output(int take) const { return folder + "out/take" + std::to_string(take) + ".wav"; }

  std::string folder;
  std::vector<std::vector<double>> takes;
  std::vector<std::string> inputs;
};
} // namespace

TEST_F(RenderFolder, EveryInputIsRenderedUnderItsOwnNameWithOneLineEach) {
  const RunResult run = Render({"--param", "Amount of Distortion=50", "--jobs", "2"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  ASSERT_EQ(Lines(run.out), 4u) << run.out;
  EXPECT_EQ(run.out.rfind(inputs[0] + " -> " + Output(1) + ": 0.050 s, peak ", 0), 0u) << run.out;
  EXPECT_LT(run.out.find(Output(2)), run.out.find(Output(3))) << run.out;
  EXPECT_NE(run.out.find("\ntotal: 3 of 3 files rendered\n"), std::string::npos) << run.out;
  for (int take = 1; take <= 3; ++take) {
    const AudioData output = ReadAudio(Output(take));
    const std::vector<double>& input = takes[static_cast<size_t>(take - 1)];
    ASSERT_EQ(output.samples.size(), input.size());
    for (size_t i = 0; i < input.size(); ++i) {
      ASSERT_NEAR(output.samples[i], ClippedSample(input[i], 50.0), 1e-6) << take << ":" << i;
    }
  }
}

TEST_F(RenderFolder, JobsChangeNothingInTheFiles) {
  // Samples, not bytes: float WAV files carry the time they were written.
  ASSERT_EQ(Render({"--jobs", "1", "--program", "Dirty"}).exitCode, 0);
  std::vector<std::vector<double>> one;
  for (int take = 1; take <= 3; ++take) {
    one.push_back(ReadAudio(Output(take)).samples);
  }
  ASSERT_EQ(Render({"--jobs", "3", "--program", "Dirty"}).exitCode, 0);
  for (int take = 1; take <= 3; ++take) {
    EXPECT_EQ(ReadAudio(Output(take)).samples, one[static_cast<size_t>(take - 1)]) << take;
  }
}

TEST_F(RenderFolder, AFailedFileLeavesTheOthersWrittenAndTheExitNonZero) {
  WriteBytes(inputs[1], std::vector<uint8_t>(100, 'x'));
  const RunResult run = Render({});
  EXPECT_EQ(run.exitCode, 1);
  ExpectOneLineRefusal(run, 1, inputs[1] + ": cannot read " + inputs[1]);
  EXPECT_TRUE(FileExists(Output(1)));
  EXPECT_FALSE(FileExists(Output(2)));
  EXPECT_FALSE(FileExists(Output(2) + ".part"));
  EXPECT_TRUE(FileExists(Output(3)));
  EXPECT_NE(run.out.find("total: 2 of 3 files rendered, 1 failed"), std::string::npos) << run.out;
}

TEST_F(RenderFolder, JsonReportsAreOneObjectPerFile) {
  WriteBytes(inputs[2], std::vector<uint8_t>(100, 'x'));
  const RunResult run = Render({"--report", "json", "--tail", "0.05", "--program", "Dirtier"});
  EXPECT_EQ(run.exitCode, 1);
  ASSERT_EQ(Lines(run.out), 3u) << run.out;
  const std::string first = run.out.substr(0, run.out.find('\n'));
  EXPECT_EQ(first.rfind("{\"input\":" + JsonString(inputs[0]) + ",\"output\":" +
                            JsonString(Output(1)) + ",\"ok\":true,\"plugin\":{\"name\":\"Ombrix\"",
                        0),
            0u)
      << first;
  for (const char* field :
       {"\"program\":3,\"programName\":\"Dirtier\"", "\"tail\":\"seconds\",\"tailSeconds\":0.05",
        "\"frames\":{\"input\":400,\"output\":800,\"tail\":400}",
        "\"latency\":{\"reported\":0,\"compensated\":0}", "\"output\":{\"peak\":1,\"peakDbfs\":0,",
        "\"processPrecisionBits\":32", "\"warnings\":[]}"}) {
    EXPECT_NE(first.find(field), std::string::npos) << field << " in " << first;
  }
  EXPECT_NE(run.out.find("{\"input\":" + JsonString(inputs[2]) + ",\"output\":" +
                         JsonString(Output(3)) + ",\"ok\":false,\"error\":\"cannot read "),
            std::string::npos)
      << run.out;
}

TEST_F(RenderFolder, CtrlCKeepsFinishedFilesAndLeavesNothingOfTheRest) {
  // The delay-like probe raises SIGINT when it meets a sample of 100, as in the second take.
  std::vector<double> loud = takes[1];
  loud[150] = 100.0;
  WriteAudio(inputs[1], 1, kRate, loud);
  const RunResult run = Render({"--plugin", TailProbePlugin(), "--jobs", "1", "--block", "32"});
  ExpectOneLineRefusal(run, 130,
                       "interrupted: 1 of 3 files rendered; the unfinished ones were not written");
  EXPECT_TRUE(FileExists(Output(1)));
  EXPECT_EQ(ReadAudio(Output(1)).samples.size(), 2u * 400);
  for (int take = 2; take <= 3; ++take) {
    EXPECT_FALSE(FileExists(Output(take))) << take;
    EXPECT_FALSE(FileExists(Output(take) + ".part")) << take;
  }
}

TEST_F(RenderFolder, FoldersThatCannotBeWrittenOrWouldCollideAreRefused) {
  RunResult run = RunTool({"-O", inputs[0] + "/sub", inputs[1]});
  ExpectOneLineRefusal(run, 1, "cannot write to folder " + inputs[0] + "/sub");
  EXPECT_FALSE(FileExists(folder + "take2.wav.part"));

  run = RunTool({"-O", folder, inputs[0]});
  ExpectOneLineRefusal(run, 2, "would overwrite it; choose another --output-dir");
  EXPECT_EQ(ReadAudio(inputs[0]).samples.size(), 400u);

  std::filesystem::create_directories(folder + "other");
  WriteAudio(folder + "other/take1.wav", 1, kRate, takes[0]);
  run = RunTool({"--output-dir", folder + "again", inputs[0], folder + "other/take1.wav"});
  ExpectOneLineRefusal(run, 2, "would both be written to ");

  ExpectOneLineRefusal(RunTool({"--output-dir", folder + "out"}), 2, "needs at least one INPUT");
  ExpectOneLineRefusal(RunTool({"a.wav", "b.wav", "c.wav"}), 2, "several inputs need --output-dir");
  ExpectOneLineRefusal(RunTool({"--jobs", "0", "-O", "x", "a.wav"}), 2, "out of range");
}
