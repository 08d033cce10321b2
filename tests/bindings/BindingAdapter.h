#pragma once

// Before the X headers, whose macros (None, Bool) would break it.
#include <gtest/gtest.h>

// The editor cases read the editor's pixels from an X server; the Windows trees check the editor
// in a host's window with each format's window tests instead.
#if OMBRIX_BINDING_X11_EDITOR
#include "tests/x11/X11TestHost.h"
#endif

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// A MIDI message at a frame of a block; two-byte messages leave data2 at 0.
struct MidiAt {
  int frame = 0;
  uint8_t status = 0;
  uint8_t data1 = 0;
  uint8_t data2 = 0;
  bool operator==(const MidiAt& other) const {
    return frame == other.frame && status == other.status && data1 == other.data1 &&
           data2 == other.data2;
  }
};

// Program change and channel pressure carry one data byte.
inline int MidiLength(uint8_t status) {
  const uint8_t kind = status & 0xF0;
  return kind == 0xC0 || kind == 0xD0 ? 2 : 3;
}

enum class OmbrixParameter { Amount, Kelba, KelbaEnabled };

// One instance of the plug-in as a host of one format drives it, through the module's public
// entry points only. The adapter plays that host's part of the format's threading rules, so a
// test may call it from the threads a host of any format brings: Process on one audio thread,
// the parameter, program and state calls on another, the editor calls on the window's thread.
class BindingAdapter {
public:
  virtual ~BindingAdapter() = default;

  // For the next block only; in frame order.
  virtual void QueueMidi(const MidiAt& message) = 0;
  // Whether the format hands the plug-in this message as MIDI (and so gets it back). VST 3 hosts
  // pass on notes and polyphonic pressure only: controllers become parameter changes through
  // the plug-in's mapping, or are dropped.
  virtual bool ReachesPluginAsEvent(const MidiAt&) const { return true; }
  // Whether controller 69 arrives as a parameter change, which takes effect at its frame in
  // both channels; as MIDI the effect takes it after its frame in the first channel processed.
  virtual bool ControllerSplitsBlock() const { return false; }
  // The transport plays at 120 beats a minute in 4/4 from this quarter on.
  virtual void StartTransport(double beat) = 0;
  // All four buffers hold the block's frames; the announced block size may be shorter.
  virtual void Process(const std::vector<float>& left, const std::vector<float>& right,
                       std::vector<float>& outLeft, std::vector<float>& outRight) = 0;
  // Keeping what the plug-in passes back allocates in the host; an allocation count of the audio
  // path turns it off.
  virtual void KeepPassedBackMidi(bool keep) = 0;
  // The MIDI passed back since the last call, in order.
  virtual std::vector<MidiAt> TakePassedBackMidi() = 0;

  // In the parameter's own units.
  virtual void SetParameter(OmbrixParameter parameter, double value) = 0;
  virtual void SelectProgram(int program) = 0;
  // The whole state as the format stores it in a project: every program's name and values.
  virtual std::vector<uint8_t> SaveState() = 0;
  virtual bool LoadState(const std::vector<uint8_t>& state) = 0;
  // Whether a refused state leaves everything as it was. VST 2 blocks follow the original
  // format's reading: a block without header is an old program block and a short one applies
  // what it holds before failing.
  virtual bool RefusedStateChangesNothing() const = 0;

#if OMBRIX_BINDING_X11_EDITOR
  // The editor as a child of the host's window, driven by the host's idle calls.
  virtual bool OpenEditor(X11TestHost& x, Window parent) = 0;
  virtual void IdleEditor() = 0;
  virtual void CloseEditor() = 0;
  // Tells the open editor a host's scale (2 for 200 %) the format's way; VST 2 has none, so the
  // screen's Xft.dpi says it and the editor is reopened, as after the user changed it. False
  // when the format refused it.
  virtual bool ScaleEditor(X11TestHost& x, Window parent, double scale) = 0;
#endif
};

// A format the suite runs against: a new binding adds one entry to AllBindings().
struct Binding {
  std::string name;
  std::function<std::unique_ptr<BindingAdapter>(double sampleRate, int blockFrames)> create;
};

std::vector<Binding> AllBindings();
std::unique_ptr<BindingAdapter> MakeVst2Adapter(double sampleRate, int blockFrames);
std::unique_ptr<BindingAdapter> MakeLv2Adapter(double sampleRate, int blockFrames);
std::unique_ptr<BindingAdapter> MakeVst3Adapter(double sampleRate, int blockFrames);
std::unique_ptr<BindingAdapter> MakeClapAdapter(double sampleRate, int blockFrames);

// The messages of sent that reach the plug-in through this adapter's format, in order.
inline std::vector<MidiAt> ReachingPlugin(const BindingAdapter& adapter,
                                          const std::vector<MidiAt>& sent) {
  std::vector<MidiAt> reaching;
  for (const MidiAt& message : sent) {
    if (adapter.ReachesPluginAsEvent(message)) {
      reaching.push_back(message);
    }
  }
  return reaching;
}

inline std::string BindingName(const testing::TestParamInfo<Binding>& info) {
  return info.param.name;
}
