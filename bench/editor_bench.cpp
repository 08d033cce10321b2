#include "editor/Control.h"
#include "editor/Editor.h"
#include "raster/RasterSysBitmap.h"
#include "vst2/PluginEntry.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>

// The full redraw read against a plain copy of one editor-sized frame: the least a pass that
// touches every pixel can cost. The editor redraws everything 25 times a second.

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
  // The first pass decodes the pictures; that is the first open's cost, not a tick's.
  editor->RedrawRect(editor->DirtyArea());
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
BENCHMARK(BM_FullRedraw)->Arg(0)->Arg(1)->ArgName("picture")->Unit(benchmark::kMicrosecond);

// The same tick at a scale (in percent) against the tick at 1x: twice as many pixels each way at
// 2x, from the 2x pictures; at 150 % from the 2x pictures resampled once.
void BM_FullRedrawAtScale(benchmark::State& state) {
  IVst2Plugin* plugin = CreateEffect(QuietHost);
  IEditor* editor = EditorOf(plugin);
  editor->SetScale(state.range(0) / 100.0);
  editor->Control(21)->ShowValue(0.6);
  editor->RedrawRect(editor->DirtyArea());
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
BENCHMARK(BM_FullRedrawAtScale)
    ->Arg(150)
    ->Arg(200)
    ->ArgName("percent")
    ->Unit(benchmark::kMicrosecond);

// One 560 x 400 frame copied row by row between two draw bitmaps.
void BM_PlainFrameCopy(benchmark::State& state) {
  RasterSysBitmap src(560, 400);
  RasterSysBitmap dest(560, 400);
  for (int y = 0; y < src.Height(); ++y) {
    for (int x = 0; x < src.Width(); ++x) {
      src.PixelData()[y * src.RowSpan() + x] = static_cast<std::uint32_t>(x * 2654435761u + y);
    }
  }
  for (auto _ : state) {
    for (int y = 0; y < src.Height(); ++y) {
      std::memcpy(dest.PixelData() + y * dest.RowSpan(), src.PixelData() + y * src.RowSpan(),
                  static_cast<std::size_t>(src.Width()) * 4);
    }
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PlainFrameCopy)->Unit(benchmark::kMicrosecond);

// The knob turned to a frame not drawn before and the knob redrawn: the frame's segment decoded
// and blended. The frames go round all 480, more than the frame cache keeps, so every one is new.
void BM_KnobNewFrame(benchmark::State& state) {
  IVst2Plugin* plugin = CreateEffect(QuietHost);
  IEditor* editor = EditorOf(plugin);
  constexpr int kKnobIndex = 21;
  constexpr int kFrames = 480;
  IControl* knob = editor->Control(kKnobIndex);
  editor->RedrawRect(editor->DirtyArea());
  int frame = 0;
  for (auto _ : state) {
    frame = (frame + 1) % kFrames;
    knob->ShowValue(static_cast<double>(frame) / (kFrames - 1));
    benchmark::DoNotOptimize(editor->RedrawRect(knob->Area()));
  }
  delete plugin;
}
BENCHMARK(BM_KnobNewFrame)->Unit(benchmark::kMicrosecond);

// The same at a scale: the frame's 2x segment decoded, and at 150 % resampled too.
void BM_KnobNewFrameAtScale(benchmark::State& state) {
  IVst2Plugin* plugin = CreateEffect(QuietHost);
  IEditor* editor = EditorOf(plugin);
  editor->SetScale(state.range(0) / 100.0);
  constexpr int kKnobIndex = 21;
  constexpr int kFrames = 480;
  IControl* knob = editor->Control(kKnobIndex);
  editor->RedrawRect(editor->DirtyArea());
  int frame = 0;
  for (auto _ : state) {
    frame = (frame + 1) % kFrames;
    knob->ShowValue(static_cast<double>(frame) / (kFrames - 1));
    benchmark::DoNotOptimize(editor->RedrawRect(editor->WindowBounds(knob->Area())));
  }
  delete plugin;
}
BENCHMARK(BM_KnobNewFrameAtScale)
    ->Arg(150)
    ->Arg(200)
    ->ArgName("percent")
    ->Unit(benchmark::kMicrosecond);

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
