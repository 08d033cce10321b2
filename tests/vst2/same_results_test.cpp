#include "tests/support/Fingerprint.h"
#include "tests/vst2/TestHost.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// Every build (Linux, 64-bit and 32-bit Windows) must give the same texts, audio and state
// blocks bit for bit: hosts move projects between them. The expected fingerprints below are
// the same constants for every build, so a build computing differently (the x87 unit's extended
// precision, a fused multiply-add) fails here.
namespace {
template <typename Sample> uint64_t ProcessedFingerprint() {
  TestHost host;
  host.Start();
  Fingerprint fingerprint;
  for (const char* amount : {"0", "12.5", "50", "80", "99.99", "33.33"}) {
    char text[64];
    std::strcpy(text, amount);
    host.Dispatch(effString2Parameter, 0, 0, text);
    constexpr int frames = 700;
    StereoBuffers<Sample> buffers(frames);
    buffers.left = FingerprintSignal<Sample>(frames, 1);
    buffers.right = FingerprintSignal<Sample>(frames, 2);
    if constexpr (sizeof(Sample) == sizeof(double)) {
      host.effect->processDoubleReplacing(host.effect, buffers.Inputs(), buffers.Outputs(), frames);
    } else {
      host.effect->processReplacing(host.effect, buffers.Inputs(), buffers.Outputs(), frames);
    }
    fingerprint.Add(buffers.outLeft);
    fingerprint.Add(buffers.outRight);
  }
  return fingerprint.hash;
}
} // namespace

TEST(SameResultsOnEveryBuild, DisplayTextsOfTheAmount) {
  TestHost host;
  host.Start();
  EXPECT_EQ(host.Text(effGetParamDisplay, 0), "0.00");
  const std::vector<std::pair<std::string, std::string>> cases = {{"50", "50.00"},
                                                                  {"12.345", "12.35"},
                                                                  {"99.99", "99.99"},
                                                                  {"0.01", "0.01"},
                                                                  {"33.3", "33.30"}};
  for (const auto& [entered, shown] : cases) {
    char text[64];
    std::strcpy(text, entered.c_str());
    host.Dispatch(effString2Parameter, 0, 0, text);
    EXPECT_EQ(host.Text(effGetParamDisplay, 0), shown) << entered;
  }
  for (int program = 0; program < 5; ++program) {
    host.Dispatch(effSetProgram, 0, program);
    const std::string shown = host.Text(effGetParamDisplay, 0);
    ASSERT_EQ(shown.size() - shown.find('.'), 3u) << "two decimals, not " << shown;
  }
}

TEST(SameResultsOnEveryBuild, ClippedAudioInBothPrecisions) {
  EXPECT_EQ(ProcessedFingerprint<double>(), 1803818742489766219ull);
  EXPECT_EQ(ProcessedFingerprint<float>(), 15454764501567864496ull);
}

TEST(SameResultsOnEveryBuild, StateBlocks) {
  TestHost host;
  host.Start();
  char text[64] = "37.5";
  host.Dispatch(effString2Parameter, 0, 0, text);
  Fingerprint program;
  program.Add(host.SaveChunk(true));
  Fingerprint bank;
  bank.Add(host.SaveChunk(false));
  EXPECT_EQ(program.hash, 1577755115994030195ull);
  EXPECT_EQ(bank.hash, 10568815906804711534ull);
}
