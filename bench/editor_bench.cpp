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

constexpr int kKnobIndex = 21;
constexpr int kPictureIndex = 22;
constexpr int kFrames = 480;

// Redraw ticks with the meters moving: they ask for every tick and cover the editor, so the
// dirty area is always the whole window. The first pass, which decodes the pictures, is the
// first open's cost, not a tick's.
void RedrawTicks(benchmark::State& state, IEditor* editor) {
  editor->RedrawRect(editor->DirtyArea());
  int tick = 0;
  for (auto _ : state) {
    for (int meter = 1; meter <= 12; ++meter) {
      editor->Control(meter)->ShowValue(0.1 * ((tick + meter) % 10));
    }
    ++tick;
    benchmark::DoNotOptimize(editor->RedrawRect(editor->DirtyArea()));
  }
}

// The knob turned to a frame not drawn before and redrawn: the frames go round all 480, more
// than the frame cache keeps, so every one is new.
void NewKnobFrames(benchmark::State& state, IEditor* editor) {
  IControl* knob = editor->Control(kKnobIndex);
  editor->RedrawRect(editor->DirtyArea());
  int frame = 0;
  for (auto _ : state) {
    frame = (frame + 1) % kFrames;
    knob->ShowValue(static_cast<double>(frame) / (kFrames - 1));
    benchmark::DoNotOptimize(editor->RedrawRect(editor->WindowBounds(knob->Area())));
  }
}

// One tick's pass over the whole editor at 1x; the knob turned and one picture shown, as in use.
void BM_FullRedraw(benchmark::State& state) {
  IVst2Plugin* plugin = CreateEffect(QuietHost);
  IEditor* editor = EditorOf(plugin);
  editor->Control(kKnobIndex)->ShowValue(0.6);
  editor->Control(kPictureIndex)->ShowValue(state.range(0) != 0 ? 1.0 : 0.0);
  RedrawTicks(state, editor);
  delete plugin;
}
BENCHMARK(BM_FullRedraw)->Arg(0)->Arg(1)->ArgName("picture")->Unit(benchmark::kMicrosecond);

// The same tick at a scale (in percent) against the tick at 1x: twice as many pixels each way at
// 2x, from the 2x pictures; at 150 % from the 2x pictures resampled once.
void BM_FullRedrawAtScale(benchmark::State& state) {
  IVst2Plugin* plugin = CreateEffect(QuietHost);
  IEditor* editor = EditorOf(plugin);
  editor->SetScale(state.range(0) / 100.0);
  editor->Control(kKnobIndex)->ShowValue(0.6);
  RedrawTicks(state, editor);
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

// A new knob frame: its segment decoded and blended.
void BM_KnobNewFrame(benchmark::State& state) {
  IVst2Plugin* plugin = CreateEffect(QuietHost);
  NewKnobFrames(state, EditorOf(plugin));
  delete plugin;
}
BENCHMARK(BM_KnobNewFrame)->Unit(benchmark::kMicrosecond);

// The same at a scale: the frame's 2x segment decoded, and at 150 % resampled too.
void BM_KnobNewFrameAtScale(benchmark::State& state) {
  IVst2Plugin* plugin = CreateEffect(QuietHost);
  IEditor* editor = EditorOf(plugin);
  editor->SetScale(state.range(0) / 100.0);
  NewKnobFrames(state, editor);
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
