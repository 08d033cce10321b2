#include "effect/Ombrix.h"
#include "platform/DebugPrint.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {
// The host side of these tests: answers the plug-in's calls and keeps what it was asked.
struct FakeHost {
  std::string product;
  VstIntPtr version = 0;
  bool suppliesTime = false;
  VstTimeInfo time = {};
  std::vector<VstInt32> opcodes;
};
FakeHost* fakeHost = nullptr;

VstIntPtr VSTCALLBACK Answer(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float) {
  fakeHost->opcodes.push_back(opcode);
  switch (opcode) {
  case audioMasterGetTime:
    return fakeHost->suppliesTime ? reinterpret_cast<VstIntPtr>(&fakeHost->time) : 0;
  case audioMasterGetProductString:
    std::snprintf(static_cast<char*>(ptr), 256, "%s", fakeHost->product.c_str());
    return 1;
  case audioMasterGetVendorVersion:
    return fakeHost->version;
  default:
    return 0;
  }
}

// Records what the plug-in shows on its editor.
struct ShownValue {
  int index;
  double value;
  bool normalized;
};
class RecordingEditor : public IAttachedEditor {
public:
  explicit RecordingEditor(std::vector<ShownValue>* shown) : shown(shown) {}
  void ShowParameterValue(int index, double value, bool normalized) override {
    shown->push_back({index, value, normalized});
  }
  void PrepareDrawing() override {}
  void* AttachWindow(void* parent) override { return parent; }
  void* OpenWindow(const INativeParent& parent) override {
    return parent.hwnd ? parent.hwnd : reinterpret_cast<void*>(parent.x11Window);
  }
  void DetachWindow() override { ++detached; }
  int Width() const override { return 560; }
  int Height() const override { return 400; }
  void Idle() override { ++idles; }
  bool HostKey(int virtualKey, bool down) override {
    keys.push_back({virtualKey, down});
    return virtualKey == takenKey;
  }
  int detached = 0;
  int idles = 0;
  std::vector<std::pair<int, bool>> keys;
  int takenKey = -1;

private:
  std::vector<ShownValue>* shown;
};

std::vector<std::string> printed;
void Capture(const char* line) {
  printed.emplace_back(line);
}

class OmbrixTest : public ::testing::Test {
protected:
  void SetUp() override {
    fakeHost = &host;
    printed.clear();
    SetDebugSink(Capture);
    plugin = std::make_unique<Ombrix>(Answer);
  }
  void TearDown() override {
    SetDebugSink(nullptr);
    plugin.reset();
    fakeHost = nullptr;
  }
  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                     void* ptr = nullptr) {
    AEffect* record = plugin->Effect();
    return record->dispatcher(record, opcode, index, value, ptr, 0.0f);
  }
  void Process(double left, double right, int frames = 64) {
    std::vector<double> inLeft(frames, left), inRight(frames, right);
    std::vector<double> outLeft(frames), outRight(frames);
    double* inputs[2] = {inLeft.data(), inRight.data()};
    double* outputs[2] = {outLeft.data(), outRight.data()};
    plugin->ProcessBlock(inputs, outputs, frames);
  }
  void Queue(int offset, int status, int data1, int data2) {
    IMidiEvent event;
    event.offset = offset;
    event.status = static_cast<uint8_t>(status);
    event.data1 = static_cast<uint8_t>(data1);
    event.data2 = static_cast<uint8_t>(data2);
    plugin->OnMidiEvent(&event);
  }
  void SetTimeBeat(double ppq) {
    host.suppliesTime = true;
    host.time = {};
    host.time.ppqPos = ppq;
    host.time.flags = kVstPpqPosValid;
  }

  FakeHost host;
  std::unique_ptr<Ombrix> plugin;
};
} // namespace

TEST_F(OmbrixTest, DefinitionAndTheStateBeforeAndAfterOpen) {
  const IParameter* amount = plugin->Parameter(Ombrix::ParamAmount);
  EXPECT_STREQ(amount->Name(), "Amount of Distortion");
  EXPECT_EQ(amount->Kind(), IParameter::KindContinuous);
  EXPECT_EQ(amount->Maximum(), 99.99);
  EXPECT_EQ(amount->Precision(), 2);
  EXPECT_EQ(plugin->Parameter(Ombrix::ParamKelbaEnabled)->Kind(), IParameter::KindInteger);
  EXPECT_EQ(plugin->Parameter(Ombrix::ParamKelbaEnabled)->Value(), 1.0);
  EXPECT_EQ(plugin->Parameter(Ombrix::ParamKelba)->Value(), 0.0);
  // Not yet opened: the animation is off although its switch reads on.
  EXPECT_EQ(plugin->AnimateWithTempo(), 0);
  EXPECT_EQ(plugin->ClipLevel(), 1.0);
  Dispatch(effOpen);
  EXPECT_EQ(plugin->AnimateWithTempo(), 1);
  EXPECT_EQ(plugin->ClipLevel(), 1.0);
}

TEST_F(OmbrixTest, ParameterChangesSetClipLevelAndAnimation) {
  plugin->Parameter(Ombrix::ParamAmount)->SetClamped(25.0);
  plugin->OnParameterChanged(Ombrix::ParamAmount);
  EXPECT_DOUBLE_EQ(plugin->ClipLevel(), 0.75);
  plugin->Parameter(Ombrix::ParamAmount)->SetClamped(99.99);
  plugin->OnParameterChanged(Ombrix::ParamAmount);
  EXPECT_NEAR(plugin->ClipLevel(), 0.0001, 1e-12);
  plugin->Parameter(Ombrix::ParamKelbaEnabled)->SetClamped(1.0);
  plugin->OnParameterChanged(Ombrix::ParamKelbaEnabled);
  EXPECT_EQ(plugin->AnimateWithTempo(), 1);
  plugin->Parameter(Ombrix::ParamKelba)->SetClamped(1.0);
  plugin->OnParameterChanged(Ombrix::ParamKelba);
  EXPECT_EQ(plugin->AnimateWithTempo(), 1);
  EXPECT_NEAR(plugin->ClipLevel(), 0.0001, 1e-12);
}

TEST_F(OmbrixTest, FactoryPresetStopsTheAnimation) {
  Dispatch(effOpen);
  ASSERT_TRUE(plugin->SelectPreset(3));
  EXPECT_NEAR(plugin->ClipLevel(), 0.2, 1e-12);
  EXPECT_EQ(plugin->AnimateWithTempo(), 0);
}

TEST_F(OmbrixTest, AnimationPrintsEachPassAndMidiIsPrintedDecoded) {
  Dispatch(effOpen);
  Queue(2, 0xB4, 69, 127);
  Queue(3, 0x21, 5, 6);
  Process(0.1, 0.1, 8);
  EXPECT_EQ(printed, (std::vector<std::string>{"midi 11 channel: 5 cc: 69 val: 127\r\n",
                                               "midi 0 channel: 2 cc: 5 val: 6\r\n", "frame: 1\r\n",
                                               "frame: 2\r\n"}));
  printed.clear();
  plugin->Parameter(Ombrix::ParamKelbaEnabled)->SetClamped(0.0);
  plugin->OnParameterChanged(Ombrix::ParamKelbaEnabled);
  Process(0.1, 0.1, 8);
  EXPECT_TRUE(printed.empty());
}

TEST_F(OmbrixTest, MetersRiseAfterEachPassAndFallSlowly) {
  Process(1.0, 0.0);
  EXPECT_DOUBLE_EQ(plugin->MeterLevelLeft(), 0.6);
  EXPECT_DOUBLE_EQ(plugin->MeterLevelRight(), 0.0);
  Process(0.0, 0.0);
  EXPECT_DOUBLE_EQ(plugin->MeterLevelLeft(), 0.57);
  Process(0.0, 1.0);
  EXPECT_DOUBLE_EQ(plugin->MeterLevelRight(), 0.6);
  // After the left pass the right level takes a release step; the right pass then rises.
  Process(0.0, 1.0);
  EXPECT_DOUBLE_EQ(plugin->MeterLevelRight(), 0.6 * 1.0 + 0.4 * (0.95 * 0.6));
  // A block without frames still takes the smoothing steps.
  const double before = plugin->MeterLevelLeft();
  Process(0.0, 0.0, 0);
  EXPECT_DOUBLE_EQ(plugin->MeterLevelLeft(), before * 0.95);
}

TEST_F(OmbrixTest, ThemeFrameFollowsTheBeatParity) {
  std::vector<ShownValue> shown;
  plugin->AttachEditor(new RecordingEditor(&shown));
  Dispatch(effOpen);
  auto frameShownAfter = [&](auto setTime) {
    setTime();
    shown.clear();
    Process(0.0, 0.0, 4);
    EXPECT_EQ(shown.size(), 2u);
    for (const ShownValue& value : shown) {
      EXPECT_EQ(value.index, Ombrix::ParamKelba);
      EXPECT_TRUE(value.normalized);
    }
    return shown.empty() ? -9.0 : shown.back().value;
  };
  EXPECT_EQ(frameShownAfter([&] { SetTimeBeat(3.7); }), 1.0);
  EXPECT_EQ(frameShownAfter([&] { SetTimeBeat(4.0); }), 0.0);
  EXPECT_EQ(frameShownAfter([&] { host.suppliesTime = false; }), -1.0);
  plugin->Parameter(Ombrix::ParamKelbaEnabled)->SetClamped(0.0);
  plugin->OnParameterChanged(Ombrix::ParamKelbaEnabled);
  EXPECT_EQ(frameShownAfter([&] { SetTimeBeat(3.0); }), 0.0);
}

TEST_F(OmbrixTest, AttachedEditorSetsTheFlagAndAnswersTheEditorOpcodes) {
  std::vector<ShownValue> shown;
  auto* editor = new RecordingEditor(&shown);
  plugin->AttachEditor(editor);
  EXPECT_EQ(plugin->Effect()->flags, 0x1019);
  ERect* rect = nullptr;
  EXPECT_EQ(Dispatch(effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->top, 0);
  EXPECT_EQ(rect->left, 0);
  EXPECT_EQ(rect->bottom, 400);
  EXPECT_EQ(rect->right, 560);
  int parent = 0;
  EXPECT_EQ(Dispatch(effEditOpen, 0, 0, &parent), 1);
  EXPECT_EQ(Dispatch(effEditOpen, 0, 0, nullptr), 0);
  EXPECT_EQ(Dispatch(effEditClose), 1);
  EXPECT_EQ(editor->detached, 1);
  EXPECT_EQ(Dispatch(effEditIdle), 0);
  EXPECT_EQ(editor->idles, 1);
  // A host's parameter write reaches the editor as a normalised value.
  shown.clear();
  AEffect* record = plugin->Effect();
  record->setParameter(record, 0, 0.5f);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].index, 0);
  EXPECT_EQ(shown[0].value, 0.5);
  EXPECT_TRUE(shown[0].normalized);
}

TEST_F(OmbrixTest, HostIsIdentifiedOnceByProductName) {
  host.product = "REAPER x64";
  host.version = 60123;
  Dispatch(effOpen);
  EXPECT_EQ(plugin->HostKind(), 1);
  EXPECT_EQ(plugin->HostVersion(), 0x00060117);
  host.product = "Cubase";
  Dispatch(effOpen);
  EXPECT_EQ(plugin->HostKind(), 1);
  EXPECT_EQ(host.opcodes,
            (std::vector<VstInt32>{audioMasterGetProductString, audioMasterGetVendorVersion}));
}

TEST_F(OmbrixTest, TransportTakesOnlyWhatTheHostMarksValidAndUsable) {
  host.suppliesTime = true;
  host.time.flags = kVstTempoValid | kVstTimeSigValid | kVstPpqPosValid | kVstTransportPlaying;
  host.time.samplePos = 4410.0;
  host.time.tempo = 0.0;
  host.time.ppqPos = std::numeric_limits<double>::infinity();
  host.time.timeSigNumerator = 0;
  host.time.timeSigDenominator = 8;
  ITransportInfo transport;
  plugin->HostTransport(&transport);
  EXPECT_EQ(transport.samplePosition, 4410.0);
  EXPECT_EQ(transport.tempo, 120.0);
  EXPECT_EQ(transport.ppqPosition, -1.0);
  EXPECT_EQ(transport.numerator, 4);
  EXPECT_EQ(transport.denominator, 4);
  EXPECT_TRUE(transport.playing);
  EXPECT_FALSE(transport.cycling);
  // None of the five wanted fields marked: nothing is taken, not even the position.
  host.time.flags = kVstTransportPlaying;
  ITransportInfo untouched;
  plugin->HostTransport(&untouched);
  EXPECT_EQ(untouched.samplePosition, -1.0);
  EXPECT_FALSE(untouched.playing);
}

TEST_F(OmbrixTest, HostKeysReachTheEditorInThePcNumberingAndAnswerWhetherAControlTookThem) {
  std::vector<ShownValue> shown;
  auto* editor = new RecordingEditor(&shown);
  plugin->AttachEditor(editor);
  editor->takenKey = 'Q';
  EXPECT_EQ(Dispatch(effEditKeyDown, 'q', 0), 1);
  EXPECT_EQ(Dispatch(effEditKeyUp, 'q', 0), 1);
  EXPECT_EQ(Dispatch(effEditKeyDown, '7', 0), 0);
  EXPECT_EQ(Dispatch(effEditKeyDown, 0, VKEY_SPACE), 0);
  EXPECT_EQ(Dispatch(effEditKeyDown, 0, VKEY_LEFT), 0);
  EXPECT_EQ(Dispatch(effEditKeyDown, 0, VKEY_DOWN), 0);
  EXPECT_EQ(Dispatch(effEditKeyDown, '3', VKEY_NUMPAD0 + 3), 0);
  EXPECT_EQ(Dispatch(effEditKeyDown, 0, VKEY_F1), 0);
  EXPECT_EQ(Dispatch(effEditKeyDown, 0, VKEY_DIVIDE), 0);
  // Escape has no number the editor reads: the host keeps it without asking the editor.
  EXPECT_EQ(Dispatch(effEditKeyDown, 0, 6), 0);
  EXPECT_EQ(editor->keys, (std::vector<std::pair<int, bool>>{{'Q', true},
                                                             {'Q', false},
                                                             {'7', true},
                                                             {0x20, true},
                                                             {0x25, true},
                                                             {0x28, true},
                                                             {0x63, true},
                                                             {0x70, true},
                                                             {0x6F, true}}));
}

TEST_F(OmbrixTest, ReturnToRestDropsWaitingEventsAndStillsTheMeters) {
  Dispatch(effOpen);
  Queue(5, 0x90, 60, 100);
  Queue(std::numeric_limits<int>::max(), 0xB0, 69, 127);
  Process(1.0, 1.0, 8);
  ASSERT_EQ(plugin->MidiQueue().PendingCount(), 1);
  ASSERT_GT(plugin->MeterLevelLeft(), 0.0);
  plugin->ReturnToRest();
  EXPECT_EQ(plugin->MidiQueue().PendingCount(), 0);
  EXPECT_EQ(plugin->MidiQueue().ReadIndex(), 0);
  EXPECT_EQ(plugin->MeterLevelLeft(), 0.0);
  EXPECT_EQ(plugin->MeterLevelRight(), 0.0);
  // The dropped controller never turns the amount; events queued afterwards arrive as usual.
  Queue(1, 0x80, 60, 0);
  printed.clear();
  Process(0.0, 0.0, 4);
  EXPECT_EQ(printed.front(), "midi 8 channel: 1 cc: 60 val: 0\r\n");
  EXPECT_EQ(plugin->MidiQueue().PendingCount(), 0);
  EXPECT_EQ(plugin->Parameter(Ombrix::ParamAmount)->Value(), 0.0);
}
