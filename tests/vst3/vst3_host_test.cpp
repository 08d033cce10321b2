// What the VST 3 module gives that the shared conformance suite does not ask of every format:
// the factory's classes and ids, the parameter and program tables, the VST 2 build's exact
// samples in both precisions, parameter points at their frames, the flush, the bypass, and a
// VST 2 project's state. Runs on every build (Windows under Wine).
#include "tests/bindings/ReferenceClipper.h"
#include "tests/support/Fingerprint.h"
#include "tests/vst2/TestHost.h"
#include "tests/vst3/Vst3TestHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {
using vst3host::Instance;

constexpr double SampleRate = 44100.0;
constexpr int BlockFrames = 1024;
enum Id : vst3::ParamID { Amount = 0, KelbaEnabled = 1, Kelba = 2, Program = 3, Bypass = 4 };
constexpr int FactoryPrograms = 5;

void CopyUtf16(vst3::String128 out, const char* text) {
  size_t i = 0;
  for (; text[i] && i < 127; ++i) {
    out[i] = static_cast<vst3::char16>(text[i]);
  }
  out[i] = 0;
}

std::string Display(vst3::IEditController* controller, vst3::ParamID id, double normalized) {
  vst3::String128 text = {};
  EXPECT_EQ(controller->getParamStringByValue(id, normalized, text), vst3::kResultOk);
  return vst3host::Utf8(text);
}

double Typed(vst3::IEditController* controller, vst3::ParamID id, const char* text) {
  vst3::String128 typed = {};
  CopyUtf16(typed, text);
  vst3::ParamValue normalized = -1.0;
  EXPECT_EQ(controller->getParamValueByString(id, typed, &normalized), vst3::kResultOk) << text;
  return normalized;
}

constexpr const char* FingerprintAmounts[] = {"0", "12.5", "50", "80", "99.99", "33.33"};
constexpr int FingerprintFrames = 700;

// The VST 2 build's fingerprint run, through the VST 3 module: each amount typed into the
// controller, the host's normalised value applied at the block's start.
uint64_t Vst3FloatFingerprint() {
  Instance host(SampleRate, BlockFrames);
  Fingerprint fingerprint;
  for (const char* amount : FingerprintAmounts) {
    host.changes.Add(Amount, 0, Typed(host.controller, Amount, amount));
    StereoBuffers<float> buffers(FingerprintFrames);
    buffers.left = FingerprintSignal<float>(FingerprintFrames, 1);
    buffers.right = FingerprintSignal<float>(FingerprintFrames, 2);
    host.Process(buffers.Inputs(), buffers.Outputs(), FingerprintFrames);
    fingerprint.Add(buffers.outLeft);
    fingerprint.Add(buffers.outRight);
  }
  return fingerprint.hash;
}
// A project of the VST 2 build as Cubase keeps it: big-endian words and floats.
class Vst2Project {
public:
  void Word(uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
      bytes.push_back(static_cast<uint8_t>(value >> shift));
    }
  }
  void Tag(const char* text) {
    Word(static_cast<uint32_t>(text[0]) << 24 | text[1] << 16 | text[2] << 8 | text[3]);
  }
  void Float(float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    Word(bits);
  }
  void Wrapper(bool bypass) {
    Tag("VstW");
    Word(8);
    Word(1);
    Word(bypass ? 1 : 0);
  }
  void BankHeader(int version, int programs, int current, uint32_t id = 0x49706566) {
    Tag("CcnK");
    Word(static_cast<uint32_t>(148 + programs * 68));
    Tag("FxBk");
    Word(static_cast<uint32_t>(version));
    Word(id);
    Word(10201);
    Word(static_cast<uint32_t>(programs));
    Word(version >= 2 ? static_cast<uint32_t>(current) : 0);
    bytes.resize(bytes.size() + 124);
  }
  void ProgramRecord(const char* name, const std::vector<float>& values, uint32_t id = 0x49706566) {
    Tag("CcnK");
    Word(static_cast<uint32_t>(52 + 4 * values.size()));
    Tag("FxCk");
    Word(1);
    Word(id);
    Word(10201);
    Word(static_cast<uint32_t>(values.size()));
    char field[28] = {};
    std::strncpy(field, name, sizeof(field) - 1);
    bytes.insert(bytes.end(), field, field + sizeof(field));
    for (float value : values) {
      Float(value);
    }
  }
  std::vector<uint8_t> bytes;
};

std::string ProgramName(vst3::IEditController* controller, int program) {
  void* found = nullptr;
  controller->queryInterface(vst3::IUnitInfo_iid.Tuid(), &found);
  auto* units = static_cast<vst3::IUnitInfo*>(found);
  vst3::String128 name = {};
  EXPECT_EQ(units->getProgramName(1, program, name), vst3::kResultOk);
  units->release();
  return vst3host::Utf8(name);
}
} // namespace

TEST(Vst3Module, FactoryNamesTheVst2DerivedClassesForReplacedProjects) {
  vst3::IPluginFactory* factory = vst3host::BuiltModule().Factory();
  ASSERT_NE(factory, nullptr);
  vst3::PFactoryInfo info{};
  ASSERT_EQ(factory->getFactoryInfo(&info), vst3::kResultOk);
  EXPECT_STREQ(info.vendor, "Quillmarsh");
  EXPECT_TRUE(info.flags & vst3::PFactoryInfo::kUnicode);
  ASSERT_EQ(factory->countClasses(), 2);

  void* found = nullptr;
  ASSERT_EQ(factory->queryInterface(vst3::IPluginFactory3_iid.Tuid(), &found), vst3::kResultOk);
  auto* factory3 = static_cast<vst3::IPluginFactory3*>(found);
  vst3::PClassInfo2 processor{};
  vst3::PClassInfoW controller{};
  ASSERT_EQ(factory3->getClassInfo2(0, &processor), vst3::kResultOk);
  ASSERT_EQ(factory3->getClassInfoUnicode(1, &controller), vst3::kResultOk);
  EXPECT_EQ(factory3->getClassInfo2(2, &processor), vst3::kInvalidArgument);
  factory3->release();
  // "VST" / "VSE", 'Ipef', "ombrix": the ids hosts derive from the VST 2 build.
  const vst3::Uid processorId = vst3::MakeUid(0x56535449, 0x7065666F, 0x6D627269, 0x78000000);
  const vst3::Uid controllerId = vst3::MakeUid(0x56534549, 0x7065666F, 0x6D627269, 0x78000000);
  EXPECT_TRUE(vst3::SameUid(processor.cid, processorId));
  EXPECT_TRUE(vst3::SameUid(controller.cid, controllerId));
  EXPECT_STREQ(processor.category, vst3::kVstAudioEffectClass);
  EXPECT_STREQ(processor.subCategories, "Fx|Distortion");
  EXPECT_STREQ(processor.version, "1.2.1");
  EXPECT_STREQ(processor.sdkVersion, "VST 3.7.14");
  EXPECT_STREQ(controller.category, vst3::kVstComponentControllerClass);
  EXPECT_EQ(vst3host::Utf8(controller.name), "Ombrix");

  void* made = reinterpret_cast<void*>(1);
  const vst3::Uid unknown = vst3::MakeUid(1, 2, 3, 4);
  EXPECT_EQ(factory->createInstance(unknown.Tuid(), vst3::IComponent_iid.Tuid(), &made),
            vst3::kNoInterface);
  EXPECT_EQ(made, nullptr);

  Instance host(SampleRate, BlockFrames);
  ASSERT_TRUE(host.Ready());
  vst3::TUID named;
  ASSERT_EQ(host.processor->getControllerClassId(named), vst3::kResultOk);
  EXPECT_TRUE(vst3::SameUid(named, controllerId));
  vst3::SpeakerArrangement mono[] = {vst3::kSpeakerArrMono};
  vst3::SpeakerArrangement stereo[] = {vst3::kSpeakerArrStereo};
  vst3::SpeakerArrangement surround[] = {0x3F};
  EXPECT_EQ(host.audio->setBusArrangements(mono, 1, mono, 1), vst3::kResultTrue);
  EXPECT_EQ(host.audio->setBusArrangements(surround, 1, surround, 1), vst3::kResultFalse);
  EXPECT_EQ(host.audio->setBusArrangements(mono, 1, stereo, 1), vst3::kResultFalse);
  vst3::SpeakerArrangement held = 0;
  host.audio->getBusArrangement(vst3::kOutput, 0, &held);
  EXPECT_EQ(held, vst3::kSpeakerArrMono);
}

TEST(Vst3Module, ParametersProgramsAndTextsAreTheVst2Builds) {
  Instance host(SampleRate, BlockFrames);
  vst3::IEditController* controller = host.controller;
  ASSERT_EQ(controller->getParameterCount(), 5);
  const struct {
    const char* title;
    vst3::int32 steps;
    vst3::int32 flags;
  } expected[] = {
      {"Amount of Distortion", 0, vst3::ParameterInfo::kCanAutomate},
      {"#KELBA Enabled", 1, vst3::ParameterInfo::kCanAutomate},
      {"#KELBA", 1, vst3::ParameterInfo::kCanAutomate},
      {"Program", FactoryPrograms - 1,
       vst3::ParameterInfo::kIsProgramChange | vst3::ParameterInfo::kIsList},
      {"Bypass", 1, vst3::ParameterInfo::kCanAutomate | vst3::ParameterInfo::kIsBypass}};
  for (vst3::int32 i = 0; i < 5; ++i) {
    vst3::ParameterInfo info{};
    ASSERT_EQ(controller->getParameterInfo(i, &info), vst3::kResultOk);
    EXPECT_EQ(info.id, static_cast<vst3::ParamID>(i));
    EXPECT_EQ(vst3host::Utf8(info.title), expected[i].title);
    EXPECT_EQ(info.stepCount, expected[i].steps) << i;
    EXPECT_EQ(info.flags, expected[i].flags) << i;
  }
  EXPECT_EQ(Display(controller, Amount, 0.0), "0.00");
  for (const auto& [typed, shown] : {std::pair<const char*, const char*>{"50", "50.00"},
                                     {"12.345", "12.35"},
                                     {"99.99", "99.99"},
                                     {"33.3", "33.30"},
                                     {"150", "99.99"},
                                     {"junk", "0.00"}}) {
    EXPECT_EQ(Display(controller, Amount, Typed(controller, Amount, typed)), shown) << typed;
  }
  EXPECT_EQ(Display(controller, KelbaEnabled, 0.49), "0");
  EXPECT_EQ(Display(controller, KelbaEnabled, 0.5), "1");
  EXPECT_EQ(Display(controller, Program, 0.5), "Dirty");
  EXPECT_EQ(Display(controller, Bypass, 1.0), "On");
  EXPECT_DOUBLE_EQ(Typed(controller, Program, "Dirtier"), 0.75);
  const char* names[] = {"Default", "Kinda Clean", "Dirty", "Dirtier", "Is it still music???"};
  for (int program = 0; program < FactoryPrograms; ++program) {
    EXPECT_EQ(ProgramName(controller, program), names[program]);
  }
  // Selecting a program sets the amount and switches the animation off, as in VST 2.
  controller->setParamNormalized(KelbaEnabled, 1.0);
  controller->setParamNormalized(Program, 0.75);
  EXPECT_EQ(Display(controller, Amount, controller->getParamNormalized(Amount)), "80.00");
  EXPECT_EQ(controller->getParamNormalized(KelbaEnabled), 0.0);
}

// Single precision gives the VST 2 build's fingerprint. A normalised double cannot carry every
// amount (no n gives n x 99.99 = 12.5 exactly), so in double precision each amount the VST 3
// host can set is given to the VST 2 build as typed text and the two must agree bit for bit.
TEST(Vst3Module, SamplesAreTheVst2BuildsInBothPrecisions) {
  EXPECT_EQ(Vst3FloatFingerprint(), 15454764501567864496ull);

  Instance host(SampleRate, BlockFrames, vst3::kSample64);
  TestHost vst2;
  vst2.Start(BlockFrames);
  for (const char* amount : FingerprintAmounts) {
    const double normalized = Typed(host.controller, Amount, amount);
    host.changes.Add(Amount, 0, normalized);
    char plain[64];
    std::snprintf(plain, sizeof(plain), "%.17g",
                  host.controller->normalizedParamToPlain(Amount, normalized));
    vst2.Dispatch(effString2Parameter, 0, 0, plain);
    StereoBuffers<double> ours(FingerprintFrames);
    StereoBuffers<double> theirs(FingerprintFrames);
    ours.left = theirs.left = FingerprintSignal<double>(FingerprintFrames, 1);
    ours.right = theirs.right = FingerprintSignal<double>(FingerprintFrames, 2);
    host.Process64(ours.Inputs(), ours.Outputs(), FingerprintFrames);
    vst2.effect->processDoubleReplacing(vst2.effect, theirs.Inputs(), theirs.Outputs(),
                                        FingerprintFrames);
    EXPECT_EQ(ours.outLeft, theirs.outLeft) << amount;
    EXPECT_EQ(ours.outRight, theirs.outRight) << amount;
  }
}

// Hosts move projects between systems: every build saves the same bytes for the same state.
TEST(Vst3Module, StateBytesAreTheSameOnEveryBuild) {
  Instance host(SampleRate, BlockFrames);
  host.changes.Add(Amount, 0, Typed(host.controller, Amount, "37.5"));
  host.changes.Add(Bypass, 0, 1.0);
  ASSERT_EQ(host.Flush(), vst3::kResultOk);
  Fingerprint state;
  state.Add(host.SaveState());
  EXPECT_EQ(state.hash, 1897912687902310930ull);
}

// Points split the block at their frames; of two at one frame the later wins. A flush (no
// samples, no buffers) applies its points and touches no audio.
TEST(Vst3Module, ParameterChangesApplyAtTheirFramesAndInAFlush) {
  Instance host(SampleRate, 256);
  constexpr int Frames = 600;
  StereoBuffers<float> buffers(Frames);
  buffers.left = TestSignal(Frames, 3);
  buffers.right = TestSignal(Frames, 4);
  const double at300 = Typed(host.controller, Amount, "20");
  host.changes.Add(Amount, 100, Typed(host.controller, Amount, "50"));
  host.changes.Add(Amount, 300, Typed(host.controller, Amount, "90"));
  host.changes.Add(Amount, 300, at300);
  ASSERT_EQ(host.Process(buffers.Inputs(), buffers.Outputs(), Frames), vst3::kResultOk);
  for (int i = 0; i < Frames; ++i) {
    const double amount = i < 100 ? 0.0 : i < 300 ? 50.0 : 20.0;
    ASSERT_EQ(buffers.outLeft[i], ReferenceClip(buffers.left[i], amount)) << i;
    ASSERT_EQ(buffers.outRight[i], ReferenceClip(buffers.right[i], amount)) << i;
  }
  host.changes.Add(Amount, 0, Typed(host.controller, Amount, "80"));
  EXPECT_EQ(host.Flush(), vst3::kResultOk);
  host.Process(buffers.Inputs(), buffers.Outputs(), Frames);
  EXPECT_EQ(buffers.outLeft[7], ReferenceClip(buffers.left[7], 80.0));
}

TEST(Vst3Module, OutputSilenceFlagsSayWhatTheOutputIs) {
  Instance host(SampleRate, BlockFrames);
  vst3::AudioBusBuffers in{};
  vst3::AudioBusBuffers out{};
  StereoBuffers<float> silent(64);
  in.numChannels = out.numChannels = 2;
  in.channelBuffers32 = silent.Inputs();
  out.channelBuffers32 = silent.Outputs();
  out.silenceFlags = 0;
  vst3::ProcessData data{};
  data.numSamples = 64;
  data.numInputs = data.numOutputs = 1;
  data.inputs = &in;
  data.outputs = &out;
  ASSERT_EQ(host.audio->process(&data), vst3::kResultOk);
  EXPECT_EQ(out.silenceFlags, 3u);
  // A channel the host flags silent reads as silence, whatever its buffer holds.
  std::fill(silent.left.begin(), silent.left.end(), 0.5f);
  std::fill(silent.right.begin(), silent.right.end(), 0.5f);
  in.silenceFlags = 1;
  ASSERT_EQ(host.audio->process(&data), vst3::kResultOk);
  EXPECT_EQ(out.silenceFlags, 1u);
  EXPECT_EQ(silent.outLeft[10], 0.0f);
  EXPECT_EQ(silent.outRight[10], 0.5f);
}

// The bypass carries the input through unchanged once its fade is over, without a step on the
// way; it is not a program's, so switching programs keeps it, and the state keeps it.
TEST(Vst3Module, BypassPassesTheInputThroughAfterAFade) {
  Instance host(SampleRate, BlockFrames);
  constexpr int Frames = 1024;
  StereoBuffers<float> buffers(Frames);
  std::fill(buffers.left.begin(), buffers.left.end(), 0.9f);
  std::fill(buffers.right.begin(), buffers.right.end(), -0.9f);
  host.changes.Add(Amount, 0, Typed(host.controller, Amount, "50"));
  host.Process(buffers.Inputs(), buffers.Outputs(), Frames);
  ASSERT_EQ(buffers.outLeft[0], 1.0f);
  host.changes.Add(Bypass, 0, 1.0);
  host.Process(buffers.Inputs(), buffers.Outputs(), Frames);
  for (int i = 1; i < Frames; ++i) {
    ASSERT_LE(std::fabs(buffers.outLeft[i] - buffers.outLeft[i - 1]), 0.01f) << i;
  }
  EXPECT_EQ(buffers.outLeft.back(), 0.9f);
  host.changes.Add(Program, 0, 0.5);
  host.Process(buffers.Inputs(), buffers.Outputs(), Frames);
  EXPECT_EQ(buffers.outRight.front(), -0.9f);
  EXPECT_EQ(buffers.outRight.back(), -0.9f);

  Instance fresh(SampleRate, BlockFrames);
  ASSERT_EQ(fresh.LoadState(host.SaveState()), vst3::kResultOk);
  EXPECT_EQ(fresh.controller->getParamNormalized(Bypass), 1.0);
  fresh.Process(buffers.Inputs(), buffers.Outputs(), Frames);
  EXPECT_EQ(buffers.outLeft.back(), 0.9f);
}

// What a host that replaced the VST 2 build hands over: its wrapper and bank, a bank without the
// wrapper (either version), a single program. Another plug-in's bytes change nothing.
TEST(Vst3Module, Vst2ProjectsLoadTheirProgramsAndCurrentProgram) {
  const std::vector<std::vector<float>> values = {{0.1f, 1.0f, 0.0f},
                                                  {0.2f, 0.0f, 1.0f},
                                                  {0.3f, 0.0f, 0.0f},
                                                  {0.4f, 1.0f, 0.0f},
                                                  {0.5f, 0.0f, 0.0f}};
  auto bank = [&values](bool wrapper, int version, int current, uint32_t id) {
    Vst2Project project;
    if (wrapper) {
      project.Wrapper(true);
    }
    project.BankHeader(version, FactoryPrograms, current, id);
    for (int p = 0; p < FactoryPrograms; ++p) {
      project.ProgramRecord(("Mine " + std::to_string(p)).c_str(), values[p], id);
    }
    return project.bytes;
  };
  {
    Instance host(SampleRate, BlockFrames);
    const std::vector<uint8_t> cubase = bank(true, 2, 3, 0x49706566);
    ASSERT_EQ(cubase.size(), 512u);
    ASSERT_EQ(host.LoadState(cubase), vst3::kResultOk);
    EXPECT_EQ(ProgramName(host.controller, 4), "Mine 4");
    EXPECT_EQ(host.controller->getParamNormalized(Program), 0.75);
    EXPECT_EQ(host.controller->getParamNormalized(KelbaEnabled), 1.0);
    EXPECT_EQ(host.controller->getParamNormalized(Bypass), 1.0);
    EXPECT_EQ(Display(host.controller, Amount, host.controller->getParamNormalized(Amount)),
              Display(host.controller, Amount, 0.4));
    // Its own state replaces the project's bytes, and says which it is.
    const std::vector<uint8_t> own = host.SaveState();
    ASSERT_GE(own.size(), 4u);
    EXPECT_NE(std::string(own.begin(), own.begin() + 4), "VstW");
    EXPECT_NE(std::string(own.begin(), own.begin() + 4), "CcnK");

    const std::vector<uint8_t> before = host.SaveState();
    EXPECT_EQ(host.LoadState(bank(true, 2, 1, 0x41424344)), vst3::kResultFalse);
    std::vector<uint8_t> cut = cubase;
    cut.resize(cut.size() - 3);
    EXPECT_EQ(host.LoadState(cut), vst3::kResultFalse);
    EXPECT_EQ(host.SaveState(), before);
  }
  {
    Instance host(SampleRate, BlockFrames);
    ASSERT_EQ(host.LoadState(bank(false, 1, 4, 0x49706566)), vst3::kResultOk);
    EXPECT_EQ(host.controller->getParamNormalized(Program), 0.0);
    EXPECT_EQ(ProgramName(host.controller, 0), "Mine 0");
    EXPECT_EQ(host.controller->getParamNormalized(Bypass), 0.0);
  }
  {
    Instance host(SampleRate, BlockFrames);
    Vst2Project program;
    program.ProgramRecord("Alone", {0.7f, 0.0f, 1.0f});
    ASSERT_EQ(host.LoadState(program.bytes), vst3::kResultOk);
    EXPECT_EQ(ProgramName(host.controller, 0), "Alone");
    EXPECT_EQ(ProgramName(host.controller, 1), "Kinda Clean");
    EXPECT_EQ(host.controller->getParamNormalized(Kelba), 1.0);
  }
}
