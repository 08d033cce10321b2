#include "bench/ClipBaseline.h"
#include "bench/ClipFloor.h"
#include "host/vst2/Vst2Plugin.h"
#include "vst2/PluginEntry.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <vector>

// Figures read as ratios: each processing case against the plain clipper loop (and the copy) of
// the same frames and sample type in the same run, and against other plug-ins' processing
// through the same host.

namespace {
VstTimeInfo playingTime = {};

// A host that answers what the processing asks: MIDI delivered, a running transport.
VstIntPtr VSTCALLBACK BenchHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  switch (opcode) {
  case audioMasterGetTime:
    return reinterpret_cast<VstIntPtr>(&playingTime);
  case audioMasterProcessEvents:
    return 1;
  default:
    return 0;
  }
}

enum class Path { DoubleReplacing, FloatReplacing, FloatAdding };

template <typename Sample> struct Buffers {
  explicit Buffers(int frames) : in(2, std::vector<Sample>(frames)), out(in) {
    for (int i = 0; i < frames; ++i) {
      // A loud sine-like ramp, so the clipper works on most samples.
      in[0][i] = static_cast<Sample>(((i * 37) % 200 - 100) / 60.0);
      in[1][i] = -in[0][i];
    }
    inPointers[0] = in[0].data();
    inPointers[1] = in[1].data();
    outPointers[0] = out[0].data();
    outPointers[1] = out[1].data();
  }
  std::vector<std::vector<Sample>> in, out;
  Sample* inPointers[2];
  Sample* outPointers[2];
};

// Four events a block, as a keyboard and a controller would send them, spread over the block.
struct EventList {
  explicit EventList(int frames) {
    const unsigned char messages[4][3] = {
        {0x90, 60, 100}, {0xB0, 70, 20}, {0x80, 60, 0}, {0xB0, 71, 90}};
    for (int e = 0; e < 4; ++e) {
      std::memset(&events[e], 0, sizeof(VstMidiEvent));
      events[e].type = kVstMidiType;
      events[e].byteSize = sizeof(VstMidiEvent);
      events[e].deltaFrames = e * frames / 4;
      std::memcpy(events[e].midiData, messages[e], 3);
      list.events[e] = reinterpret_cast<VstEvent*>(&events[e]);
    }
    list.numEvents = 4;
  }
  VstMidiEvent events[4];
  struct {
    VstInt32 numEvents;
    VstIntPtr reserved;
    VstEvent* events[4];
  } list = {};
};

AEffect* OpenEffect(int frames) {
  playingTime.flags = kVstPpqPosValid | kVstTempoValid | kVstTransportPlaying;
  playingTime.tempo = 120.0;
  playingTime.ppqPos = 3.5;
  AEffect* effect = CreateEffect(BenchHost)->Effect();
  effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
  effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, 44100.0f);
  effect->dispatcher(effect, effSetBlockSize, 0, frames, nullptr, 0.0f);
  effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
  // Amount 50: every sample above half scale is clipped.
  effect->setParameter(effect, 0, 0.5f);
  return effect;
}

template <typename Sample, Path path> void RunProcess(benchmark::State& state) {
  const int frames = static_cast<int>(state.range(0));
  const bool withMidi = state.range(1) != 0;
  AEffect* effect = OpenEffect(frames);
  Buffers<Sample> buffers(frames);
  EventList events(frames);
  for (auto _ : state) {
    if (withMidi) {
      effect->dispatcher(effect, effProcessEvents, 0, 0, &events.list, 0.0f);
    }
    if constexpr (path == Path::DoubleReplacing) {
      effect->processDoubleReplacing(effect, buffers.inPointers, buffers.outPointers, frames);
    } else if constexpr (path == Path::FloatReplacing) {
      effect->processReplacing(effect, buffers.inPointers, buffers.outPointers, frames);
    } else {
      effect->process(effect, buffers.inPointers, buffers.outPointers, frames);
    }
    benchmark::DoNotOptimize(buffers.out[0].data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * frames * 2);
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
}

void BM_ProcessDoubleReplacing(benchmark::State& state) {
  RunProcess<double, Path::DoubleReplacing>(state);
}
void BM_ProcessReplacing(benchmark::State& state) {
  RunProcess<float, Path::FloatReplacing>(state);
}
void BM_ProcessAdding(benchmark::State& state) {
  RunProcess<float, Path::FloatAdding>(state);
}

// The least any stereo processing must do: read both inputs and write both outputs.
template <typename Sample> void CopyBaseline(benchmark::State& state) {
  const int frames = static_cast<int>(state.range(0));
  Buffers<Sample> buffers(frames);
  for (auto _ : state) {
    for (int channel = 0; channel < 2; ++channel) {
      std::memcpy(buffers.outPointers[channel], buffers.inPointers[channel],
                  sizeof(Sample) * static_cast<size_t>(frames));
    }
    benchmark::DoNotOptimize(buffers.out[0].data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * frames * 2);
}

void BM_CopyDouble(benchmark::State& state) {
  CopyBaseline<double>(state);
}
void BM_CopyFloat(benchmark::State& state) {
  CopyBaseline<float>(state);
}

using ClipLoop = double (*)(const double*, double*, int, double, double);
using WidenLoop = void (*)(const float*, double*, int);
using NarrowLoop = void (*)(const double*, float*, int);

// The arithmetic alone, as the compiler vectorises the plain loop: both channels of a block.
template <ClipLoop clip> void ClipLoopDouble(benchmark::State& state) {
  const int frames = static_cast<int>(state.range(0));
  Buffers<double> buffers(frames);
  for (auto _ : state) {
    for (int channel = 0; channel < 2; ++channel) {
      benchmark::DoNotOptimize(
          clip(buffers.inPointers[channel], buffers.outPointers[channel], frames, 0.5, 0.0));
    }
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * frames * 2);
}

// The same over single-precision buffers converted to double and back.
template <ClipLoop clip, WidenLoop widen, NarrowLoop narrow>
void ClipLoopFloat(benchmark::State& state) {
  const int frames = static_cast<int>(state.range(0));
  Buffers<float> buffers(frames);
  std::vector<double> staged(static_cast<size_t>(frames));
  for (auto _ : state) {
    for (int channel = 0; channel < 2; ++channel) {
      widen(buffers.inPointers[channel], staged.data(), frames);
      benchmark::DoNotOptimize(clip(staged.data(), staged.data(), frames, 0.5, 0.0));
      narrow(staged.data(), buffers.outPointers[channel], frames);
    }
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * frames * 2);
}

void BM_ClipLoopDoubleV2(benchmark::State& state) {
  ClipLoopDouble<ClipLoopV2>(state);
}
void BM_ClipLoopDoubleV3(benchmark::State& state) {
  ClipLoopDouble<ClipLoopV3>(state);
}
void BM_ClipLoopFloatV2(benchmark::State& state) {
  ClipLoopFloat<ClipLoopV2, WidenLoopV2, NarrowLoopV2>(state);
}
void BM_ClipLoopFloatV3(benchmark::State& state) {
  ClipLoopFloat<ClipLoopV3, WidenLoopV3, NarrowLoopV3>(state);
}

// The hand-written AVX2 floor of both channels of a block, each channel's peak carried on as the
// effect carries it.
void BM_ClipFloorDouble(benchmark::State& state) {
  const int frames = static_cast<int>(state.range(0));
  Buffers<double> buffers(frames);
  for (auto _ : state) {
    for (int channel = 0; channel < 2; ++channel) {
      benchmark::DoNotOptimize(ClipFloorDouble(buffers.inPointers[channel],
                                               buffers.outPointers[channel], frames, 0.5, 0.0));
    }
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * frames * 2);
}

void BM_ClipFloorFloat(benchmark::State& state) {
  const int frames = static_cast<int>(state.range(0));
  Buffers<float> buffers(frames);
  for (auto _ : state) {
    for (int channel = 0; channel < 2; ++channel) {
      benchmark::DoNotOptimize(ClipFloorFloat(buffers.inPointers[channel],
                                              buffers.outPointers[channel], frames, 0.5, 0.0));
    }
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * frames * 2);
}

// processReplacing of a plug-in library loaded by file, through the host of ombrix-render:
// Ombrix as built beside the Linux VST 2 plug-ins Debian ships, where they are installed.
struct ThirdPartyPlugin {
  const char* name;
  const char* path;
};
const ThirdPartyPlugin ThirdPartyPlugins[] = {
    {"Ombrix", OMBRIX_MODULE_PATH},
    {"dpf-PingPongPan", "/usr/lib/vst/PingPongPan-vst.so"},
    {"dpf-3BandEQ", "/usr/lib/vst/3BandEQ-vst.so"},
    {"dpf-3BandSplitter", "/usr/lib/vst/3BandSplitter-vst.so"},
    {"dpf-SoulForce", "/usr/lib/vst/SoulForce-vst.so"},
    {"dpf-MaBitcrush", "/usr/lib/vst/MaBitcrush-vst.so"},
    {"lsp-comp-delay-stereo", "/usr/lib/vst/lsp-plugins/comp-delay-stereo.so"},
    {"lsp-limiter-stereo", "/usr/lib/vst/lsp-plugins/limiter-stereo.so"},
};

void HostedProcessReplacing(benchmark::State& state, const ThirdPartyPlugin& plugin) {
  const int frames = static_cast<int>(state.range(0));
  std::string error;
  std::unique_ptr<Vst2Plugin> host = Vst2Plugin::Load(plugin.path, &error);
  if (!host) {
    state.SkipWithError(error.c_str());
    return;
  }
  if (host->Effect().numInputs != 2 || host->Effect().numOutputs != 2) {
    state.SkipWithError("not a stereo effect");
    return;
  }
  host->Start(44100.0, frames, false, &error);
  host->SetTransport(0, 120.0, true);
  Buffers<float> buffers(frames);
  for (auto _ : state) {
    host->Process(buffers.inPointers, buffers.outPointers, frames, nullptr, 0);
    benchmark::DoNotOptimize(buffers.out[0].data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * frames * 2);
}

// Registers the hosted cases for the libraries present on this machine.
const bool hostedRegistered = [] {
  for (const ThirdPartyPlugin& plugin : ThirdPartyPlugins) {
    struct stat info;
    if (stat(plugin.path, &info) != 0) {
      continue;
    }
    const std::string name = std::string("BM_HostedProcessReplacing/") + plugin.name;
    benchmark::RegisterBenchmark(name.c_str(), HostedProcessReplacing, plugin)
        ->ArgName("frames")
        ->Arg(64)
        ->Arg(512)
        ->Arg(2048);
  }
  return true;
}();

void BlockSizesAndMidi(benchmark::internal::Benchmark* bench) {
  bench->ArgNames({"frames", "midi"});
  for (int frames : {64, 512, 2048}) {
    bench->Args({frames, 0});
    bench->Args({frames, 1});
  }
}

void BlockSizes(benchmark::internal::Benchmark* bench) {
  bench->ArgName("frames")->Arg(64)->Arg(512)->Arg(2048);
}
} // namespace

BENCHMARK(BM_CopyDouble)->Apply(BlockSizes);
BENCHMARK(BM_CopyFloat)->Apply(BlockSizes);
BENCHMARK(BM_ClipLoopDoubleV2)->Apply(BlockSizes);
BENCHMARK(BM_ClipLoopDoubleV3)->Apply(BlockSizes);
BENCHMARK(BM_ClipLoopFloatV2)->Apply(BlockSizes);
BENCHMARK(BM_ClipLoopFloatV3)->Apply(BlockSizes);
BENCHMARK(BM_ClipFloorDouble)->Apply(BlockSizes);
BENCHMARK(BM_ClipFloorFloat)->Apply(BlockSizes);
BENCHMARK(BM_ProcessDoubleReplacing)->Apply(BlockSizesAndMidi);
BENCHMARK(BM_ProcessReplacing)->Apply(BlockSizesAndMidi);
BENCHMARK(BM_ProcessAdding)->Apply(BlockSizesAndMidi);
