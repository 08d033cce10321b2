// ombrix-windowshot: opens the built plug-in's editor the way a host does (a top-level frame,
// effEditOpen, the user-interface loop with effEditIdle), feeds it a few blocks of a tone so the
// meters stand up, lets the editor run its redraw ticks, then reads the editor window's pixels
// back from the screen and writes them to a PNG.
#include "host/LoadedLibrary.h"
#include "tools/png/PngWriter.h"
#include "tools/windowshot/HostFrame.h"
#include "vst2/VstAbi.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {
constexpr int kBlockFrames = 512;

struct Options {
  std::string plugin;
  std::string output;
  std::vector<std::pair<int, float>> parameters;
  std::vector<std::pair<int, int>> clicks;
  float amplitude = 0.8f;
  int blocks = 16;
};

const char* kUsage =
    "usage: ombrix-windowshot PLUGIN OUTPUT.png [--param INDEX=VALUE]... [--click X,Y]...\n"
    "                         [--amplitude A] [--blocks N]\n";

bool ParseOptions(int argc, char** argv, Options* options) {
  std::vector<std::string> positional;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--param" && hasValue) {
      int index = 0;
      float value = 0.0f;
      if (std::sscanf(argv[++i], "%d=%f", &index, &value) != 2) {
        return false;
      }
      options->parameters.emplace_back(index, value);
    } else if (arg == "--click" && hasValue) {
      int x = 0;
      int y = 0;
      if (std::sscanf(argv[++i], "%d,%d", &x, &y) != 2) {
        return false;
      }
      options->clicks.emplace_back(x, y);
    } else if (arg == "--amplitude" && hasValue) {
      options->amplitude = static_cast<float>(std::atof(argv[++i]));
    } else if (arg == "--blocks" && hasValue) {
      options->blocks = std::atoi(argv[++i]);
    } else if (arg.rfind("--", 0) == 0) {
      return false;
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() != 2) {
    return false;
  }
  options->plugin = positional[0];
  options->output = positional[1];
  return true;
}

VstIntPtr VSTCALLBACK Host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

void ProcessTone(AEffect* effect, float amplitude, int blocks) {
  std::vector<float> left(kBlockFrames), right(kBlockFrames), outLeft(kBlockFrames),
      outRight(kBlockFrames);
  float* inputs[2] = {left.data(), right.data()};
  float* outputs[2] = {outLeft.data(), outRight.data()};
  long frame = 0;
  for (int block = 0; block < blocks; ++block) {
    for (int i = 0; i < kBlockFrames; ++i, ++frame) {
      const float tone =
          amplitude * static_cast<float>(std::sin(2.0 * 3.14159265 * 220.0 * frame / 44100.0));
      left[i] = tone;
      right[i] = tone * 0.5f;
    }
    effect->processReplacing(effect, inputs, outputs, kBlockFrames);
  }
}
} // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  std::string reason;
  std::unique_ptr<LoadedLibrary> library = LoadedLibrary::Open(options.plugin, &reason);
  const auto entry =
      library ? reinterpret_cast<VstPluginMainProc>(library->Symbol("VSTPluginMain")) : nullptr;
  AEffect* effect = entry ? entry(Host) : nullptr;
  if (!effect) {
    std::fprintf(stderr, "ombrix-windowshot: cannot load a VST 2 plug-in from %s\n",
                 options.plugin.c_str());
    return 1;
  }
  auto dispatch = [effect](VstInt32 opcode, VstIntPtr value = 0, void* ptr = nullptr,
                           float opt = 0.0f) {
    return effect->dispatcher(effect, opcode, 0, value, ptr, opt);
  };
  dispatch(effOpen);
  dispatch(effSetSampleRate, 0, nullptr, 44100.0f);
  dispatch(effSetBlockSize, kBlockFrames);
  dispatch(effMainsChanged, 1);
  for (const auto& parameter : options.parameters) {
    effect->setParameter(effect, parameter.first, parameter.second);
  }

  ERect* rect = nullptr;
  dispatch(effEditGetRect, 0, &rect);
  const int width = rect ? rect->right - rect->left : 560;
  const int height = rect ? rect->bottom - rect->top : 400;
  std::unique_ptr<HostFrame> frame = HostFrame::Make(width, height);
  const auto idle = [&] { dispatch(effEditIdle); };
  int status = 1;
  if (frame && dispatch(effEditOpen, 0, frame->Parent()) == 1) {
    frame->Run(200, idle);
    for (const auto& at : options.clicks) {
      frame->Click(at.first, at.second);
      frame->Run(100, idle);
    }
    ProcessTone(effect, options.amplitude, options.blocks);
    // Several of the editor's redraw ticks.
    frame->Run(300, idle);
    int shotWidth = 0;
    int shotHeight = 0;
    const std::vector<std::uint32_t> pixels = frame->EditorPixels(&shotWidth, &shotHeight);
    if (!pixels.empty() && WritePng(options.output.c_str(), pixels.data(), shotWidth, shotHeight)) {
      std::printf("%s: %d x %d pixels of the editor window\n", options.output.c_str(), shotWidth,
                  shotHeight);
      status = 0;
    } else {
      std::fprintf(stderr, "ombrix-windowshot: cannot write %s\n", options.output.c_str());
    }
    dispatch(effEditClose);
  } else {
    std::fprintf(stderr, "ombrix-windowshot: the editor did not open\n");
  }
  dispatch(effMainsChanged, 0);
  dispatch(effClose);
  frame.reset();
  return status;
}
