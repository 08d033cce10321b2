#include "host/vst3/Vst3Host.h"

#include <algorithm>
#include <cstring>
#include <utility>

// The plug-in made and driven as a host does (the host's objects: vst3_host_objects.cpp).
namespace vst3host {
namespace {
vst3::SpeakerArrangement ArrangementFor(int channels) {
  switch (channels) {
  case 0:
    return vst3::kSpeakerArrEmpty;
  case 1:
    return vst3::kSpeakerArrMono;
  case 2:
    return vst3::kSpeakerArrStereo;
  default:
    // The first speakers, one bit each.
    return (vst3::SpeakerArrangement{1} << channels) - 1;
  }
}

int MainBusChannels(vst3::IComponent* processor, vst3::BusDirection direction) {
  vst3::BusInfo info{};
  return processor->getBusCount(vst3::kAudio, direction) > 0 &&
                 processor->getBusInfo(vst3::kAudio, direction, 0, &info) == vst3::kResultOk
             ? info.channelCount
             : 0;
}
} // namespace

PluginInstance::PluginInstance(vst3::IPluginFactory* factory) {
  if (!factory) {
    return;
  }
  vst3::PClassInfo info{};
  for (vst3::int32 i = 0; i < factory->countClasses() && !processor; ++i) {
    if (factory->getClassInfo(i, &info) == vst3::kResultOk &&
        std::strcmp(info.category, vst3::kVstAudioEffectClass) == 0) {
      void* made = nullptr;
      if (factory->createInstance(info.cid, vst3::IComponent_iid.Tuid(), &made) ==
          vst3::kResultOk) {
        processor = static_cast<vst3::IComponent*>(made);
        className = info.name;
      }
    }
  }
  if (!processor || processor->initialize(&application) != vst3::kResultOk) {
    return;
  }
  audio = Query<vst3::IAudioProcessor>(processor, vst3::IAudioProcessor_iid);
  vst3::TUID controllerId;
  void* made = nullptr;
  if (processor->getControllerClassId(controllerId) == vst3::kResultOk &&
      factory->createInstance(controllerId, vst3::IEditController_iid.Tuid(), &made) ==
          vst3::kResultOk) {
    controller = static_cast<vst3::IEditController*>(made);
    controller->initialize(&application);
    controller->setComponentHandler(&handler);
  }
  processorPoint = Query<vst3::IConnectionPoint>(processor, vst3::IConnectionPoint_iid);
  controllerPoint = Query<vst3::IConnectionPoint>(controller, vst3::IConnectionPoint_iid);
  if (processorPoint && controllerPoint) {
    toController = std::make_unique<ConnectionProxy>(controllerPoint);
    toProcessor = std::make_unique<ConnectionProxy>(processorPoint);
    processorPoint->connect(toController.get());
    controllerPoint->connect(toProcessor.get());
  }
  if (controller) {
    MemoryStream state;
    processor->getState(&state);
    state.position = 0;
    controller->setComponentState(&state);
  }
  if (audio) {
    inputChannels = MainBusChannels(processor, vst3::kInput);
    outputChannels = MainBusChannels(processor, vst3::kOutput);
  }
}

bool PluginInstance::Setup(double sampleRate, int blockFrames, vst3::int32 size, vst3::int32 mode) {
  Shutdown();
  if (!Made()) {
    return false;
  }
  sampleSize = size;
  processMode = mode;
  vst3::SpeakerArrangement in[] = {ArrangementFor(inputChannels)};
  vst3::SpeakerArrangement out[] = {ArrangementFor(outputChannels)};
  audio->setBusArrangements(in, inputChannels > 0 ? 1 : 0, out, outputChannels > 0 ? 1 : 0);
  for (vst3::MediaType type : {vst3::kAudio, vst3::kEvent}) {
    for (vst3::BusDirection dir : {vst3::kInput, vst3::kOutput}) {
      if (processor->getBusCount(type, dir) > 0) {
        processor->activateBus(type, dir, 0, 1);
      }
    }
  }
  vst3::ProcessSetup setup{mode, sampleSize, blockFrames, sampleRate};
  if (audio->setupProcessing(&setup) != vst3::kResultOk ||
      processor->setActive(1) != vst3::kResultOk) {
    return false;
  }
  audio->setProcessing(1);
  context.sampleRate = sampleRate;
  processing = true;
  return true;
}

void PluginInstance::Shutdown() {
  if (processing) {
    audio->setProcessing(0);
    processor->setActive(0);
    processing = false;
  }
}

PluginInstance::~PluginInstance() {
  Shutdown();
  if (processorPoint && controllerPoint) {
    processorPoint->disconnect(toController.get());
    controllerPoint->disconnect(toProcessor.get());
  }
  for (vst3::IConnectionPoint* point : {processorPoint, controllerPoint}) {
    if (point) {
      point->release();
    }
  }
  if (controller) {
    controller->setComponentHandler(nullptr);
    controller->terminate();
    controller->release();
  }
  if (audio) {
    audio->release();
  }
  if (processor) {
    processor->terminate();
    processor->release();
  }
}

vst3::tresult PluginInstance::Run(vst3::ProcessData& data) {
  data.processMode = processMode;
  data.symbolicSampleSize = sampleSize;
  data.inputParameterChanges = &changes;
  data.outputParameterChanges = &outputChanges;
  data.inputEvents = &inputEvents;
  data.outputEvents = &outputEvents;
  data.processContext = passContext ? &context : nullptr;
  outputChanges.Clear();
  const vst3::tresult result = audio->process(&data);
  changes.Clear();
  inputEvents.events.clear();
  if (context.state & vst3::ProcessContext::kPlaying) {
    const double beats = data.numSamples * context.tempo / (60.0 * context.sampleRate);
    context.projectTimeMusic += beats;
    context.projectTimeSamples += data.numSamples;
  }
  return result;
}

vst3::tresult PluginInstance::RunBuses(vst3::AudioBusBuffers& in, vst3::AudioBusBuffers& out,
                                       int frames) {
  in.numChannels = inputChannels;
  out.numChannels = outputChannels;
  vst3::ProcessData data{};
  data.numSamples = frames;
  data.numInputs = inputChannels > 0 ? 1 : 0;
  data.numOutputs = outputChannels > 0 ? 1 : 0;
  data.inputs = &in;
  data.outputs = &out;
  return Run(data);
}

vst3::tresult PluginInstance::Process(float* const* inputs, float* const* outputs, int frames) {
  vst3::AudioBusBuffers in{};
  vst3::AudioBusBuffers out{};
  in.channelBuffers32 = const_cast<float**>(inputs);
  out.channelBuffers32 = const_cast<float**>(outputs);
  return RunBuses(in, out, frames);
}

vst3::tresult PluginInstance::Process64(double* const* inputs, double* const* outputs, int frames) {
  vst3::AudioBusBuffers in{};
  vst3::AudioBusBuffers out{};
  in.channelBuffers64 = const_cast<double**>(inputs);
  out.channelBuffers64 = const_cast<double**>(outputs);
  return RunBuses(in, out, frames);
}

vst3::tresult PluginInstance::Flush() {
  vst3::ProcessData data{};
  return Run(data);
}

std::vector<uint8_t> PluginInstance::SaveState() {
  MemoryStream stream;
  return processor->getState(&stream) == vst3::kResultOk ? stream.bytes : std::vector<uint8_t>{};
}

vst3::tresult PluginInstance::LoadState(const std::vector<uint8_t>& bytes) {
  MemoryStream forProcessor(bytes);
  const vst3::tresult result = processor->setState(&forProcessor);
  if (controller) {
    MemoryStream forController(bytes);
    controller->setComponentState(&forController);
  }
  return result;
}
} // namespace vst3host
