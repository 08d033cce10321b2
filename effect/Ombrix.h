#pragma once

#include "effect/IMidiEventQueue.h"
#include "vst2/IVst2Plugin.h"

#include <cstdint>

// The stereo hard-clipping distortion: identity, parameters and presets (ombrix.cpp), block
// processing, MIDI and reset (ombrix_processing.cpp).
class Ombrix : public IVst2Plugin {
public:
  enum ParameterIndex { ParamAmount = 0, ParamKelbaEnabled = 1, ParamKelba = 2, ParamCount = 3 };
  static constexpr int PresetSlots = 5;
  // The controller that moves "Amount of Distortion".
  static constexpr int MidiCcAmount = 69;

  explicit Ombrix(audioMasterCallback hostCallback);
  ~Ombrix() override;

  void OnReset() override;
  void OnParameterChanged(int index) override;
  void ProcessBlock(double** inputs, double** outputs, int frames) override;
  void OnMidiEvent(const IMidiEvent* event) override;

  double ClipLevel() const { return clipLevel; }
  int AnimateWithTempo() const { return animateWithTempo; }
  double MeterLevelLeft() const { return meterLevelLeft; }
  double MeterLevelRight() const { return meterLevelRight; }
  const IMidiEventQueue& MidiQueue() const { return midiQueue; }

private:
  void MakeFactoryPresets();
  // Clips one channel and delivers the MIDI events falling due within it; returns its peak.
  double ClipChannel(const double* input, double* output, int frames, double peak);
  void DeliverDueEvents(int sampleIndex);
  void MoveAmountFromController(uint8_t value);
  // What the editor shows of the block just processed.
  void ShowBlockFeedback(int beatParity);

  IMidiEventQueue midiQueue;
  double clipLevel = 1.0;
  int animateWithTempo = 0;
  double meterLevelLeft = 0.0;
  double meterLevelRight = 0.0;
};
