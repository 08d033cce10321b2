#include "TestPlugin.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
// Negates its input and records each sub-block with the amount it ran at.
class RecordingRunner : public TestPlugin {
public:
  struct SubBlock {
    int offset;
    int frames;
    double amount;
  };
  explicit RecordingRunner(::BindingKind kind = ::BindingKind::Vst3)
      : TestPlugin("1-1 2-2", 5, kind) {
    ConnectInputs(0, 2, true);
    ConnectOutputs(0, 2, true);
  }
  void ProcessBlock(double** in, double** out, int frames) override {
    ran.push_back({BlockOffset(), frames, Parameter(0)->Value()});
    for (int c = 0; c < 2; ++c) {
      for (int i = 0; i < frames; ++i) {
        out[c][i] = -in[c][i];
      }
    }
  }
  std::vector<SubBlock> ran;
};

struct StereoBlock {
  explicit StereoBlock(int frames) : left(frames), right(frames) {
    for (int i = 0; i < frames; ++i) {
      left[i] = 0.25 + i * 0.001;
      right[i] = -0.5 + i * 0.002;
    }
  }
  double* channels[2] = {nullptr, nullptr};
  double** Pointers() {
    channels[0] = left.data();
    channels[1] = right.data();
    return channels;
  }
  std::vector<double> left;
  std::vector<double> right;
};
} // namespace

TEST(BlockRunner, ParameterPointsEndSubBlocksAndApplyAtTheirFrames) {
  RecordingRunner plugin;
  plugin.SetMaxBlockFrames(16);
  // Two points share frame 10 (the later wins), one lies past the call and one before the one
  // ahead of it, which counts at that one's frame.
  const IParameterPoint points[] = {
      {0, 0, 0.1}, {10, 0, 0.2}, {10, 0, 0.3}, {5, 0, 0.4}, {50, 0, 0.5}};
  StereoBlock block(30);
  plugin.RunHostBlock(block.Pointers(), block.Pointers(), 30, points, 5);
  ASSERT_EQ(plugin.ran.size(), 3u);
  EXPECT_EQ(plugin.ran[0].offset, 0);
  EXPECT_EQ(plugin.ran[0].frames, 10);
  EXPECT_DOUBLE_EQ(plugin.ran[0].amount, 0.1 * 99.99);
  EXPECT_EQ(plugin.ran[1].offset, 10);
  EXPECT_EQ(plugin.ran[1].frames, 16);
  EXPECT_DOUBLE_EQ(plugin.ran[1].amount, 0.4 * 99.99);
  EXPECT_EQ(plugin.ran[2].offset, 26);
  EXPECT_EQ(plugin.ran[2].frames, 4);
  EXPECT_DOUBLE_EQ(plugin.ran[2].amount, 0.4 * 99.99);
  EXPECT_DOUBLE_EQ(plugin.Parameter(0)->Value(), 0.5 * 99.99);

  // A flush: no frames, every point applied, out-of-range ones ignored.
  plugin.ran.clear();
  const IParameterPoint flush[] = {{3, 0, 0.0}, {0, 7, 1.0}, {0, 1, 1.0}};
  plugin.RunHostBlock(static_cast<float**>(nullptr), nullptr, 0,
                      IAudioPlugin::OutputDelivery::Replace, flush, 3);
  EXPECT_EQ(plugin.Parameter(0)->Value(), 0.0);
  EXPECT_EQ(plugin.Parameter(1)->Value(), 1.0);
}

TEST(BlockRunner, BypassFadesToTheExactInputAndBack) {
  RecordingRunner plugin;
  plugin.SetMaxBlockFrames(512);
  plugin.SetSampleRate(48000.0);
  const int fade = IAudioPlugin::BypassFadeFrames(48000.0);
  ASSERT_EQ(fade, 240);

  StereoBlock dry(400);
  auto run = [&plugin, &dry] {
    StereoBlock block = dry;
    plugin.RunHostBlock(block.Pointers(), block.Pointers(), 400);
    return block;
  };
  StereoBlock processed = run();
  EXPECT_EQ(processed.left[7], -dry.left[7]);

  plugin.SetBypass(true);
  StereoBlock fadingOut = run();
  for (int i = 1; i < fade; ++i) {
    // Each frame moves one step from the processed towards the dry signal, never jumping.
    const double mix = static_cast<double>(i + 1) / fade;
    EXPECT_NEAR(fadingOut.left[i], -dry.left[i] + 2 * dry.left[i] * mix, 1e-12);
  }
  for (int i = fade; i < 400; ++i) {
    ASSERT_EQ(fadingOut.left[i], dry.left[i]);
    ASSERT_EQ(fadingOut.right[i], dry.right[i]);
  }
  StereoBlock bypassed = run();
  EXPECT_EQ(bypassed.left, dry.left);
  EXPECT_EQ(bypassed.right, dry.right);

  plugin.SetBypass(false);
  run();
  StereoBlock back = run();
  EXPECT_EQ(back.left, processed.left);
  EXPECT_EQ(back.right, processed.right);
}

TEST(BlockRunner, FormatsWithoutABypassIgnoreIt) {
  RecordingRunner plugin(BindingKind::Vst2);
  plugin.SetMaxBlockFrames(64);
  plugin.SetBypass(true);
  StereoBlock block(64);
  const StereoBlock dry = block;
  plugin.RunHostBlock(block.Pointers(), block.Pointers(), 64);
  EXPECT_EQ(block.left[3], -dry.left[3]);
}
