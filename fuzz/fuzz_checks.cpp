#include "fuzz/FuzzChecks.h"

#include "fuzz/FuzzHost.h"

#include <cmath>
#include <cstring>

namespace {
constexpr int TextBuffer = 256;
constexpr char Untouched = '\x7f';

// Asks for a text into a buffer whose bytes beyond the host's capacity must stay untouched.
void CheckText(FuzzHost& host, VstInt32 opcode, VstInt32 index, int capacity) {
  char text[TextBuffer];
  std::memset(text, Untouched, sizeof(text));
  host.Dispatch(opcode, index, 0, text);
  FuzzCheck(std::memchr(text, '\0', static_cast<size_t>(capacity)) != nullptr,
            "a text answer ends within the host's buffer");
  for (int i = capacity; i < TextBuffer; ++i) {
    FuzzCheck(text[i] == Untouched, "a text answer writes nothing past the host's buffer");
  }
}
} // namespace

void CheckPluginSane(FuzzHost& host) {
  AEffect* effect = host.effect;
  for (VstInt32 i = 0; i < effect->numParams; ++i) {
    const float value = effect->getParameter(effect, i);
    FuzzCheck(value >= 0.0f && value <= 1.0f, "a parameter reads back within 0..1");
    CheckText(host, effGetParamDisplay, i, kVstParamTextBytes);
  }
  const VstIntPtr program = host.Dispatch(effGetProgram);
  FuzzCheck(program >= 0 && program < effect->numPrograms, "the current program is a slot");
  CheckText(host, effGetProgramName, 0, kVstProgramNameBytes);
  for (VstInt32 i = 0; i < effect->numPrograms; ++i) {
    CheckText(host, effGetProgramNameIndexed, i, kVstProgramNameBytes);
  }

  constexpr int Frames = 32;
  double left[Frames];
  double right[Frames];
  for (int i = 0; i < Frames; ++i) {
    left[i] = (i % 2 == 0 ? 1.5 : -0.3) * (i + 1) / Frames;
    right[i] = -left[i];
  }
  double* inputs[2] = {left, right};
  double outLeft[Frames];
  double outRight[Frames];
  double* outputs[2] = {outLeft, outRight};
  effect->processDoubleReplacing(effect, inputs, outputs, Frames);
  for (int i = 0; i < Frames; ++i) {
    FuzzCheck(std::isfinite(outLeft[i]) && std::fabs(outLeft[i]) <= 1.0 &&
                  std::isfinite(outRight[i]) && std::fabs(outRight[i]) <= 1.0,
              "processed audio stays finite and within +-1");
  }
}
