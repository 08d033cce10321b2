#include "effect/Ombrix.h"

#include "editor/Control.h"
#include "editor/Editor.h"
#include "editor/LevelMeter.h"
#include "effect/ClipKernel.h"
#include "effect/SignalMath.h"
#include "platform/DebugPrint.h"
#include "plugin/MidiMessage.h"

#include <algorithm>
#include <cmath>

namespace {

// The two "frame: %d" lines a block prints while the animation runs, formatted once.
constexpr const char* FrameLines[] = {"frame: 1\r\n", "frame: 2\r\n"};

// -1, 0 or 1: the parity of the whole beat number, with the beat's sign (-1 without a beat).
int BeatParity(double ppqPosition) {
  if (!std::isfinite(ppqPosition)) {
    return -1;
  }
  // Integer arithmetic where the beat number fits (fmod is slow); the same remainder.
  constexpr double IntegerRange = 4611686018427387904.0; // 2^62
  if (std::fabs(ppqPosition) < IntegerRange) {
    return static_cast<int>(static_cast<int64_t>(ppqPosition) % 2);
  }
  return static_cast<int>(std::fmod(std::trunc(ppqPosition), 2.0));
}
} // namespace

void Ombrix::ProcessBlock(double** inputs, double** outputs, int frames) {
  ProcessChannels(inputs, outputs, frames);
}

void Ombrix::ProcessBlockFloat(float** inputs, float** outputs, int frames) {
  ProcessChannels(inputs, outputs, frames);
}

template <typename Sample>
void Ombrix::ProcessChannels(Sample** inputs, Sample** outputs, int frames) {
  // Runs under the plug-in's lock, which the host's process call holds for the whole block.
  ITransportInfo transport;
  HostTransport(&transport);

  double peaks[2] = {0.0, 0.0};
  // With no event falling due in the block the level holds, and the right pass's seed is known
  // before the left pass ends (its level's first step is towards 0): both channels are clipped
  // up front, so the right one need not wait for the left one's peak.
  const bool levelHolds =
      !midiQueue.HasPending() || DueSample(midiQueue.Next()) >= static_cast<int64_t>(frames);
  double clipped[2] = {0.0, 0.0};
  if (levelHolds) {
    clipped[0] = ClipSamples(inputs[0], outputs[0], frames, clipLevel, 0.0);
    clipped[1] = ClipSamples(inputs[1], outputs[1], frames, clipLevel,
                             SmoothMeterLevel(0.0, meterLevelRight));
  }
  const int blockParity = BeatParity(transport.ppqPosition);
  int beatParity = 0;
  int pass = 0;
  for (int channel = 0; channel < 2; ++channel) {
    peaks[channel] = levelHolds
                         ? clipped[channel]
                         : ClipChannel(inputs[channel], outputs[channel], frames, peaks[channel]);
    // Both levels take a step after each pass; the step's result also seeds the next pass.
    meterLevelLeft = SmoothMeterLevel(peaks[0], meterLevelLeft);
    meterLevelRight = SmoothMeterLevel(peaks[1], meterLevelRight);
    peaks[0] = meterLevelLeft;
    peaks[1] = meterLevelRight;
    if (animateWithTempo != 0) {
      beatParity = blockParity;
      DebugPrintLine(FrameLines[pass++]);
    }
    // The layout's own meters and theme image hold values, not a history: the first pass's
    // are replaced within microseconds and showing them cost as much as clipping a short block.
    // Any other editor is told after each pass.
    if (channel == 1 || !FeedbackGoesToLayoutControls()) {
      ShowBlockFeedback(beatParity);
    }
  }
}

template <typename Sample>
double Ombrix::ClipChannel(const Sample* input, Sample* output, int frames, double peak) {
  int sample = 0;
  while (sample < frames) {
    // Samples run in stretches up to the next due event, so the inner loop stays plain.
    int stretchEnd = frames;
    const int64_t due = midiQueue.HasPending() ? DueSample(midiQueue.Next()) : frames;
    if (due < frames) {
      stretchEnd = static_cast<int>(std::max<int64_t>(due, sample)) + 1;
    }
    peak = ClipSamples(input + sample, output + sample, stretchEnd - sample, clipLevel, peak);
    sample = stretchEnd;
    DeliverDueEvents(sample - 1);
  }
  return peak;
}

void Ombrix::DeliverDueEvents(int sampleIndex) {
  while (midiQueue.HasPending() && DueSample(midiQueue.Next()) <= sampleIndex) {
    // Taken off the queue first: the host may hand in new events while it is called below.
    const IMidiEvent event = midiQueue.Next();
    midiQueue.DropNext();
    const int kind = Midi::MessageKind(event.status);
    const int channel = (event.status & Midi::ChannelMask) + 1;
    DebugPrint("midi %i channel: %i cc: %i val: %i \n", kind, channel, event.data1, event.data2);
    if (kind == Midi::ControlChange && event.data1 == MidiCcAmount) {
      MoveAmountFromController(event.data2);
    }
    SendMidiEvent(&event);
  }
}

int64_t Ombrix::DueSample(const IMidiEvent& event) const {
  return static_cast<int64_t>(event.offset) - BlockOffset();
}

// The controller turns the knob, which pushes its value to the amount through the same path as
// an editor gesture, so the host is told of the change.
void Ombrix::MoveAmountFromController(uint8_t value) {
  IControl* knob = nullptr;
  if (Editor() == feedback.editor) {
    knob = knobControl;
  } else if (IEditor* editor = LayoutEditor()) {
    knob = editor->Control(knobControlIndex);
  }
  if (!knob) {
    SetParameterFromEditor(ParamAmount, std::min(value / 127.0, 1.0));
    return;
  }
  knob->ShowValue(value / 127.0);
  knob->MarkDirty(true);
}

void Ombrix::ShowBlockFeedback(int beatParity) {
  IAttachedEditor* attached = Editor();
  if (!attached) {
    return;
  }
  if (attached == feedback.editor) {
    ShowMeterLevels(meterLevelLeft, meterLevelRight);
    for (int i = 0; i < feedback.themeCount; ++i) {
      feedback.theme[i]->ShowValue(beatParity);
    }
    for (int i = 0; i < feedback.linkedThemeCount; ++i) {
      feedback.linkedTheme[i].control->ReceiveLinkedValue(feedback.linkedTheme[i].position,
                                                          beatParity);
    }
    return;
  }
  // An editor other than the layout's (or one attached after it): the general way.
  if (IEditor* editor = LayoutEditor()) {
    for (const MeterPair& pair : meterControlIndices) {
      if (IControl* left = editor->Control(pair.left)) {
        left->ShowValue(meterLevelLeft);
      }
      if (IControl* right = editor->Control(pair.right)) {
        right->ShowValue(meterLevelRight);
      }
    }
  }
  attached->ShowParameterValue(ParamKelba, beatParity, true);
}

// Twelve meters every block: once each has taken its first level, the levels the processing
// makes (always 0 to 1) are stored without the comparisons ShowLevel makes for any value, which
// cost as much as clipping a short block.
void Ombrix::ShowMeterLevels(double left, double right) {
  const auto unitLevel = [](double level) { return !std::signbit(level) && level <= 1.0; };
  if (feedback.metersTakeUnitLevels && unitLevel(left) && unitLevel(right)) {
    for (ILevelMeter* const* pair : feedback.meters) {
      pair[0]->StoreUnitLevel(left);
      pair[1]->StoreUnitLevel(right);
    }
    return;
  }
  bool takeUnitLevels = true;
  for (ILevelMeter* const* pair : feedback.meters) {
    pair[0]->ShowLevel(left);
    pair[1]->ShowLevel(right);
    takeUnitLevels =
        takeUnitLevels && pair[0]->TakesUnitLevelsAsGiven() && pair[1]->TakesUnitLevelsAsGiven();
  }
  feedback.metersTakeUnitLevels = takeUnitLevels;
}

// The same controls ShowBlockFeedback would find through the editor, looked up once. An editor
// with more theme controls than there is room for, or meter places holding other controls, keeps
// the general way.
void Ombrix::ResolveFeedbackControls() {
  feedback = FeedbackControls();
  knobControl = nullptr;
  IEditor* editor = LayoutEditor();
  if (!editor) {
    return;
  }
  for (int stripe = 0; stripe < MeterStripeCount; ++stripe) {
    ILevelMeter* left =
        dynamic_cast<ILevelMeter*>(editor->Control(meterControlIndices[stripe].left));
    ILevelMeter* right =
        dynamic_cast<ILevelMeter*>(editor->Control(meterControlIndices[stripe].right));
    if (!left || !right) {
      return;
    }
    feedback.meters[stripe][0] = left;
    feedback.meters[stripe][1] = right;
  }
  for (int index = 0; index < editor->ControlCount(); ++index) {
    IControl* control = editor->Control(index);
    if (control->ParamIndex() == ParamKelba) {
      if (feedback.themeCount == FeedbackControls::ThemeCapacity) {
        return;
      }
      feedback.theme[feedback.themeCount++] = control;
    }
  }
  for (int index = 0; index < editor->ControlCount(); ++index) {
    IControl* control = editor->Control(index);
    const std::vector<IControl::LinkedParam>& linked = control->LinkedParams();
    for (size_t position = 0; position < linked.size(); ++position) {
      if (linked[position].paramIndex == ParamKelba) {
        if (feedback.linkedThemeCount == FeedbackControls::ThemeCapacity) {
          return;
        }
        feedback.linkedTheme[feedback.linkedThemeCount++] = {control, static_cast<int>(position)};
        break;
      }
    }
  }
  knobControl = editor->Control(knobControlIndex);
  feedback.editor = editor;
}

IEditor* Ombrix::LayoutEditor() {
  return dynamic_cast<IEditor*>(Editor());
}

void Ombrix::OnMidiEvent(const IMidiEvent* event) {
  midiQueue.Add(*event);
}

void Ombrix::OnReset() {
  IScopedLock guard(pluginLock);
  midiQueue.Compact();
  midiQueue.Resize(MaxBlockFrames());
}
