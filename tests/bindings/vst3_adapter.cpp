// The VST 3 bundle's module loaded by file and driven through its factory, processor, controller
// and view, as Ardour drives them (tests/vst3/Vst3TestHost.h).
#include "tests/bindings/BindingAdapter.h"
#include "tests/vst3/Vst3TestHost.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace {
constexpr size_t MaxPerBlock = 256;
constexpr int MidiChannels = 16;
constexpr int Controllers = 128;
constexpr double DataMax = 127.0;
constexpr double BeatsPerMinute = 120.0;
constexpr int BeatsPerBar = 4;
constexpr vst3::ParamID ProgramParameter = 3;
constexpr int FactoryPrograms = 5;
constexpr uint8_t NoteOff = 0x80;
constexpr uint8_t NoteOn = 0x90;
constexpr uint8_t PolyPressure = 0xA0;
constexpr uint8_t ControlChange = 0xB0;

// The plug-in's parameter ids: the VST 2 build's indices.
vst3::ParamID IdOf(OmbrixParameter parameter) {
  switch (parameter) {
  case OmbrixParameter::Amount:
    return 0;
  case OmbrixParameter::KelbaEnabled:
    return 1;
  case OmbrixParameter::Kelba:
    return 2;
  }
  return 0;
}

uint8_t DataByte(float fraction) {
  return static_cast<uint8_t>(std::lround(fraction * DataMax));
}

template <typename Interface> Interface* Query(vst3::FUnknown* object, const vst3::Uid& iid) {
  void* found = nullptr;
  return object && object->queryInterface(iid.Tuid(), &found) == vst3::kResultOk
             ? static_cast<Interface*>(found)
             : nullptr;
}

class Vst3Adapter : public BindingAdapter {
public:
  Vst3Adapter(double sampleRate, int blockFrames) : instance(sampleRate, blockFrames) {
    EXPECT_TRUE(instance.Ready());
    // Hosts ask the mapping once (and again when told it changed), not per message.
    std::memset(mapped, -1, sizeof(mapped));
    if (auto* mapping = Query<vst3::IMidiMapping>(instance.controller, vst3::IMidiMapping_iid)) {
      for (int channel = 0; channel < MidiChannels; ++channel) {
        for (int number = 0; number < Controllers; ++number) {
          vst3::ParamID id = 0;
          if (mapping->getMidiControllerAssignment(0, static_cast<vst3::int16>(channel),
                                                   static_cast<vst3::int16>(number),
                                                   &id) == vst3::kResultTrue) {
            mapped[channel][number] = static_cast<int64_t>(id);
          }
        }
      }
      mapping->release();
    }
    points.reserve(MaxPerBlock);
    events.reserve(MaxPerBlock);
  }
  ~Vst3Adapter() override { CloseEditor(); }

  bool ReachesPluginAsEvent(const MidiAt& message) const override {
    const uint8_t kind = message.status & 0xF0;
    return kind == NoteOn || kind == NoteOff || kind == PolyPressure;
  }
  bool ControllerSplitsBlock() const override { return true; }

  // A controller becomes a parameter change where the plug-in maps it, else the host drops it;
  // notes and pressure go in as events.
  void QueueMidi(const MidiAt& message) override {
    std::lock_guard<std::mutex> guard(hostLock);
    const uint8_t kind = message.status & 0xF0;
    const int channel = message.status & 0x0F;
    if (kind == ControlChange) {
      const int64_t id = mapped[channel][message.data1 & 0x7F];
      if (id >= 0) {
        points.push_back({static_cast<vst3::ParamID>(id), message.frame, message.data2 / DataMax});
      }
      return;
    }
    if (!ReachesPluginAsEvent(message)) {
      return;
    }
    vst3::Event event;
    std::memset(&event, 0, sizeof(event));
    event.sampleOffset = message.frame;
    const auto midiChannel = static_cast<vst3::int16>(channel);
    const auto key = static_cast<vst3::int16>(message.data1);
    const float amount = static_cast<float>(message.data2 / DataMax);
    if (kind == NoteOn) {
      event.type = vst3::Event::kNoteOnEvent;
      event.noteOn = {midiChannel, key, 0.0f, amount, 0, -1};
    } else if (kind == NoteOff) {
      event.type = vst3::Event::kNoteOffEvent;
      event.noteOff = {midiChannel, key, amount, -1, 0.0f};
    } else {
      event.type = vst3::Event::kPolyPressureEvent;
      event.polyPressure = {midiChannel, key, amount, -1};
    }
    events.push_back(event);
  }
  void StartTransport(double beat) override {
    std::lock_guard<std::mutex> guard(hostLock);
    vst3::ProcessContext& context = instance.context;
    context.state = vst3::ProcessContext::kPlaying | vst3::ProcessContext::kTempoValid |
                    vst3::ProcessContext::kProjectTimeMusicValid |
                    vst3::ProcessContext::kTimeSigValid;
    context.tempo = BeatsPerMinute;
    context.projectTimeMusic = beat;
    context.timeSigNumerator = BeatsPerBar;
    context.timeSigDenominator = BeatsPerBar;
  }
  void Process(const std::vector<float>& left, const std::vector<float>& right,
               std::vector<float>& outLeft, std::vector<float>& outRight) override {
    std::lock_guard<std::mutex> guard(hostLock);
    for (const Point& point : points) {
      instance.changes.Add(point.id, point.frame, point.value);
    }
    points.clear();
    for (vst3::Event& event : events) {
      instance.inputEvents.addEvent(&event);
    }
    events.clear();
    float* in[2] = {const_cast<float*>(left.data()), const_cast<float*>(right.data())};
    float* out[2] = {outLeft.data(), outRight.data()};
    instance.Process(in, out, static_cast<int>(left.size()));
    if (keepPassedBack) {
      for (const vst3::Event& event : instance.outputEvents.events) {
        passedBack.push_back(AsMidi(event));
      }
    }
    instance.outputEvents.events.clear();
  }
  void KeepPassedBackMidi(bool keep) override { keepPassedBack = keep; }
  std::vector<MidiAt> TakePassedBackMidi() override {
    std::lock_guard<std::mutex> guard(hostLock);
    return std::move(passedBack);
  }

  // As a host types the value: the controller reads the text, the processor gets the change.
  void SetParameter(OmbrixParameter parameter, double value) override {
    const vst3::ParamID id = IdOf(parameter);
    char text[64];
    std::snprintf(text, sizeof(text), "%.17g", value);
    vst3::String128 typed = {};
    for (size_t i = 0; text[i]; ++i) {
      typed[i] = static_cast<vst3::char16>(text[i]);
    }
    vst3::ParamValue normalized = 0.0;
    ASSERT_EQ(instance.controller->getParamValueByString(id, typed, &normalized), vst3::kResultOk);
    std::lock_guard<std::mutex> guard(hostLock);
    points.push_back({id, 0, normalized});
  }
  void SelectProgram(int program) override {
    std::lock_guard<std::mutex> guard(hostLock);
    points.push_back({ProgramParameter, 0, static_cast<double>(program) / (FactoryPrograms - 1)});
  }
  std::vector<uint8_t> SaveState() override { return instance.SaveState(); }
  bool LoadState(const std::vector<uint8_t>& state) override {
    return instance.LoadState(state) == vst3::kResultOk;
  }
  bool RefusedStateChangesNothing() const override { return true; }

  bool OpenEditor(X11TestHost&, Window parent) override {
    view = instance.controller->createView(vst3::kEditorViewType);
    if (!view) {
      return false;
    }
    view->setFrame(&frame);
    return view->attached(reinterpret_cast<void*>(static_cast<std::uintptr_t>(parent)),
                          vst3::kPlatformTypeX11EmbedWindowID) == vst3::kResultOk;
  }
  void IdleEditor() override { frame.RunOnce(); }
  bool ScaleEditor(X11TestHost&, Window, double scale) override {
    auto* support =
        Query<vst3::IPlugViewContentScaleSupport>(view, vst3::IPlugViewContentScaleSupport_iid);
    if (!support) {
      return false;
    }
    const bool taken =
        support->setContentScaleFactor(static_cast<float>(scale)) == vst3::kResultTrue;
    support->release();
    return taken;
  }
  void CloseEditor() override {
    if (view) {
      view->removed();
      view->setFrame(nullptr);
      view->release();
      view = nullptr;
    }
  }

private:
  struct Point {
    vst3::ParamID id;
    int frame;
    double value;
  };

  static MidiAt AsMidi(const vst3::Event& event) {
    MidiAt message;
    message.frame = event.sampleOffset;
    switch (event.type) {
    case vst3::Event::kNoteOnEvent:
      message.status = static_cast<uint8_t>(NoteOn | event.noteOn.channel);
      message.data1 = static_cast<uint8_t>(event.noteOn.pitch);
      message.data2 = DataByte(event.noteOn.velocity);
      break;
    case vst3::Event::kNoteOffEvent:
      message.status = static_cast<uint8_t>(NoteOff | event.noteOff.channel);
      message.data1 = static_cast<uint8_t>(event.noteOff.pitch);
      message.data2 = DataByte(event.noteOff.velocity);
      break;
    case vst3::Event::kPolyPressureEvent:
      message.status = static_cast<uint8_t>(PolyPressure | event.polyPressure.channel);
      message.data1 = static_cast<uint8_t>(event.polyPressure.pitch);
      message.data2 = DataByte(event.polyPressure.pressure);
      break;
    case vst3::Event::kLegacyMIDICCOutEvent:
      message.status = static_cast<uint8_t>(ControlChange | event.midiCCOut.channel);
      message.data1 = event.midiCCOut.controlNumber;
      message.data2 = static_cast<uint8_t>(event.midiCCOut.value);
      break;
    default:
      break;
    }
    return message;
  }

  vst3host::Instance instance;
  vst3host::PlugFrame frame;
  vst3::IPlugView* view = nullptr;
  int64_t mapped[MidiChannels][Controllers];
  std::mutex hostLock;
  std::vector<Point> points;
  std::vector<vst3::Event> events;
  bool keepPassedBack = true;
  std::vector<MidiAt> passedBack;
};
} // namespace

std::unique_ptr<BindingAdapter> MakeVst3Adapter(double sampleRate, int blockFrames) {
  return std::make_unique<Vst3Adapter>(sampleRate, blockFrames);
}
