#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One plug-in instance of any format, as an offline host drives it: described, set up, run in
// blocks with events at frames, its state saved and restored. Each format's implementation
// translates these calls into its own; what a format lacks is answered with an empty result.
//
// Calls other than Process come from one thread at a time; Process never overlaps them.

enum class PluginFormat { Vst2, Vst3, Clap, Lv2 };

// "VST 2", "VST 3", "CLAP", "LV2".
const char* FormatName(PluginFormat format);

class IRecursiveLock;
// Several instances may process at once, each on its own thread, as a host's tracks do; every
// other call (creating, setting up, starting, stopping, closing) is made under this lock, as a
// host makes them from its one main thread.
IRecursiveLock& HostControlLock();

enum class HostedEventKind { Midi, Sysex, Parameter };

// An event at a frame of the block it is handed with. MIDI keeps its status and data bytes;
// system-exclusive bytes stay the caller's for the call only; a parameter change is normalised.
struct HostedEvent {
  HostedEventKind kind = HostedEventKind::Midi;
  int frame = 0;
  uint8_t midi[3] = {};
  const uint8_t* sysex = nullptr;
  size_t sysexSize = 0;
  int parameter = -1;
  double normalized = 0.0;
};

class HostedPlugin {
public:
  virtual ~HostedPlugin() = default;

  virtual PluginFormat Format() const = 0;
  // The file or bundle (or LV2 URI) it was loaded from.
  virtual const std::string& Location() const = 0;
  virtual std::string Name() = 0;
  virtual std::string Vendor() = 0;
  // Lines describing the audio and event buses, for --list.
  virtual std::vector<std::string> Buses() = 0;
  virtual int InputChannels() const = 0;
  virtual int OutputChannels() const = 0;
  virtual bool ProcessesDouble() const = 0;
  // Whether parameter changes reach the plug-in at their frame within a block; otherwise the
  // caller splits the block there.
  virtual bool ParametersAtFrames() const = 0;

  virtual int ParameterCount() = 0;
  virtual std::string ParameterName(int index) = 0;
  virtual std::string ParameterUnit(int index) = 0;
  // The plug-in's text for the current value, and for another normalised value.
  virtual std::string ParameterDisplay(int index) = 0;
  virtual std::string DisplayAt(int index, double normalized) = 0;
  virtual double Normalized(int index) = 0;
  virtual void SetNormalized(int index, double normalized) = 0;
  // The plug-in's own reading of a value in its units; false when it cannot or will not.
  virtual bool TakesText(int index) = 0;
  virtual bool TextToNormalized(int index, const std::string& text, double* normalized) = 0;
  // Sets the value the text reads as; formats that read texts into the live value do it there,
  // exactly.
  virtual bool SetFromText(int index, const std::string& text);

  // Programs, presets of the plug-in's own: count, names, the one selected (or -1).
  virtual int ProgramCount() = 0;
  virtual std::string ProgramName(int index) = 0;
  virtual int CurrentProgram() = 0;
  virtual bool SelectProgram(int index) = 0;

  // The plug-in's whole state as its format stores it; empty when it gives none.
  virtual std::vector<uint8_t> SaveState() = 0;
  virtual bool LoadState(const std::vector<uint8_t>& bytes) = 0;

  // Rate, longest block and precision, then processing on; false with the reason in error.
  virtual bool Start(double sampleRate, int maxBlockFrames, bool doublePrecision,
                     std::string* error) = 0;
  // Processing off; nothing when not started.
  virtual void Stop() = 0;
  // The transport of the next block's first frame.
  virtual void SetTransport(int64_t samplePosition, double tempo, bool playing) = 0;
  // One block of frames (at most the longest announced); events in frame order.
  virtual void Process(float* const* inputs, float* const* outputs, int frames,
                       const HostedEvent* events, size_t eventCount) = 0;
  virtual void Process(double* const* inputs, double* const* outputs, int frames,
                       const HostedEvent* events, size_t eventCount) = 0;
  // The delay the plug-in reports, in frames.
  virtual int Latency() = 0;

  // What the plug-in told the host while running.
  virtual int MidiEventsReceived() const = 0;
  virtual int AutomationCalls() const = 0;
};
