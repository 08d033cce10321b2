// Start-up of a VST 2 module in a fresh process, as a host's scan or a command-line render pays
// it: dlopen, VSTPluginMain and effOpen of the first instance, timed, with the resident memory
// they add. Each measurement runs in a process of its own (the program starts itself again), and
// the medians of the repetitions are written as JSON for scripts/bench_table.py.
// Usage: ombrix_startup_probe MODULE.so [--repetitions N] [--out FILE]
//        ombrix_startup_probe MODULE.so --once   (one measurement, printed as one line)

#include "vst2/VstAbi.h"

#include <dlfcn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {
VstIntPtr VSTCALLBACK Host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

long ResidentBytes() {
  long pages = 0;
  long resident = 0;
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  if (!statm) {
    return -1;
  }
  const int read = std::fscanf(statm, "%ld %ld", &pages, &resident);
  std::fclose(statm);
  return read == 2 ? resident * sysconf(_SC_PAGESIZE) : -1;
}

// The CPU time this process has used: on a loaded machine the wall-clock time also counts the
// time other processes held the processor.
double CpuNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return now.tv_sec * 1e9 + now.tv_nsec;
}

struct Measurement {
  double nanoseconds = 0;
  double cpuNanoseconds = 0;
  double residentGrowth = 0;
  double residentAfter = 0;
};

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
  AEffect* effect = entry ? entry(Host) : nullptr;
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

bool MeasureInChild(const char* self, const char* module, Measurement* out) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) {
    return false;
  }
  const pid_t child = fork();
  if (child == 0) {
    dup2(pipeEnds[1], STDOUT_FILENO);
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    execl(self, self, module, "--once", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(pipeEnds[1]);
  char line[128] = {};
  const ssize_t got = child > 0 ? read(pipeEnds[0], line, sizeof line - 1) : -1;
  close(pipeEnds[0]);
  int status = 0;
  if (child > 0) {
    waitpid(child, &status, 0);
  }
  return got > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0 &&
         std::sscanf(line, "%lf %lf %lf %lf", &out->nanoseconds, &out->cpuNanoseconds,
                     &out->residentGrowth, &out->residentAfter) == 4;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
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
    Measurement m;
    if (!MeasureInChild("/proc/self/exe", module, &m)) {
      std::fprintf(stderr, "measurement %d failed\n", i);
      return 1;
    }
    times.push_back(m.nanoseconds);
    cpuTimes.push_back(m.cpuNanoseconds);
    growths.push_back(m.residentGrowth);
    residents.push_back(m.residentAfter);
  }
  char json[512];
  std::snprintf(json, sizeof json,
                "{\"module\": \"%s\", \"repetitions\": %d, \"startup_ns\": %.0f, "
                "\"startup_cpu_ns\": %.0f, \"resident_growth_bytes\": %.0f, "
                "\"resident_bytes\": %.0f}\n",
                module, repetitions, Median(times), Median(cpuTimes), Median(growths),
                Median(residents));
  std::fputs(json, stdout);
  if (outPath) {
    std::FILE* out = std::fopen(outPath, "w");
    if (!out || std::fputs(json, out) < 0 || std::fclose(out) != 0) {
      std::fprintf(stderr, "cannot write %s\n", outPath);
      return 1;
    }
  }
  return 0;
}
