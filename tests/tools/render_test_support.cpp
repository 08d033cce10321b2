#include "tests/tools/RenderTestSupport.h"

#include "tools/render/AudioFile.h"
#include "tools/render/HostPlatform.h"
#include "tools/render/RenderTool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sndfile.h>
#include <sstream>

namespace {
// Keeps the built plug-in's library loaded for the whole test program, as a host keeps its
// plug-ins: each run still creates, opens and closes its own instance, but the library's
// process-wide picture cache is decoded once instead of once per run.
class KeepPluginLoaded : public ::testing::Environment {
public:
  void SetUp() override {
    std::string error;
    library = LoadedLibrary::Open(DefaultPluginPath(), &error);
    ASSERT_TRUE(library) << error;
  }
  void TearDown() override { library.reset(); }

private:
  std::unique_ptr<LoadedLibrary> library;
};

const ::testing::Environment* const keepPluginLoaded =
    ::testing::AddGlobalTestEnvironment(new KeepPluginLoaded());
} // namespace

std::string FreshTestFolder() {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string folder =
      std::string("render_test_files/") + test->test_suite_name() + "." + test->name();
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder + "/";
}

RunResult RunTool(const std::vector<std::string>& arguments) {
  std::ostringstream out;
  std::ostringstream err;
  RunResult result;
  result.exitCode = RunRenderTool(arguments, out, err, false);
  result.out = out.str();
  result.err = err.str();
  return result;
}

void WriteAudio(const std::string& path, int channels, int sampleRate,
                const std::vector<double>& interleaved, int format) {
  std::string error;
  std::unique_ptr<AudioWriter> writer = AudioWriter::Create(
      path, format ? format : SF_FORMAT_WAV | SF_FORMAT_FLOAT, channels, sampleRate, &error);
  ASSERT_TRUE(writer) << error;
  ASSERT_TRUE(writer->Write(interleaved.data(), static_cast<int64_t>(interleaved.size()) / channels,
                            &error))
      << error;
  ASSERT_TRUE(writer->Commit(&error)) << error;
}

AudioData ReadAudio(const std::string& path) {
  AudioData data;
  std::string error;
  std::unique_ptr<AudioReader> reader = AudioReader::Open(path, &error);
  EXPECT_TRUE(reader) << error;
  if (!reader) {
    return data;
  }
  data.channels = reader->Channels();
  data.sampleRate = reader->SampleRate();
  data.format = reader->Format();
  data.samples.resize(static_cast<size_t>(reader->Frames() * reader->Channels()));
  EXPECT_EQ(reader->Read(data.samples.data(), reader->Frames()), reader->Frames());
  return data;
}

bool FileExists(const std::string& path) {
  return std::filesystem::exists(path);
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(file),
                              std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

uint32_t BigEndianAt(const std::vector<uint8_t>& bytes, size_t offset) {
  if (offset + 4 > bytes.size()) {
    ADD_FAILURE() << "no 4 bytes at offset " << offset << " of " << bytes.size();
    return 0;
  }
  return (uint32_t{bytes[offset]} << 24) | (uint32_t{bytes[offset + 1]} << 16) |
         (uint32_t{bytes[offset + 2]} << 8) | uint32_t{bytes[offset + 3]};
}

float BigEndianFloatAt(const std::vector<uint8_t>& bytes, size_t offset) {
  const uint32_t bits = BigEndianAt(bytes, offset);
  float value = 0.0f;
  std::memcpy(&value, &bits, sizeof(value));
  return value;
}

double ClippedSample(double input, double amount) {
  const double level = 1.0 - amount / 100.0;
  return std::clamp(input, -level, level) / level;
}

std::string ProbePlugin() {
  return OMBRIX_PROBE_PLUGIN;
}
std::string ProbePluginWithMainOnly() {
  return OMBRIX_PROBE_PLUGIN_MAIN;
}
std::string ProbePluginWithoutEntry() {
  return OMBRIX_PROBE_PLUGIN_NO_ENTRY;
}

std::string TailProbePlugin() {
  return OMBRIX_TAIL_PROBE_PLUGIN;
}

PluginLog::PluginLog(const std::string& plugin, const char* readName, const char* clearName) {
  std::string error;
  library = LoadedLibrary::Open(plugin, &error);
  EXPECT_TRUE(library) << error;
  read = library ? reinterpret_cast<const char* (*)()>(library->Symbol(readName)) : nullptr;
  clear = library ? reinterpret_cast<void (*)()>(library->Symbol(clearName)) : nullptr;
  EXPECT_TRUE(read && clear) << plugin << " lacks " << readName << " or " << clearName;
  Clear();
}

std::string PluginLog::Text() const {
  return read ? read() : "";
}

void PluginLog::Clear() const {
  if (clear) {
    clear();
  }
}

void ExpectOneLineRefusal(const RunResult& run, int exitCode, const std::string& text) {
  EXPECT_EQ(run.exitCode, exitCode) << run.err;
  EXPECT_EQ(run.err.rfind("ombrix-render: ", 0), 0u) << run.err;
  EXPECT_NE(run.err.find(text), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
}

std::vector<double> MonoRamp(int frames, double step) {
  std::vector<double> samples;
  for (int i = 0; i < frames; ++i) {
    samples.push_back((i + 1) * step);
  }
  return samples;
}
