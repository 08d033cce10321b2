// Controllers from the command line and standard MIDI files reach the plug-in at their frames;
// the probe plug-in logs each event it receives with its frame and bytes.

#include "tests/tools/RenderTestSupport.h"
#include "tools/render/MidiFile.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {
constexpr int kRate = 8000;

void Append(std::vector<uint8_t>* bytes, std::initializer_list<int> values) {
  for (int value : values) {
    bytes->push_back(static_cast<uint8_t>(value));
  }
}

std::vector<uint8_t> Chunk(const char* type, const std::vector<uint8_t>& body) {
  std::vector<uint8_t> chunk(type, type + 4);
  const uint32_t size = static_cast<uint32_t>(body.size());
  Append(&chunk,
         {int(size >> 24), int(size >> 16 & 0xFF), int(size >> 8 & 0xFF), int(size & 0xFF)});
  chunk.insert(chunk.end(), body.begin(), body.end());
  return chunk;
}

// Format 1 at 96 ticks per quarter note. The tempo track starts at 120 BPM and doubles to 240
// at tick 96 (0.5 s), so tick 192 falls at 0.75 s. The second track holds a program change, a
// controller, two notes in running status, a system-exclusive message, and a controller at
// tick 960 (2.75 s).
std::vector<uint8_t> TwoTrackSong() {
  std::vector<uint8_t> file = Chunk("MThd", {0, 1, 0, 2, 0, 96});
  std::vector<uint8_t> tempo;
  Append(&tempo, {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20});
  Append(&tempo, {0x60, 0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90});
  Append(&tempo, {0x00, 0xFF, 0x2F, 0x00});
  std::vector<uint8_t> notes;
  Append(&notes, {0x00, 0xC0, 0x05});
  Append(&notes, {0x60, 0xB0, 0x45, 0x7F});
  Append(&notes, {0x60, 0x90, 0x3C, 0x64, 0x00, 0x3E, 0x64});
  Append(&notes, {0x00, 0xF0, 0x03, 0x7E, 0x7F, 0xF7});
  Append(&notes, {0x86, 0x00, 0xB0, 0x07, 0x10});
  Append(&notes, {0x00, 0xFF, 0x2F, 0x00});
  for (const std::vector<uint8_t>& track : {tempo, notes}) {
    const std::vector<uint8_t> chunk = Chunk("MTrk", track);
    file.insert(file.end(), chunk.begin(), chunk.end());
  }
  return file;
}

class RenderMidi : public ::testing::Test {
protected:
  void SetUp() override {
    folder = FreshTestFolder();
    WriteAudio(folder + "in.wav", 2, kRate, std::vector<double>(2 * kRate, 0.0));
  }

  RunResult Render(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--plugin", ProbePlugin(), "--block", "256"});
    arguments.push_back(folder + "in.wav");
    arguments.push_back(folder + "out.wav");
    return RunTool(arguments);
  }

  std::string folder;
};
} // namespace

TEST_F(RenderMidi, ControllersGoOutOnTheChannelAskedAndCc69IsShorthand) {
  const PluginLog events(ProbePlugin(), "ProbeEventLog", "ProbeClearEventLog");
  RunResult run = Render({"--cc", "7@0.0125=64", "--cc69", "0.5=3", "--channel", "3"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(events.Text(), "100 B2 07 40;4000 B2 45 03;");
  EXPECT_NE(run.out.find("midi:    1 controller 7 event(s), 1 controller 69 event(s) sent"),
            std::string::npos)
      << run.out;
  events.Clear();
  run = Render({"--cc", "69@0.5=3"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(events.Text(), "4000 B0 45 03;");

  std::remove((folder + "out.wav").c_str());
  ExpectOneLineRefusal(Render({"--cc", "128@0=1"}), 2, "--cc controller value 128 is out of range");
  ExpectOneLineRefusal(Render({"--cc", "7=1"}), 2, "--cc expects CONTROLLER@SECONDS=VALUE");
  ExpectOneLineRefusal(Render({"--cc", "7@1.5=1"}), 1, "--cc time 1.5 s is out of range");
  ExpectOneLineRefusal(Render({"--channel", "17"}), 2, "--channel value 17 is out of range");
  EXPECT_FALSE(FileExists(folder + "out.wav"));
}

TEST_F(RenderMidi, FileEventsArriveAtTheirTimesThroughTheTempoMap) {
  WriteBytes(folder + "song.mid", TwoTrackSong());
  const PluginLog events(ProbePlugin(), "ProbeEventLog", "ProbeClearEventLog");
  const RunResult run = Render({"--midi", folder + "song.mid"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(events.Text(),
            "0 C0 05 00;4000 B0 45 7F;6000 90 3C 64;6000 90 3E 64;6000 F0 7E 7F F7;");
  EXPECT_NE(run.out.find("6 event(s) from " + folder + "song.mid sent"), std::string::npos)
      << run.out;
  // The controller at 2.75 s lies beyond the one-second render.
  EXPECT_NE(
      run.err.find("warning: 1 MIDI event(s) after the end of " + folder + "out.wav were not sent"),
      std::string::npos)
      << run.err;
}

TEST_F(RenderMidi, BrokenFilesAreRefusedInOneLineWithoutOutput) {
  const std::vector<uint8_t> song = TwoTrackSong();
  // Cut inside the header, before the first track's chunk header ends, inside the last track.
  for (size_t length : {size_t{10}, size_t{20}, song.size() - 3}) {
    WriteBytes(folder + "cut.mid", std::vector<uint8_t>(song.begin(), song.begin() + length));
    const RunResult run = Render({"--midi", folder + "cut.mid"});
    SCOPED_TRACE(length);
    ExpectOneLineRefusal(run, 1, "cut.mid is cut short");
    EXPECT_FALSE(FileExists(folder + "out.wav"));
    EXPECT_FALSE(FileExists(folder + "out.wav.part"));
  }
  WriteBytes(folder + "text.mid", std::vector<uint8_t>(40, 'x'));
  ExpectOneLineRefusal(Render({"--midi", folder + "text.mid"}), 1,
                       "text.mid is not a standard MIDI file");
  ExpectOneLineRefusal(Render({"--midi", folder + "none.mid"}), 1, "cannot open");
}

TEST(MidiFile, MalformedEventsAreNamedWithTheirTrack) {
  auto refusal = [](const std::vector<uint8_t>& header, std::initializer_list<int> track) {
    std::vector<uint8_t> body;
    Append(&body, track);
    std::vector<uint8_t> file = Chunk("MThd", header);
    const std::vector<uint8_t> chunk = Chunk("MTrk", body);
    file.insert(file.end(), chunk.begin(), chunk.end());
    MidiSong song;
    std::string error;
    EXPECT_FALSE(DecodeMidiFile(file.data(), file.size(), "f.mid", &song, &error));
    return error;
  };
  const std::vector<uint8_t> header = {0, 0, 0, 1, 0, 96};
  EXPECT_EQ(refusal(header, {0x00, 0x3C, 0x64}),
            "f.mid: track 1 has a data byte without a status byte before it (at byte 0 of the "
            "track)");
  EXPECT_NE(refusal(header, {0xFF, 0xFF, 0xFF, 0xFF, 0x00}).find("longer than four bytes"),
            std::string::npos);
  EXPECT_NE(refusal(header, {0x00, 0x90, 0x3C, 0x90}).find("cut off by a status byte"),
            std::string::npos);
  EXPECT_NE(refusal(header, {0x00, 0xFF, 0x51, 0x02, 0x01, 0x02}).find("tempo event of 2 bytes"),
            std::string::npos);
  EXPECT_NE(refusal({0, 2, 0, 1, 0, 96}, {}).find("format 2"), std::string::npos);
  EXPECT_NE(refusal({0, 0, 0, 1, 0, 0}, {}).find("invalid time division"), std::string::npos);
}

TEST(MidiFile, SmpteDivisionsCountFramesNotBeats) {
  // 25 frames per second of 40 ticks: one tick is a millisecond, whatever the tempo says.
  std::vector<uint8_t> file = Chunk("MThd", {0, 0, 0, 1, 0xE7, 40});
  std::vector<uint8_t> track;
  Append(&track, {0x00, 0xFF, 0x51, 0x03, 0x01, 0x00, 0x00, 0x83, 0x74, 0x80, 0x40, 0x00});
  const std::vector<uint8_t> chunk = Chunk("MTrk", track);
  file.insert(file.end(), chunk.begin(), chunk.end());
  MidiSong song;
  std::string error;
  ASSERT_TRUE(DecodeMidiFile(file.data(), file.size(), "f.mid", &song, &error)) << error;
  ASSERT_EQ(song.events.size(), 1u);
  EXPECT_DOUBLE_EQ(song.events[0].seconds, 0.5);
  EXPECT_EQ(song.events[0].bytes[0], 0x80);
}
