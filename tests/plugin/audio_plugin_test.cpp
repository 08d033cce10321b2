#include "TestPlugin.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

TEST(AudioPlugin, ConstructionLeavesEmptySlotsAndUnconnectedPins) {
  TestPlugin plugin;
  EXPECT_EQ(plugin.IdentifyHost(), HostNotIdentified);
  EXPECT_EQ(plugin.MaxBlockFrames(), 0);
  ASSERT_EQ(plugin.PresetCount(), 5);
  for (int i = 0; i < 5; ++i) {
    EXPECT_FALSE(plugin.Preset(i)->defined);
    EXPECT_STREQ(plugin.Preset(i)->name, "empty");
  }
  EXPECT_EQ(plugin.Preset(5), nullptr);
  EXPECT_EQ(plugin.Parameter(-1), nullptr);
  ASSERT_EQ(plugin.InputCount(), 2);
  ASSERT_EQ(plugin.OutputCount(), 2);
  for (int i = 0; i < 2; ++i) {
    EXPECT_FALSE(plugin.Input(i)->connected);
    EXPECT_EQ(plugin.Input(i)->slot, &plugin.InputPointers()[i]);
    EXPECT_EQ(plugin.Output(i)->slot, &plugin.OutputPointers()[i]);
  }
}

TEST(AudioPlugin, ChannelConfigurationsAndLegalIO) {
  TestPlugin plugin;
  ASSERT_EQ(plugin.ChannelConfigCount(), 2);
  EXPECT_EQ(plugin.ChannelConfig(1)->inputs, 2);
  EXPECT_EQ(plugin.ChannelConfig(1)->outputs, 2);
  EXPECT_TRUE(plugin.LegalIO(1, -1));
  EXPECT_TRUE(plugin.LegalIO(2, 2));
  EXPECT_TRUE(plugin.LegalIO(-1, 1));
  EXPECT_FALSE(plugin.LegalIO(1, 2));
  EXPECT_FALSE(plugin.LegalIO(3, -1));

  TestPlugin junk("junk");
  ASSERT_EQ(junk.ChannelConfigCount(), 1);
  EXPECT_EQ(junk.ChannelConfig(0)->inputs, 0);
  EXPECT_EQ(junk.InputCount(), 0);
  EXPECT_EQ(junk.OutputCount(), 0);
  EXPECT_TRUE(junk.LegalIO(0, 0));
}

TEST(AudioPlugin, ConnectClipsTheRangeToExistingChannels) {
  TestPlugin plugin("1-1 4-4");
  plugin.ConnectInputs(-1, 2, true);
  EXPECT_TRUE(plugin.Input(0)->connected);
  EXPECT_FALSE(plugin.Input(1)->connected);
  plugin.ConnectInputs(2, INT_MAX, true);
  EXPECT_TRUE(plugin.Input(2)->connected);
  EXPECT_TRUE(plugin.Input(3)->connected);
  plugin.ConnectInputs(INT_MAX, INT_MAX, false);
  plugin.ConnectInputs(0, -3, false);
  plugin.ConnectInputs(INT_MIN, INT_MAX, false);
  EXPECT_TRUE(plugin.Input(0)->connected);
  EXPECT_TRUE(plugin.Input(3)->connected);

  plugin.SetMaxBlockFrames(16);
  plugin.ConnectOutputs(0, 4, true);
  plugin.ConnectOutputs(3, 1, false);
  EXPECT_TRUE(plugin.Output(2)->connected);
  EXPECT_FALSE(plugin.Output(3)->connected);
  EXPECT_EQ(plugin.OutputPointers()[3], plugin.Output(3)->scratch.data());
}

TEST(AudioPlugin, BlockSizeChangeZeroesScratchAndRepointsUnconnectedChannels) {
  TestPlugin plugin;
  plugin.SetMaxBlockFrames(4);
  plugin.ConnectInputs(0, 2, true);
  std::vector<float> host = {1, 2, 3, 4};
  float* hostInputs[] = {host.data(), host.data()};
  plugin.StageFloatInputs(0, 2, hostInputs, 4);
  EXPECT_EQ(plugin.InputPointers()[1][3], 4.0);

  plugin.SetMaxBlockFrames(4);
  EXPECT_EQ(plugin.Input(1)->scratch[3], 4.0) << "same size keeps contents";

  plugin.ConnectInputs(1, 1, false);
  plugin.SetMaxBlockFrames(8);
  EXPECT_EQ(plugin.MaxBlockFrames(), 8);
  ASSERT_EQ(plugin.Input(1)->scratch.size(), 8u);
  EXPECT_EQ(plugin.InputPointers()[1], plugin.Input(1)->scratch.data());
  // The staged connected channel pointed at its old scratch; it follows the new one.
  EXPECT_EQ(plugin.InputPointers()[0], plugin.Input(0)->scratch.data());
  std::vector<double> out0(8, 9.0), out1(8, 9.0);
  double* outputs[] = {out0.data(), out1.data()};
  plugin.ProcessBlock(plugin.InputPointers(), outputs, 8);
  EXPECT_EQ(out1, std::vector<double>(8, 0.0));
  EXPECT_EQ(out0, std::vector<double>(8, 0.0));

  plugin.SetMaxBlockFrames(-5);
  EXPECT_EQ(plugin.MaxBlockFrames(), 8);
}

TEST(AudioPlugin, StagingConsumesHostBuffersOnlyForConnectedInputs) {
  TestPlugin plugin("1-1 3-3");
  plugin.SetMaxBlockFrames(3);
  plugin.ConnectInputs(0, 3, true);
  plugin.ConnectInputs(1, 1, false);
  std::vector<float> a = {0.5f, -0.25f, 1.0f};
  std::vector<float> b = {2.0f, 3.0f, 4.0f};
  float* hostInputs[] = {a.data(), b.data()}; // only two: the host skips the unconnected one
  plugin.StageFloatInputs(0, 3, hostInputs, 3);
  EXPECT_EQ(plugin.InputPointers()[0][1], -0.25);
  EXPECT_EQ(plugin.InputPointers()[1], plugin.Input(1)->scratch.data());
  EXPECT_EQ(plugin.Input(1)->scratch, std::vector<double>(3, 0.0));
  EXPECT_EQ(plugin.InputPointers()[2][2], 4.0);

  // Starting later and cut at the channel count: the first host buffer goes to channel 2.
  plugin.StageFloatInputs(2, 5, hostInputs, 3);
  EXPECT_EQ(plugin.InputPointers()[2][2], 1.0);
}

TEST(AudioPlugin, StagingNeverRunsPastTheScratchBuffers) {
  TestPlugin plugin;
  plugin.SetMaxBlockFrames(2);
  plugin.ConnectInputs(0, 2, true);
  std::vector<float> host(64, 1.0f);
  float* hostInputs[] = {host.data(), host.data()};
  plugin.StageFloatInputs(0, 2, hostInputs, 64);
  plugin.StageFloatInputs(0, 2, hostInputs, -1);
  plugin.StageFloatInputs(0, 2, nullptr, 2);
  EXPECT_EQ(plugin.Input(1)->scratch, std::vector<double>(2, 1.0));
  // A host array with a missing buffer: that channel reads as silence instead of a crash.
  float* partial[] = {host.data(), nullptr};
  plugin.StageFloatInputs(0, 2, partial, 2);
  EXPECT_EQ(plugin.Input(0)->scratch, std::vector<double>(2, 1.0));
  EXPECT_EQ(plugin.Input(1)->scratch, std::vector<double>(2, 0.0));
}

// Every binding's host writes reach the parameter the same way: limited, integer kinds rounded to
// their step whichever units the host speaks, NaN and unknown indices ignored.
TEST(AudioPlugin, HostParameterWritesLimitAndRoundInBothUnits) {
  TestPlugin plugin;
  using Units = IAudioPlugin::ParameterUnits;
  constexpr IAudioPlugin::EditorEcho Echo = IAudioPlugin::EditorEcho::Show;
  EXPECT_TRUE(plugin.SetParameterFromHost(0, 50.0, Units::Real, Echo));
  EXPECT_EQ(plugin.Parameter(0)->Value(), 50.0);
  EXPECT_TRUE(plugin.SetParameterFromHost(0, 2.0, Units::Normalized, Echo));
  EXPECT_EQ(plugin.Parameter(0)->Value(), 99.99);
  EXPECT_TRUE(plugin.SetParameterFromHost(1, 0.4, Units::Real, Echo));
  EXPECT_EQ(plugin.Parameter(1)->Value(), 0.0);
  EXPECT_TRUE(plugin.SetParameterFromHost(2, 0.6, Units::Real, Echo));
  EXPECT_EQ(plugin.Parameter(2)->Value(), 1.0);
  EXPECT_FALSE(plugin.SetParameterFromHost(0, std::nan(""), Units::Real, Echo));
  EXPECT_FALSE(plugin.SetParameterFromHost(3, 0.5, Units::Normalized, Echo));
  EXPECT_EQ(plugin.Parameter(0)->Value(), 99.99);
}

TEST(AudioPlugin, DefaultProcessingPassesThroughAndSilencesExtraOutputs) {
  TestPlugin plugin("1-2");
  std::vector<double> in = {0.1, -0.2, 0.3};
  std::vector<double> out0(3, 7.0), out1(3, 7.0);
  double* inputs[] = {in.data()};
  double* outputs[] = {out0.data(), out1.data()};
  plugin.ProcessBlock(inputs, outputs, 3);
  EXPECT_EQ(out0, in);
  EXPECT_EQ(out1, std::vector<double>(3, 0.0));

  std::vector<float> fin = {0.5f, 0.25f};
  std::vector<float> fout0(2, 7.0f), fout1(2, 7.0f);
  float* finputs[] = {fin.data()};
  float* foutputs[] = {fout0.data(), fout1.data()};
  plugin.ProcessBlockFloat(finputs, foutputs, 2);
  EXPECT_EQ(fout0, fin);
  EXPECT_EQ(fout1, std::vector<float>(2, 0.0f));
  plugin.ProcessBlock(inputs, outputs, 0);
}

TEST(AudioPlugin, MidiDefaultsAndStoredValueComparison) {
  TestPlugin plugin;
  const IMidiEvent event{10, 0xB0, 69, 127};
  plugin.OnMidiEvent(&event);
  ASSERT_EQ(plugin.sentMidi.size(), 1u);
  EXPECT_EQ(plugin.sentMidi[0].offset, 10);
  EXPECT_EQ(plugin.sentMidi[0].data2, 127);

  plugin.SetValues(25.0, 1, 0);
  const double stored[] = {99.0, 25.000001, 1.0, 0.0};
  EXPECT_TRUE(plugin.MatchesStoredValues(stored, 1));
  EXPECT_FALSE(plugin.MatchesStoredValues(stored, 0));
}

TEST(AudioPlugin, AttachEditorShowsNormalisedValuesThenPreparesAndOwns) {
  bool firstDestroyed = false;
  bool secondDestroyed = false;
  {
    TestPlugin plugin;
    plugin.AttachEditor(nullptr);
    EXPECT_EQ(plugin.Editor(), nullptr);

    plugin.SetValues(49.995, 1, 0);
    auto* editor = new RecordingEditor(&plugin.log, &firstDestroyed);
    plugin.AttachEditor(editor);
    EXPECT_EQ(plugin.Editor(), editor);
    EXPECT_EQ(plugin.log,
              (std::vector<std::string>{"Show 0", "Show 1", "Show 2", "PrepareDrawing"}));
    ASSERT_EQ(editor->shown.size(), 3u);
    EXPECT_EQ(editor->shown[0].value, 0.5);
    EXPECT_TRUE(editor->shown[0].normalized);

    editor->shown.clear();
    plugin.RefreshParameterControls();
    ASSERT_EQ(editor->shown.size(), 3u);
    EXPECT_EQ(editor->shown[0].value, 49.995);
    EXPECT_FALSE(editor->shown[0].normalized);

    plugin.AttachEditor(new RecordingEditor(&plugin.log, &secondDestroyed));
    EXPECT_TRUE(firstDestroyed);
    EXPECT_FALSE(secondDestroyed);
  }
  EXPECT_TRUE(secondDestroyed);
}

TEST(AudioPlugin, EditorChangeSetsUnderTheLockAndNotifiesAfterReleasingIt) {
  TestPlugin plugin;
  plugin.changeProbeMs = 100;
  plugin.notifyProbeMs = 10000;
  plugin.SetParameterFromEditor(0, 0.5);
  plugin.changeProbe.Finish();
  plugin.notifyProbe.Finish();
  EXPECT_FALSE(plugin.lockFreeDuringChange);
  EXPECT_TRUE(plugin.lockFreeDuringNotify);
  EXPECT_EQ(plugin.Parameter(0)->Value(), 0.5 * 99.99);
  EXPECT_EQ(plugin.log, (std::vector<std::string>{"Changed 0", "Notify 0 0.500000"}));

  plugin.log.clear();
  plugin.SetParameterFromEditor(3, 1.0);
  plugin.SetParameterFromEditor(-1, 1.0);
  EXPECT_TRUE(plugin.log.empty());
}

TEST(AudioPlugin, EditorChangeFromInsideTheLockKeepsTheCallersHold) {
  TestPlugin plugin;
  {
    // The effect's MIDI controller path runs inside processing, which holds the lock.
    IScopedLock processing(plugin.Lock());
    plugin.notifyProbeMs = 100;
    plugin.SetParameterFromEditor(1, 0.2);
    EXPECT_FALSE(plugin.lockFreeDuringNotify);
    EXPECT_EQ(plugin.Parameter(1)->Value(), 0.0);
  }
  plugin.notifyProbe.Finish();
}

TEST(AudioPlugin, BaseNotificationsReenterTheLock) {
  TestPlugin plugin;
  IScopedLock dispatcher(plugin.Lock());
  plugin.OnReset();
  plugin.OnActivation(true);
  plugin.SetMaxBlockFrames(32);
  plugin.UnserializeParams(&plugin.Preset(0)->state, 0);
  EXPECT_EQ(plugin.MaxBlockFrames(), 32);
  EXPECT_EQ(plugin.log, (std::vector<std::string>{"Changed 0", "Changed 1", "Changed 2"}));
}
