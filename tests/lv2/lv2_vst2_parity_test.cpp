// The same settings, input and MIDI give the same samples from the LV2 bundle as from the VST 2
// build's single-precision path.
#include "tests/lv2/Lv2TestHost.h"
#include "tests/support/EffectHost.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cmath>
#include <vector>

namespace {
constexpr int Frames = 512;
constexpr uint8_t ControlChange = 0xB0;
constexpr uint8_t AmountController = 69;

VstIntPtr VSTCALLBACK SilentHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

// The VST 2 module opened as a host opens it, set up for blocks of Frames.
class Vst2Instance : public EffectHost {
public:
  Vst2Instance() {
    module = dlopen(OMBRIX_VST2_FILE, RTLD_NOW | RTLD_LOCAL);
    auto entry =
        module ? reinterpret_cast<VstPluginMainProc>(dlsym(module, "VSTPluginMain")) : nullptr;
    effect = entry ? entry(SilentHost) : nullptr;
    if (effect) {
      Start(Frames);
    }
  }
  ~Vst2Instance() {
    if (effect) {
      Dispatch(effMainsChanged, 0, 0);
      Dispatch(effClose);
    }
    if (module) {
      dlclose(module);
    }
  }
  bool Ready() const { return effect != nullptr; }

  // The value as a host types it: taken exactly, as a port's value is.
  void SetAmount(const char* text) { Dispatch(effString2Parameter, 0, 0, const_cast<char*>(text)); }
  void Process(std::vector<float>& left, std::vector<float>& right, std::vector<float>& outLeft,
               std::vector<float>& outRight) {
    float* in[2] = {left.data(), right.data()};
    float* out[2] = {outLeft.data(), outRight.data()};
    effect->processReplacing(effect, in, out, static_cast<VstInt32>(left.size()));
  }

private:
  void* module = nullptr;
};

std::vector<float> Signal(float amplitude, float phase) {
  std::vector<float> samples(Frames);
  for (int i = 0; i < Frames; ++i) {
    samples[static_cast<size_t>(i)] = amplitude * static_cast<float>(std::sin(0.05 * i + phase));
  }
  return samples;
}
} // namespace

TEST(Lv2Vst2Parity, SameAmountsAndControllerGiveTheSameSamples) {
  for (const char* amount : {"0", "20", "50", "80", "99.99"}) {
    SCOPED_TRACE(amount);
    Vst2Instance vst2;
    ASSERT_TRUE(vst2.Ready());
    TestInstance lv2(Frames);
    vst2.SetAmount(amount);
    lv2.SetControl("amount_of_distortion", std::stof(amount));

    std::vector<float> left = Signal(1.2f, 0.0f);
    std::vector<float> right = Signal(0.7f, 1.0f);
    std::vector<float> outLeft(Frames);
    std::vector<float> outRight(Frames);
    for (int block = 0; block < 3; ++block) {
      // The second block moves the amount with controller 69 at frame 100.
      if (block == 1) {
        vst2.SendEvents({EffectHost::Midi(100, ControlChange, AmountController, 90)});
        lv2.AddMidi(100, {ControlChange, AmountController, 90});
      }
      vst2.Process(left, right, outLeft, outRight);
      lv2.Run(left, right);
      for (int i = 0; i < Frames; ++i) {
        ASSERT_EQ(lv2.Out(0)[i], outLeft[static_cast<size_t>(i)]) << block << ":" << i;
        ASSERT_EQ(lv2.Out(1)[i], outRight[static_cast<size_t>(i)]) << block << ":" << i;
      }
    }
  }
}
