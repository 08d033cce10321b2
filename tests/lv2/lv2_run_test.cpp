// run() as a host drives it through lilv: in place and in sub-blocks, controller 69 on the
// control ports, the transport. The clipper's samples and MIDI passed on are in tests/bindings.
#include "editor/Control.h"
#include "editor/Editor.h"
#include "effect/Ombrix.h"
#include "lv2/ILv2Plugin.h"
#include "tests/lv2/Lv2TestHost.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
constexpr uint8_t ControlChange = 0xB0;
constexpr uint8_t AmountController = 69;

std::vector<float> Ramp(int frames, float from, float to) {
  std::vector<float> samples(static_cast<size_t>(frames));
  for (int i = 0; i < frames; ++i) {
    samples[static_cast<size_t>(i)] = from + (to - from) * static_cast<float>(i) / (frames - 1);
  }
  return samples;
}

// The editor's theme image, which shows the parity of the beat each block starts in.
IControl* ThemeImage(TestInstance& instance) {
  auto* editor = static_cast<IEditor*>(instance.Plugin()->Editor());
  for (int i = 0; editor && i < editor->ControlCount(); ++i) {
    if (editor->Control(i)->ParamIndex() == Ombrix::ParamKelba) {
      return editor->Control(i);
    }
  }
  return nullptr;
}
} // namespace

// In place, and in runs longer than the announced block (served in sub-blocks), the result is
// the same as a plain run.
TEST(Lv2Run, InPlaceAndLongRunsGiveThePlainResult) {
  const std::vector<float> left = Ramp(3000, -0.9f, 0.9f);
  const std::vector<float> right = Ramp(3000, 0.4f, -0.4f);
  TestInstance plain(4096);
  plain.SetControl("amount_of_distortion", 40.0f);
  plain.Run(left, right);

  TestInstance inPlace(4096);
  inPlace.SetControl("amount_of_distortion", 40.0f);
  std::vector<float> l = left;
  std::vector<float> r = right;
  inPlace.RunInPlace(&l, &r);

  TestInstance sliced(256);
  sliced.SetControl("amount_of_distortion", 40.0f);
  sliced.Run(left, right);
  TestInstance unannounced(0);
  unannounced.SetControl("amount_of_distortion", 40.0f);
  unannounced.Run(left, right);
  for (size_t i = 0; i < left.size(); ++i) {
    ASSERT_EQ(l[i], plain.Out(0)[i]) << i;
    ASSERT_EQ(r[i], plain.Out(1)[i]) << i;
    ASSERT_EQ(sliced.Out(0)[i], plain.Out(0)[i]) << i;
    ASSERT_EQ(unannounced.Out(1)[i], plain.Out(1)[i]) << i;
  }
}

// Controller 69 at frame 10 turns the amount from frame 11 on (and for the whole right
// channel); the control output tells the host, whose input keeps its value until it moves it.
TEST(Lv2Run, Controller69MovesTheAmountFromTheNextSample) {
  TestInstance instance;
  instance.SetControl("amount_of_distortion", 0.0f);
  instance.AddMidi(10, {ControlChange | 4, AmountController, 127});
  const std::vector<float> quiet(32, 0.00005f);
  instance.Run(quiet, quiet);
  for (int i = 0; i <= 10; ++i) {
    EXPECT_EQ(instance.Out(0)[i], 0.00005f) << i;
  }
  for (int i = 11; i < 32; ++i) {
    EXPECT_NEAR(instance.Out(0)[i], 0.5f, 1e-4f) << i;
  }
  EXPECT_NEAR(instance.Out(1)[0], 0.5f, 1e-4f);
  EXPECT_EQ(instance.Reported("amount_of_distortion"), 99.99f);
  EXPECT_EQ(instance.Control("amount_of_distortion"), 0.0f);

  instance.Run(quiet, quiet);
  EXPECT_EQ(instance.Reported("amount_of_distortion"), 99.99f);
  EXPECT_NEAR(instance.Out(0)[0], 0.5f, 1e-4f);

  instance.SetControl("amount_of_distortion", 50.0f);
  instance.Run({0.25f}, {0.25f});
  EXPECT_EQ(instance.Reported("amount_of_distortion"), 50.0f);
  EXPECT_EQ(instance.Out(0)[0], 0.5f);

  // Controller 69 at 64 gives 99.99 * 64 / 127.
  instance.AddMidi(0, {ControlChange, AmountController, 64});
  instance.RunSilence(4);
  EXPECT_FLOAT_EQ(instance.Reported("amount_of_distortion"), 99.99f * 64.0f / 127.0f);
}

TEST(Lv2Run, PositionsBecomeTheTransportTheEffectAsksFor) {
  TestInstance instance;
  ITransportInfo fresh;
  instance.RunSilence(16);
  instance.Plugin()->HostTransport(&fresh);
  EXPECT_EQ(fresh.ppqPosition, -1.0);
  EXPECT_FALSE(fresh.playing);

  // Bar 2, beat 1.5 of 4/4 at 120 beats a minute, playing: 9.5 quarters at the run's start,
  // and 480 frames at 48 kHz later 0.02 quarters on.
  instance.AddPosition(0, 2, 1.5, 4, 4, 120, 1, 96000);
  instance.RunSilence(480);
  ITransportInfo info;
  instance.Plugin()->HostTransport(&info);
  EXPECT_NEAR(info.ppqPosition, 9.52, 1e-9);
  EXPECT_DOUBLE_EQ(info.lastBarPosition, 8.0);
  EXPECT_DOUBLE_EQ(info.tempo, 120.0);
  EXPECT_EQ(info.numerator, 4);
  EXPECT_EQ(info.denominator, 4);
  EXPECT_TRUE(info.playing);
  EXPECT_DOUBLE_EQ(info.samplePosition, 96480.0);

  // 6/8: beats are eighths. A position told at frame 100 of a run is where the run started 100
  // frames earlier: 6 eighths - 100 frames + 480 frames at 90 a minute.
  instance.AddPosition(100, 1, 0, 6, 8, 90, 1, 5000);
  instance.RunSilence(480);
  instance.Plugin()->HostTransport(&info);
  EXPECT_NEAR(info.ppqPosition, (6.0 + 380.0 * 90.0 / (60.0 * 48000.0)) * 0.5, 1e-9);
  EXPECT_DOUBLE_EQ(info.lastBarPosition, 3.0);
  EXPECT_EQ(info.numerator, 6);
  EXPECT_EQ(info.denominator, 8);
  EXPECT_DOUBLE_EQ(info.tempo, 90.0);
  EXPECT_DOUBLE_EQ(info.samplePosition, 5380.0);

  // Stopped, the position stays.
  instance.AddPosition(0, 3, 2, 4, 4, 100, 0, 7000);
  instance.RunSilence(480);
  instance.RunSilence(480);
  instance.Plugin()->HostTransport(&info);
  EXPECT_DOUBLE_EQ(info.ppqPosition, 14.0);
  EXPECT_DOUBLE_EQ(info.samplePosition, 7000.0);
  EXPECT_FALSE(info.playing);
}

// Ardour gives a plug-in on an audio track the transport on an input that takes no MIDI, first
// in a run while still stopped, then as it starts rolling; between its objects the position
// moves on with the tempo. The theme image turns on every beat, as in the VST 2 build.
TEST(Lv2Run, ArdourTransportTurnsTheThemeImageOnEveryBeat) {
  constexpr int RunFrames = 1024;
  // 120 beats a minute at 48 kHz.
  constexpr int FramesPerBeat = 24000;
  TestInstance instance(RunFrames);
  IControl* theme = ThemeImage(instance);
  ASSERT_NE(theme, nullptr);
  ASSERT_EQ(instance.Control("kelba_enabled"), 1.0f);

  instance.AddArdourPosition(0, 0.0f, 0, 0.0f, 4, 4.0f, 120.0f);
  instance.RunSilence(RunFrames);
  ITransportInfo info;
  instance.Plugin()->HostTransport(&info);
  EXPECT_EQ(info.ppqPosition, 0.0);
  EXPECT_FALSE(info.playing);

  instance.AddArdourPosition(0, 1.0f, 0, 0.0f, 4, 4.0f, 120.0f);
  for (int run = 0; run < 5 * FramesPerBeat / RunFrames; ++run) {
    instance.RunSilence(RunFrames);
    const int beat = run * RunFrames / FramesPerBeat;
    ASSERT_EQ(theme->Value(), beat % 2) << "run " << run;
  }

  // A locate while rolling, to bar 3 beat 1 (quarter 9), then stopped there.
  instance.AddArdourPosition(9 * FramesPerBeat, 1.0f, 2, 1.0f, 4, 4.0f, 120.0f);
  instance.RunSilence(RunFrames);
  EXPECT_EQ(theme->Value(), 1.0);
  instance.AddArdourPosition(9 * FramesPerBeat + RunFrames, 0.0f, 2, 1.0f, 4, 4.0f, 120.0f);
  for (int run = 0; run < 30; ++run) {
    instance.RunSilence(RunFrames);
  }
  EXPECT_EQ(theme->Value(), 1.0);
}
