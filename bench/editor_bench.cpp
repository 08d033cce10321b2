#include "editor/Control.h"
#include "editor/Editor.h"
#include "vst2/PluginEntry.h"

#include <benchmark/benchmark.h>

// Figures read against the redraw tick: the editor redraws everything 25 times a second, so one
// pass has 40 ms.

namespace {
VstIntPtr VSTCALLBACK QuietHost(AEffect*, VstInt32, VstInt32, VstIntPtr, void*, float) {
  return 0;
}

IEditor* EditorOf(IVst2Plugin* plugin) {
  return dynamic_cast<IEditor*>(plugin->Editor());
}

// One tick's pass over the whole editor: the meters ask for every tick and cover it all, so the
// dirty area is always the full 560 x 400. The knob turns and one picture is shown, as in use.
void BM_FullRedraw(benchmark::State& state) {
  IVst2Plugin* plugin = CreateEffect(QuietHost);
  IEditor* editor = EditorOf(plugin);
  editor->Control(21)->ShowValue(0.6);
  editor->Control(22)->ShowValue(state.range(0) != 0 ? 1.0 : 0.0);
  int tick = 0;
  for (auto _ : state) {
    for (int meter = 1; meter <= 12; ++meter) {
      editor->Control(meter)->ShowValue(0.1 * ((tick + meter) % 10));
    }
    ++tick;
    benchmark::DoNotOptimize(editor->RedrawRect(editor->DirtyArea()));
  }
  delete plugin;
}
BENCHMARK(BM_FullRedraw)->Arg(0)->Arg(1)->ArgName("picture")->Unit(benchmark::kMillisecond);

// A second instance finds every image in the process-wide cache and decodes nothing.
void BM_SecondInstanceConstruction(benchmark::State& state) {
  IVst2Plugin* first = CreateEffect(QuietHost);
  for (auto _ : state) {
    IVst2Plugin* second = CreateEffect(QuietHost);
    benchmark::DoNotOptimize(second);
    state.PauseTiming();
    delete second;
    state.ResumeTiming();
  }
  delete first;
}
BENCHMARK(BM_SecondInstanceConstruction)->Unit(benchmark::kMicrosecond);
} // namespace
