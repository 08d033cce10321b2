// The editor's first open in a fresh process, as a user opening Ombrix's window pays it:
// effEditOpen into a real X11 window and the first effEditIdle, which paints and syncs the first
// picture; timed, with the resident memory they add. With --sweep the knob then goes through all
// 480 frames, one redraw tick (40 ms apart) each, timing every tick and measuring the memory at
// the end. Each measurement runs in a process of its own (the program starts itself again); the
// medians are written as JSON for scripts/bench_table.py. Needs an X server (DISPLAY). With
// --scale S the server's Xft.dpi says S x 96 first, as a desktop at S x 100 % does, and the
// Linux VST 2 editor opens at that scale.
// Usage: ombrix_editor_probe MODULE.so [--scale S] [--repetitions N] [--out FILE]
//        ombrix_editor_probe MODULE.so --once [--sweep] [--scale S]   (one measurement, one line)

#include "vst2/VstAbi.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <dlfcn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {
constexpr int kEditorWidth = 560;
constexpr int kEditorHeight = 400;
constexpr int kKnobFrames = 480;
// A little over the editor's 40 ms redraw tick, so every idle of the sweep draws.
constexpr std::chrono::milliseconds kTickSpacing(41);
constexpr double kUnscaledDotsPerInch = 96.0;

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

double CpuNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return now.tv_sec * 1e9 + now.tv_nsec;
}

double Median(std::vector<double> values) {
  if (values.empty()) {
    return 0;
  }
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// One line: first picture (wall, processor ns), resident bytes it added; with the sweep, the
// median and longest tick (ns) and the resident bytes added at its end, otherwise zeros.
int MeasureOnce(const char* module, bool sweep, double scale) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "no X server (DISPLAY)\n");
    return 1;
  }
  // The editor's own connection reads it when it opens. It replaces the server's resources:
  // scripts/bench gives a scaled probe an X server of its own.
  if (scale != 1.0) {
    const std::string resources =
        "Xft.dpi:\t" + std::to_string(static_cast<int>(scale * kUnscaledDotsPerInch)) + "\n";
    XChangeProperty(display, DefaultRootWindow(display), XA_RESOURCE_MANAGER, XA_STRING, 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(resources.data()),
                    static_cast<int>(resources.size()));
  }
  const Window parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0,
                                            static_cast<unsigned>(kEditorWidth * scale),
                                            static_cast<unsigned>(kEditorHeight * scale), 0, 0, 0);
  XMapWindow(display, parent);
  XSync(display, False);
  void* library = dlopen(module, RTLD_NOW | RTLD_LOCAL);
  auto* entry =
      library ? reinterpret_cast<VstPluginMainProc>(dlsym(library, "VSTPluginMain")) : nullptr;
  AEffect* effect = entry ? entry(Host) : nullptr;
  if (!effect) {
    std::fprintf(stderr, "cannot load %s\n", module);
    return 1;
  }
  effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
  const long before = ResidentBytes();
  const double cpuStart = CpuNanoseconds();
  const auto start = std::chrono::steady_clock::now();
  void* window = reinterpret_cast<void*>(static_cast<std::uintptr_t>(parent));
  if (!effect->dispatcher(effect, effEditOpen, 0, 0, window, 0.0f)) {
    std::fprintf(stderr, "the editor did not open\n");
    return 1;
  }
  effect->dispatcher(effect, effEditIdle, 0, 0, nullptr, 0.0f);
  const auto end = std::chrono::steady_clock::now();
  const double cpuEnd = CpuNanoseconds();
  const long opened = ResidentBytes();

  std::vector<double> ticks;
  long swept = 0;
  if (sweep) {
    auto lastTick = end;
    for (int frame = 0; frame < kKnobFrames; ++frame) {
      effect->setParameter(effect, 0, static_cast<float>(frame) / (kKnobFrames - 1));
      std::this_thread::sleep_until(lastTick + kTickSpacing);
      lastTick = std::chrono::steady_clock::now();
      effect->dispatcher(effect, effEditIdle, 0, 0, nullptr, 0.0f);
      ticks.push_back(
          std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - lastTick)
              .count());
    }
    swept = ResidentBytes() - before;
  }
  std::printf("%.0f %.0f %ld %.0f %.0f %ld\n",
              std::chrono::duration<double, std::nano>(end - start).count(), cpuEnd - cpuStart,
              opened - before, Median(ticks),
              ticks.empty() ? 0.0 : *std::max_element(ticks.begin(), ticks.end()), swept);
  effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0.0f);
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  XDestroyWindow(display, parent);
  XCloseDisplay(display);
  return 0;
}

struct Measurement {
  double values[6] = {};
};

bool MeasureInChild(const char* module, bool sweep, const char* scale, Measurement* out) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) {
    return false;
  }
  const char* self = "/proc/self/exe";
  const pid_t child = fork();
  if (child == 0) {
    dup2(pipeEnds[1], STDOUT_FILENO);
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    execl(self, self, module, "--once", sweep ? "--sweep" : "--no-sweep", "--scale", scale,
          static_cast<char*>(nullptr));
    _exit(127);
  }
  close(pipeEnds[1]);
  char line[256] = {};
  const ssize_t got = child > 0 ? read(pipeEnds[0], line, sizeof line - 1) : -1;
  close(pipeEnds[0]);
  int status = 0;
  if (child > 0) {
    waitpid(child, &status, 0);
  }
  double* v = out->values;
  return got > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0 &&
         std::sscanf(line, "%lf %lf %lf %lf %lf %lf", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]) ==
             6;
}
} // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr,
                 "usage: %s MODULE.so [--scale S] [--repetitions N] [--out FILE] | --once "
                 "[--sweep] [--scale S]\n",
                 argv[0]);
    return 2;
  }
  const char* module = argv[1];
  int repetitions = 15;
  const char* outPath = nullptr;
  const char* scale = "1";
  bool once = false;
  bool sweepOnce = false;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--once") == 0) {
      once = true;
    } else if (std::strcmp(argv[i], "--sweep") == 0) {
      sweepOnce = true;
    } else if (std::strcmp(argv[i], "--scale") == 0 && i + 1 < argc) {
      scale = argv[++i];
    } else if (std::strcmp(argv[i], "--repetitions") == 0 && i + 1 < argc) {
      repetitions = std::max(1, std::atoi(argv[++i]));
    } else if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) {
      outPath = argv[++i];
    }
  }
  const double scaleValue = std::atof(scale);
  if (!(scaleValue >= 1.0 && scaleValue <= 2.0)) {
    std::fprintf(stderr, "the scale must be 1 to 2\n");
    return 2;
  }
  if (once) {
    return MeasureOnce(module, sweepOnce, scaleValue);
  }
  std::vector<double> firstPicture;
  std::vector<double> firstPictureCpu;
  std::vector<double> opened;
  for (int i = 0; i < repetitions; ++i) {
    Measurement m;
    if (!MeasureInChild(module, false, scale, &m)) {
      std::fprintf(stderr, "measurement %d failed\n", i);
      return 1;
    }
    firstPicture.push_back(m.values[0]);
    firstPictureCpu.push_back(m.values[1]);
    opened.push_back(m.values[2]);
  }
  // One sweep: 480 ticks at the editor's own rate take about 20 seconds.
  Measurement sweep;
  if (!MeasureInChild(module, true, scale, &sweep)) {
    std::fprintf(stderr, "the sweep failed\n");
    return 1;
  }
  char json[512];
  std::snprintf(json, sizeof json,
                "{\"module\": \"%s\", \"scale\": %s, \"repetitions\": %d, "
                "\"first_picture_ns\": %.0f, "
                "\"first_picture_cpu_ns\": %.0f, \"resident_added_bytes\": %.0f, "
                "\"sweep_tick_median_ns\": %.0f, \"sweep_tick_max_ns\": %.0f, "
                "\"sweep_resident_added_bytes\": %.0f}\n",
                module, scale, repetitions, Median(firstPicture), Median(firstPictureCpu),
                Median(opened), sweep.values[3], sweep.values[4], sweep.values[5]);
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
