#pragma once

#include <string>

// How a file's channels meet a plug-in's inputs and outputs, and how many channels the output
// file gets.
struct ChannelPlan {
  int fileChannels = 0;
  // Channels fed to the plug-in: the file's, one when they are mixed down, none for a plug-in
  // without audio inputs.
  int fedChannels = 0;
  bool mixDown = false;
  int inputPins = 0;
  int outputPins = 0;
  int outputChannels = 0;
};

// The plan for this file and plug-in: fed channel i goes to input i, inputs beyond the fed
// channels get silence, and output channel i is the plug-in's output i. requestedOutputs 0 takes
// as many channels as are fed (two for a plug-in with one input and two outputs), never more than
// the plug-in gives. A plug-in without audio inputs (an instrument) is fed nothing and gives as
// many channels as the file has. False with a one-line reason that says what would work.
bool PlanChannels(int fileChannels, int inputPins, int outputPins, bool mixDown,
                  int requestedOutputs, const std::string& fileName, const std::string& pluginName,
                  ChannelPlan* plan, std::string* error);
