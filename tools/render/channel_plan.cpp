#include "tools/render/ChannelPlan.h"

#include <algorithm>

namespace {
// A plug-in with one input and two outputs (a stereo reverb or widener fed in mono) renders a
// mono file into a stereo one.
constexpr int kMonoInputs = 1;
constexpr int kStereoOutputs = 2;

std::string Count(int count, const char* noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}
} // namespace

bool PlanChannels(int fileChannels, int inputPins, int outputPins, bool mixDown,
                  int requestedOutputs, const std::string& fileName, const std::string& pluginName,
                  ChannelPlan* plan, std::string* error) {
  if (outputPins < 1) {
    *error = "unsupported plug-in: " + pluginName + " gives no audio outputs";
    return false;
  }
  // An instrument (no audio inputs) plays for the file's length; its audio is not used.
  const bool instrument = inputPins == 0;
  const int fed = instrument ? 0 : mixDown ? 1 : fileChannels;
  if (fed > inputPins) {
    *error = "unsupported format: " + fileName + " has " + Count(fileChannels, "channel") +
             ", but " + pluginName + " takes " + Count(inputPins, "input");
    *error += "; add --mix-down to mix them into one";
    return false;
  }
  if (requestedOutputs > outputPins) {
    *error = "--out-channels " + std::to_string(requestedOutputs) + " is more than " + pluginName +
             "'s " + Count(outputPins, "output");
    return false;
  }
  int outputs = requestedOutputs;
  if (outputs == 0) {
    const bool monoToStereo =
        fed == kMonoInputs && inputPins == kMonoInputs && outputPins == kStereoOutputs;
    outputs = monoToStereo ? kStereoOutputs : std::min(instrument ? fileChannels : fed, outputPins);
  }
  plan->fileChannels = fileChannels;
  plan->fedChannels = fed;
  plan->mixDown = mixDown;
  plan->inputPins = inputPins;
  plan->outputPins = outputPins;
  plan->outputChannels = outputs;
  return true;
}
