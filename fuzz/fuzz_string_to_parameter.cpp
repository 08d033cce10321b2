// effString2Parameter with texts from the fuzzer. Input: one byte choosing the parameter
// (taken as a signed index, so invalid ones come too), then the text (cut at its first zero).
#include "fuzz/FuzzBytes.h"
#include "fuzz/FuzzChecks.h"
#include "fuzz/FuzzHost.h"
#include "fuzz/ReusedPlugin.h"

#include <string>

namespace {
constexpr int BlockFrames = 64;
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzBytes bytes(data, size);
  const int index = bytes.Take<int8_t>();
  const std::vector<uint8_t> rest = bytes.TakeRest();
  const std::string text(rest.begin(), rest.end());

  static ReusedPlugin plugin(BlockFrames);
  ReusedPlugin::Loan loan(plugin, data, size);
  FuzzHost& host = loan.Host();
  const VstIntPtr taken =
      host.Dispatch(effString2Parameter, index, 0, const_cast<char*>(text.c_str()));
  FuzzCheck(taken == 0 || taken == 1, "the answer is a yes or a no");
  FuzzCheck(taken == 0 || (index >= 0 && index < host.effect->numParams),
            "only a parameter that exists takes a text");
  CheckPluginSane(host);
  return 0;
}
