#pragma once

#include "effect/IMidiEventQueue.h"
#include "plugin/PluginBinding.h"
// The binding library this build of the effect is linked with names its header, which names the
// binding as EffectBinding.
#include OMBRIX_EFFECT_BINDING

#include <cstdint>

class IControl;
class IEditor;
class ILevelMeter;

// The stereo hard-clipping distortion: identity, parameters and presets (ombrix.cpp), block
// processing, MIDI and reset (ombrix_processing.cpp), the editor layout (ombrix_layout.cpp).
static_assert(IsPluginBinding<EffectBinding>, "the effect's base must fulfil the binding contract");

class Ombrix : public EffectBinding {
public:
  enum ParameterIndex { ParamAmount = 0, ParamKelbaEnabled = 1, ParamKelba = 2, ParamCount = 3 };
  static constexpr int PresetSlots = 5;
  // The controller that moves "Amount of Distortion".
  static constexpr int MidiCcAmount = 69;
  // The meter stripes of the editor, each a left and a right level meter.
  static constexpr int MeterStripeCount = 6;
  struct MeterPair {
    int left = -1;
    int right = -1;
  };

  explicit Ombrix(EffectBinding::Host host);
  ~Ombrix() override;

  void OnReset() override;
  void OnParameterChanged(int index) override;
  void ProcessBlock(double** inputs, double** outputs, int frames) override;
  // The same arithmetic on single-precision buffers in one pass (the samples widened, clipped
  // and narrowed), bit for bit what ProcessBlock gives on the widened samples.
  void ProcessBlockFloat(float** inputs, float** outputs, int frames) override;
  void OnMidiEvent(const IMidiEvent* event) override;

  double ClipLevel() const { return clipLevel; }
  int AnimateWithTempo() const { return animateWithTempo; }
  double MeterLevelLeft() const { return meterLevelLeft; }
  double MeterLevelRight() const { return meterLevelRight; }
  const IMidiEventQueue& MidiQueue() const { return midiQueue; }
  // Drops the MIDI events still waiting and sets both meter levels to zero, as in a plug-in just
  // made: for test hosts that keep one plug-in for many runs (ombrix_rest.cpp). No host call
  // does either: events dated beyond every block wait for ever, and meters only decay.
  void ReturnToRest();
  int KnobControlIndex() const { return knobControlIndex; }
  MeterPair MeterControlIndices(int stripe) const { return meterControlIndices[stripe]; }

private:
  // Creates the editor with its controls and attaches it.
  void BuildEditorLayout();
  // The attached editor when it is the one the layout built (a host-neutral editor otherwise).
  IEditor* LayoutEditor();
  // Looks up the controls the processing updates, once the layout's editor is attached.
  void ResolveFeedbackControls();
  void MakeFactoryPresets();
  template <typename Sample> void ProcessChannels(Sample** inputs, Sample** outputs, int frames);
  // Clips one channel and delivers the MIDI events falling due within it; returns its peak.
  template <typename Sample>
  double ClipChannel(const Sample* input, Sample* output, int frames, double peak);
  void DeliverDueEvents(int sampleIndex);
  // The sample of the current block at which the event falls due (64-bit: host offsets are
  // arbitrary 32-bit values).
  int64_t DueSample(const IMidiEvent& event) const;
  void MoveAmountFromController(uint8_t value);
  // What the editor shows of the block just processed.
  void ShowBlockFeedback(int beatParity);
  void ShowMeterLevels(double left, double right);
  // The attached editor is the layout's, whose feedback controls were looked up once.
  bool FeedbackGoesToLayoutControls() { return feedback.editor && Editor() == feedback.editor; }

  // The controls the processing updates each pass, valid while editor is the attached one.
  struct FeedbackControls {
    static constexpr int ThemeCapacity = 4;
    struct LinkedControl {
      IControl* control = nullptr;
      int position = 0;
    };
    const IAttachedEditor* editor = nullptr;
    ILevelMeter* meters[MeterStripeCount][2] = {};
    // Every meter takes levels from 0 to 1 as given (found after the first levels are shown).
    bool metersTakeUnitLevels = false;
    IControl* theme[ThemeCapacity] = {};
    int themeCount = 0;
    LinkedControl linkedTheme[ThemeCapacity];
    int linkedThemeCount = 0;
  };

  // The distortion knob (owned by the editor), for the MIDI controller.
  IControl* knobControl = nullptr;
  IMidiEventQueue midiQueue;
  double clipLevel = 1.0;
  // The effect updates these controls of the editor; the editor owns them.
  int knobControlIndex = -1;
  int animateWithTempo = 0;
  MeterPair meterControlIndices[MeterStripeCount];
  double meterLevelLeft = 0.0;
  double meterLevelRight = 0.0;
  FeedbackControls feedback;
};
