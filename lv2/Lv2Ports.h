#pragma once

#include <cstdint>
#include <string>

class IAudioPlugin;

// The ports of the plug-in, in index order: one audio port per input channel, then per output
// channel; a control input per parameter (the host owns it); a control output per parameter,
// reporting the value as the plug-in holds it (controller 69 moves the amount, which the host's
// input cannot show); the atom input (MIDI and transport), the atom output (MIDI passed on);
// an atom input for the transport alone. Ardour counts an input that takes MIDI as a MIDI pin,
// which on an audio track stays unconnected and gets no transport either; an input for
// time:Position alone gets it on every track. It comes last so the others keep their indices.
struct Lv2PortLayout {
  int audioInputs = 0;
  int audioOutputs = 0;
  int parameters = 0;

  static Lv2PortLayout Of(IAudioPlugin& plugin);

  uint32_t AudioInput(int channel) const { return static_cast<uint32_t>(channel); }
  uint32_t AudioOutput(int channel) const { return static_cast<uint32_t>(audioInputs + channel); }
  uint32_t ControlInput(int parameter) const {
    return static_cast<uint32_t>(audioInputs + audioOutputs + parameter);
  }
  uint32_t ControlOutput(int parameter) const { return ControlInput(parameters + parameter); }
  uint32_t EventInput() const { return ControlInput(2 * parameters); }
  uint32_t EventOutput() const { return EventInput() + 1; }
  uint32_t TransportInput() const { return EventOutput() + 1; }
  uint32_t PortCount() const { return TransportInput() + 1; }
};

// A port symbol made from a parameter name: letters and digits in lower case, every other run of
// characters one underscore, none at either end ("#KELBA Enabled" gives "kelba_enabled").
std::string PortSymbol(const char* name);
