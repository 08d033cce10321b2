// ombrix-windowshot: opens the built plug-in's editor the way a Windows host does (a framed
// top-level window, effEditOpen), feeds it a few blocks of a tone so the meters stand up, lets
// the window run its timer, then reads the editor window's pixels back from the screen with
// GDI and writes them to a PNG.
#include "tools/png/PngWriter.h"
#include "vst2/VstAbi.h"

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {
constexpr int kBlockFrames = 512;

struct Options {
  std::string plugin;
  std::string output;
  std::vector<std::pair<int, float>> parameters;
  std::vector<POINT> clicks;
  float amplitude = 0.8f;
  int blocks = 16;
};

const char* kUsage =
    "usage: ombrix-windowshot PLUGIN.dll OUTPUT.png [--param INDEX=VALUE]... [--click X,Y]...\n"
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
      POINT at{};
      if (std::sscanf(argv[++i], "%ld,%ld", &at.x, &at.y) != 2) {
        return false;
      }
      options->clicks.push_back(at);
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

void Pump(int milliseconds) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < static_cast<DWORD>(milliseconds)) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(5);
  }
}

// The host's frame: a captioned top-level window with a client area of the editor's size.
HWND MakeFrame(int width, int height) {
  WNDCLASSA frameClass{};
  frameClass.lpfnWndProc = DefWindowProcA;
  frameClass.hInstance = GetModuleHandleA(nullptr);
  frameClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  frameClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  frameClass.lpszClassName = "OmbrixWindowShotFrame";
  RegisterClassA(&frameClass);
  RECT outer{0, 0, width, height};
  AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, FALSE);
  return CreateWindowExA(0, frameClass.lpszClassName, "Ombrix", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                         20, 20, outer.right - outer.left, outer.bottom - outer.top, nullptr,
                         nullptr, frameClass.hInstance, nullptr);
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

// The pixels the screen shows where the window is, as 0xAARRGGBB rows.
std::vector<std::uint32_t> ReadScreen(HWND window, int* width, int* height) {
  RECT placed{};
  GetWindowRect(window, &placed);
  *width = placed.right - placed.left;
  *height = placed.bottom - placed.top;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = *width;
  info.bmiHeader.biHeight = -*height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP section = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  std::vector<std::uint32_t> pixels;
  if (section && bits) {
    HGDIOBJ previous = SelectObject(memory, section);
    BitBlt(memory, 0, 0, *width, *height, screen, placed.left, placed.top, SRCCOPY);
    GdiFlush();
    const auto* words = static_cast<const std::uint32_t*>(bits);
    pixels.assign(words, words + static_cast<std::size_t>(*width) * *height);
    SelectObject(memory, previous);
    DeleteObject(section);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}
} // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  HMODULE module = LoadLibraryA(options.plugin.c_str());
  const auto entry = module ? reinterpret_cast<VstPluginMainProc>(
                                  reinterpret_cast<void*>(GetProcAddress(module, "VSTPluginMain")))
                            : nullptr;
  AEffect* effect = entry ? entry(Host) : nullptr;
  if (!effect) {
    std::fprintf(stderr, "ombrix-windowshot: cannot load a VST 2 plug-in from %s\n",
                 options.plugin.c_str());
    return 1;
  }
  effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
  effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, 44100.0f);
  effect->dispatcher(effect, effSetBlockSize, 0, kBlockFrames, nullptr, 0.0f);
  effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
  for (const auto& parameter : options.parameters) {
    effect->setParameter(effect, parameter.first, parameter.second);
  }

  ERect* rect = nullptr;
  effect->dispatcher(effect, effEditGetRect, 0, 0, &rect, 0.0f);
  const int width = rect ? rect->right - rect->left : 560;
  const int height = rect ? rect->bottom - rect->top : 400;
  HWND frame = MakeFrame(width, height);
  int status = 1;
  if (frame && effect->dispatcher(effect, effEditOpen, 0, 0, frame, 0.0f) == 1) {
    HWND editor = GetWindow(frame, GW_CHILD);
    Pump(200);
    for (const POINT& at : options.clicks) {
      SendMessageA(editor, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
      SendMessageA(editor, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
      Pump(100);
    }
    ProcessTone(effect, options.amplitude, options.blocks);
    // Several ticks of the editor's own timer.
    Pump(300);
    int shotWidth = 0;
    int shotHeight = 0;
    const std::vector<std::uint32_t> pixels = ReadScreen(editor, &shotWidth, &shotHeight);
    if (!pixels.empty() && WritePng(options.output.c_str(), pixels.data(), shotWidth, shotHeight)) {
      std::printf("%s: %d x %d pixels of the editor window\n", options.output.c_str(), shotWidth,
                  shotHeight);
      status = 0;
    } else {
      std::fprintf(stderr, "ombrix-windowshot: cannot write %s\n", options.output.c_str());
    }
    effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0.0f);
  } else {
    std::fprintf(stderr, "ombrix-windowshot: the editor did not open\n");
  }
  effect->dispatcher(effect, effMainsChanged, 0, 0, nullptr, 0.0f);
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  if (frame) {
    DestroyWindow(frame);
  }
  return status;
}
