// The VST 3 bundle's module loaded by file and driven through its factory, processor, controller
// and view, as Ardour drives them (tests/vst3/Vst3TestHost.h).
#include "tests/bindings/BindingAdapter.h"
#include "tests/vst3/Vst3TestHost.h"

#include <cstdio>
#include <mutex>

namespace {
constexpr size_t MaxPerBlock = 256;
constexpr double BeatsPerMinute = 120.0;
constexpr int BeatsPerBar = 4;
constexpr vst3::ParamID ProgramParameter = 3;
constexpr int FactoryPrograms = 5;

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

class Vst3Adapter : public BindingAdapter {
public:
  Vst3Adapter(double sampleRate, int blockFrames)
      : instance(sampleRate, blockFrames), midi(instance.controller) {
    EXPECT_TRUE(instance.Ready());
    points.reserve(MaxPerBlock);
    events.reserve(MaxPerBlock);
  }
#if OMBRIX_BINDING_X11_EDITOR
  ~Vst3Adapter() override {
    CloseEditor();
  }
#endif

  bool ReachesPluginAsEvent(const MidiAt& message) const override {
    return vst3host::MidiInput::IsEvent(message.status);
  }
  bool ControllerSplitsBlock() const override {
    return true;
  }

  // A controller becomes a parameter change where the plug-in maps it, else the host drops it;
  // notes and pressure go in as events.
  void QueueMidi(const MidiAt& message) override {
    std::lock_guard<std::mutex> guard(hostLock);
    vst3::ParamID id = 0;
    double value = 0.0;
    vst3::Event event;
    if (midi.ControllerChange(message.status, message.data1, message.data2, &id, &value)) {
      points.push_back({id, message.frame, value});
    } else if (vst3host::MidiInput::EventFor(message.frame, message.status, message.data1,
                                             message.data2, &event)) {
      events.push_back(event);
    }
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
        MidiAt message;
        message.frame = event.sampleOffset;
        uint8_t bytes[3] = {};
        if (vst3host::MidiInput::MidiOf(event, bytes)) {
          message.status = bytes[0];
          message.data1 = bytes[1];
          message.data2 = bytes[2];
        }
        passedBack.push_back(message);
      }
    }
    instance.outputEvents.events.clear();
  }
  void KeepPassedBackMidi(bool keep) override {
    keepPassedBack = keep;
  }
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
  std::vector<uint8_t> SaveState() override {
    return instance.SaveState();
  }
  bool LoadState(const std::vector<uint8_t>& state) override {
    return instance.LoadState(state) == vst3::kResultOk;
  }
  bool RefusedStateChangesNothing() const override {
    return true;
  }

#if OMBRIX_BINDING_X11_EDITOR
  bool OpenEditor(X11TestHost&, Window parent) override {
    view = instance.controller->createView(vst3::kEditorViewType);
    if (!view) {
      return false;
    }
    view->setFrame(&frame);
    return view->attached(reinterpret_cast<void*>(static_cast<std::uintptr_t>(parent)),
                          vst3::kPlatformTypeX11EmbedWindowID) == vst3::kResultOk;
  }
  void IdleEditor() override {
    frame.RunOnce();
  }
  bool ScaleEditor(X11TestHost&, Window, double scale) override {
    auto* support = vst3host::Query<vst3::IPlugViewContentScaleSupport>(
        view, vst3::IPlugViewContentScaleSupport_iid);
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
#endif

private:
  struct Point {
    vst3::ParamID id;
    int frame;
    double value;
  };

  vst3host::Instance instance;
#if OMBRIX_BINDING_X11_EDITOR
  vst3host::PlugFrame frame;
  vst3::IPlugView* view = nullptr;
#endif
  vst3host::MidiInput midi;
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
