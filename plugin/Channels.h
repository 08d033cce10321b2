#pragma once

#include <string>
#include <vector>

// One legal pair of channel counts; -1 in a query stands for any count.
struct IChannelConfig {
  int inputs = 0;
  int outputs = 0;
};

// The host's buffers of one process call, a pointer per channel in each sample width, for
// bindings whose host hands its buses over in records of its own. Sized once for the plug-in's
// channels, so a call allocates nothing.
struct IHostChannelPointers {
  IHostChannelPointers(int inputs, int outputs)
      : floatInputs(static_cast<size_t>(inputs)), floatOutputs(static_cast<size_t>(outputs)),
        doubleInputs(static_cast<size_t>(inputs)), doubleOutputs(static_cast<size_t>(outputs)) {}
  std::vector<float*> floatInputs;
  std::vector<float*> floatOutputs;
  std::vector<double*> doubleInputs;
  std::vector<double*> doubleOutputs;
};

// One input channel. While unconnected the channel's pointer entry points at scratch,
// so processing reads zeros (or what the buffer last held).
struct IInputPin {
  bool connected = false;
  // This channel's entry in the plug-in's input pointer array.
  double** slot = nullptr;
  std::vector<double> scratch;
  // Replaces the default pin name when not empty.
  std::string label;
};

// One output channel. While unconnected processing writes into scratch, which nobody reads.
struct IOutputPin {
  bool connected = false;
  double** slot = nullptr;
  // The host's single-precision buffer for the current block, if any.
  float* floatDestination = nullptr;
  std::vector<double> scratch;
  // The dry signal this output carries while the plug-in is bypassed (formats with a bypass).
  std::vector<double> dry;
  std::string label;
};
