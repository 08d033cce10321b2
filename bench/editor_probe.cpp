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

#include "bench/FreshProcess.h"
#include "vst2/VstAbi.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <dlfcn.h>

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
  AEffect* effect = entry ? entry(ProbeHost) : nullptr;
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

// One measurement in a fresh process: the six numbers MeasureOnce prints.
bool MeasureInChild(const char* module, bool sweep, const char* scale, std::vector<double>* out) {
  return MeasureInFreshProcess(
      {module, "--once", sweep ? "--sweep" : "--no-sweep", "--scale", scale}, 6, out);
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
    std::vector<double> m;
    if (!MeasureInChild(module, false, scale, &m)) {
      std::fprintf(stderr, "measurement %d failed\n", i);
      return 1;
    }
    firstPicture.push_back(m[0]);
    firstPictureCpu.push_back(m[1]);
    opened.push_back(m[2]);
  }
  // One sweep: 480 ticks at the editor's own rate take about 20 seconds.
  std::vector<double> sweep;
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
                Median(opened), sweep[3], sweep[4], sweep[5]);
  if (!ReportJson(json, outPath)) {
    return 1;
  }
  return 0;
}
