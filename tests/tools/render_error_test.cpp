// Every refusal is one line with the reason, a non-zero exit, and no output file left behind.

#include "tests/tools/RenderTestSupport.h"

#include <gtest/gtest.h>

#include <sndfile.h>

namespace {
class RenderErrors : public ::testing::Test {
protected:
  void SetUp() override {
    folder = FreshTestFolder();
    input = folder + "in.wav";
    output = folder + "out.wav";
    WriteAudio(input, 2, 8000, std::vector<double>(2 * 100, 0.25));
  }

  // Runs with INPUT and OUTPUT appended and expects a refusal mentioning the text.
  void ExpectRefusal(std::vector<std::string> arguments, const std::string& text,
                     int exitCode = 1) {
    arguments.push_back(input);
    arguments.push_back(output);
    ExpectRefusalAsIs(arguments, text, exitCode);
  }

  void ExpectRefusalAsIs(const std::vector<std::string>& arguments, const std::string& text,
                         int exitCode = 1) {
    const RunResult run = RunTool(arguments);
    EXPECT_EQ(run.exitCode, exitCode) << run.err;
    EXPECT_EQ(run.err.rfind("ombrix-render: ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find(text), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
    EXPECT_FALSE(FileExists(output)) << "output written despite: " << run.err;
    EXPECT_FALSE(FileExists(output + ".part")) << "temporary left by: " << run.err;
  }

  std::string folder;
  std::string input;
  std::string output;
};
} // namespace

TEST_F(RenderErrors, MissingUnreadableAndUnsupportedFiles) {
  input = folder + "missing.wav";
  ExpectRefusal({}, "cannot open " + folder + "missing.wav");

  input = folder + "text.wav";
  WriteBytes(input, std::vector<uint8_t>(200, 'x'));
  ExpectRefusal({}, "cannot read " + input + ": ");

  input = folder + "three.wav";
  WriteAudio(input, 3, 8000, std::vector<double>(30, 0.0));
  ExpectRefusal({}, "unsupported format: " + input + " has 3 channels");

  input = folder + "in.wav";
  output = folder + "out.mp3";
  ExpectRefusal({}, "unsupported format: " + output);
  output = folder + "out.flac";
  ExpectRefusal({}, "unsupported format: ");
  output = folder + "out.wav";
  ExpectRefusal({"--encoding", "pcm12"}, "unknown encoding pcm12");
  output = folder + "no-such-folder/out.wav";
  ExpectRefusal({}, "cannot write " + output);
}

TEST_F(RenderErrors, PlugInsThatDoNotLoadAreNamedWithTheReason) {
  ExpectRefusal({"--plugin", folder + "nothing.so"},
                "cannot load plug-in " + folder + "nothing.so: ");
  ExpectRefusal({"--plugin", input}, "cannot load plug-in " + input + ": ");
  ExpectRefusal({"--plugin", ProbePluginWithoutEntry()},
                "it exports neither VSTPluginMain nor main");
  const RunResult run = RunTool({"--plugin", folder + "nothing.so", "--list"});
  // The system's own reason follows the file name.
  EXPECT_GT(run.err.size(),
            std::string("ombrix-render: cannot load plug-in : \n").size() + folder.size() + 10);
}

TEST_F(RenderErrors, UnknownProgramsAndParameters) {
  ExpectRefusal({"--program", "Filthy"},
                "unknown program \"Filthy\" (programs: \"Default\", \"Kinda Clean\", \"Dirty\", "
                "\"Dirtier\", \"Is it still music???\")");
  ExpectRefusal({"--program", "5"}, "program index 5 is out of range (0 to 4)");
  ExpectRefusal({"--program", "-1"}, "program index -1 is out of range");
  ExpectRefusal({"--param", "Drive=3"}, "unknown parameter \"Drive\"");
  ExpectRefusal({"--param", "3=1"}, "parameter index 3 is out of range (0 to 2)");
  ExpectRefusal({"--param-norm", "Drive=0.5"}, "unknown parameter \"Drive\"");
}

TEST_F(RenderErrors, ValuesOutOfRangeOrNotValues) {
  ExpectRefusal({"--param", "Amount of Distortion=120"},
                "value 120 for \"Amount of Distortion\" is out of range (0.00 to 99.99 %)");
  ExpectRefusal({"--param", "Amount of Distortion=-0.5"}, "is out of range");
  ExpectRefusal({"--param", "Amount of Distortion=100"}, "is out of range");
  ExpectRefusal({"--param", "Amount of Distortion=abc"},
                "invalid value \"abc\" for \"Amount of Distortion\"");
  ExpectRefusal({"--param", "Amount of Distortion=inf"}, "not a finite number");
  ExpectRefusal({"--param", "#KELBA Enabled=2"}, "out of range (0 to 1)");
  ExpectRefusal({"--param-norm", "0=1.5"}, "out of range (0 to 1)");
  ExpectRefusal({"--param-norm", "0=high"}, "expects a number from 0 to 1");
  ExpectRefusal({"--cc69", "0.0125=5"}, "--cc69 time 0.0125 s is out of range");
  ExpectRefusal({"--cc69", "1=200"}, "out of range (0 to 127)", 2);
  ExpectRefusal({"--plugin", ProbePlugin(), "--param", "Gain=11"},
                "value 11 for \"Gain\" is out of range (0.0 to 10.0 dB)");
  ExpectRefusal({"--plugin", ProbePlugin(), "--param", "Mode=On"},
                "\"Mode\" takes no values in its own units; use --param-norm");
}

TEST_F(RenderErrors, FeaturesThePlugInOrBuildLacks) {
  ExpectRefusal({"--plugin", ProbePlugin(), "--double"}, "does not process double precision");
  ExpectRefusal({"--plugin", ProbePlugin(), "--snapshot", folder + "editor.png"},
                "--snapshot: Probe has no editor");
  EXPECT_FALSE(FileExists(folder + "editor.png"));
  ExpectRefusal({"--snapshot", folder + "no-such-folder/editor.png"}, "cannot write ");
  ExpectRefusal({"--load-fxp", folder + "none.fxp"}, "cannot open " + folder + "none.fxp");
  ExpectRefusal({"--load-fxb", folder + "none.fxb"}, "cannot open " + folder + "none.fxb");
  ExpectRefusal({"--save-fxp", folder + "no-such-folder/p.fxp"}, "cannot write ");
}

TEST_F(RenderErrors, AFailedRunLeavesAnExistingOutputAlone) {
  WriteBytes(output, {'o', 'l', 'd'});
  const RunResult run = RunTool({"--program", "Filthy", input, output});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(ReadBytes(output), (std::vector<uint8_t>{'o', 'l', 'd'}));
  EXPECT_FALSE(FileExists(output + ".part"));
  // A successful one replaces it.
  EXPECT_EQ(RunTool({input, output}).exitCode, 0);
  EXPECT_EQ(ReadAudio(output).samples.size(), 200u);
}

TEST_F(RenderErrors, CommandLineMistakesExitWithTwo) {
  ExpectRefusalAsIs({"--volume", "3", input, output}, "unknown option --volume", 2);
  ExpectRefusalAsIs({input}, "missing OUTPUT", 2);
  ExpectRefusalAsIs({"--block", "0", input, output}, "out of range", 2);
}
