#include "fuzz/ResetCheck.h"

#include "fuzz/FuzzCheck.h"

#include <cstdio>
#include <cstdlib>

namespace {
constexpr char ArtifactPrefixFlag[] = "-artifact_prefix=";
constexpr char LeftoverName[] = "reset-leftover-input";

std::string& LeftoverFile() {
  static std::string file = LeftoverName;
  return file;
}

long CheckIntervalFromEnvironment() {
  const char* text = std::getenv("OMBRIX_FUZZ_CHECK_EVERY");
  const long interval = text ? std::strtol(text, nullptr, 10) : 0;
  return interval > 0 ? interval : ResetCheck::DefaultCheckInterval;
}
} // namespace

ResetCheck::ResetCheck() : interval(CheckIntervalFromEnvironment()) {}

void ResetCheck::TakeArtifactPrefix(int argc, char** argv) {
  const std::string flag = ArtifactPrefixFlag;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument.compare(0, flag.size(), flag) == 0) {
      LeftoverFile() = argument.substr(flag.size()) + LeftoverName;
    }
  }
}

void ResetCheck::FailOnDifference(const std::string& difference, const uint8_t* input,
                                  size_t size) {
  if (difference.empty()) {
    return;
  }
  if (std::FILE* file = std::fopen(LeftoverFile().c_str(), "wb")) {
    std::fwrite(input, 1, size, file);
    std::fclose(file);
  }
  std::fprintf(
      stderr,
      "the reset plug-in differs from a new one in %s; the input before the reset is in %s "
      "(with OMBRIX_FUZZ_CHECK_EVERY=1 it is the one that left that behind)\n",
      difference.c_str(), LeftoverFile().c_str());
  FuzzCheck(false, "a reset plug-in looks like a new one");
}
