// Start-up of a VST 2 module in a fresh process, as a host's scan or a command-line render pays
// it: dlopen, VSTPluginMain and effOpen of the first instance, timed, with the resident memory
// they add. Each measurement runs in a process of its own (the program starts itself again), and
// the medians of the repetitions are written as JSON for scripts/bench_table.py.
// Usage: ombrix_startup_probe MODULE.so [--repetitions N] [--out FILE]
//        ombrix_startup_probe MODULE.so --once   (one measurement, printed as one line)

#include "bench/FreshProcess.h"
#include "vst2/VstAbi.h"

#include <dlfcn.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {
int MeasureOnce(const char* module) {
  const long before = ResidentBytes();
  const double cpuStart = CpuNanoseconds();
  const auto start = std::chrono::steady_clock::now();
  void* library = dlopen(module, RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    std::fprintf(stderr, "cannot load %s: %s\n", module, dlerror());
    return 1;
  }
  auto* entry = reinterpret_cast<VstPluginMainProc>(dlsym(library, "VSTPluginMain"));
  AEffect* effect = entry ? entry(ProbeHost) : nullptr;
  if (!effect) {
    std::fprintf(stderr, "%s made no effect\n", module);
    return 1;
  }
  effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
  const auto end = std::chrono::steady_clock::now();
  const double cpuEnd = CpuNanoseconds();
  const long after = ResidentBytes();
  std::printf("%.0f %.0f %ld %ld\n", std::chrono::duration<double, std::nano>(end - start).count(),
              cpuEnd - cpuStart, after - before, after);
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  return 0;
}

} // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s MODULE.so [--repetitions N] [--out FILE] | --once\n", argv[0]);
    return 2;
  }
  const char* module = argv[1];
  int repetitions = 15;
  const char* outPath = nullptr;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--once") == 0) {
      return MeasureOnce(module);
    }
    if (std::strcmp(argv[i], "--repetitions") == 0 && i + 1 < argc) {
      repetitions = std::max(1, std::atoi(argv[++i]));
    } else if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) {
      outPath = argv[++i];
    }
  }
  std::vector<double> times;
  std::vector<double> cpuTimes;
  std::vector<double> growths;
  std::vector<double> residents;
  for (int i = 0; i < repetitions; ++i) {
    std::vector<double> m;
    if (!MeasureInFreshProcess({module, "--once"}, 4, &m)) {
      std::fprintf(stderr, "measurement %d failed\n", i);
      return 1;
    }
    times.push_back(m[0]);
    cpuTimes.push_back(m[1]);
    growths.push_back(m[2]);
    residents.push_back(m[3]);
  }
  char json[512];
  std::snprintf(json, sizeof json,
                "{\"module\": \"%s\", \"repetitions\": %d, \"startup_ns\": %.0f, "
                "\"startup_cpu_ns\": %.0f, \"resident_growth_bytes\": %.0f, "
                "\"resident_bytes\": %.0f}\n",
                module, repetitions, Median(times), Median(cpuTimes), Median(growths),
                Median(residents));
  if (!ReportJson(json, outPath)) {
    return 1;
  }
  return 0;
}
