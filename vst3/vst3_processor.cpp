#include "vst3/Vst3Processor.h"

#include "plugin/PluginIdentity.h"
#include "vst3/InstanceRegistry.h"
#include "vst3/LinkMessage.h"
#include "vst3/StreamBytes.h"
#include "vst3/Vst3Entry.h"
#include "vst3/Vst3Text.h"

#include <bitset>
#include <cstring>
#include <new>

namespace {
constexpr vst3::int32 MidiChannels = 16;

// The bus kinds this effect has: one audio bus each way, and MIDI in and out.
bool IsBus(vst3::MediaType type, vst3::BusDirection dir, vst3::int32 index) {
  return index == 0 && (type == vst3::kAudio || type == vst3::kEvent) &&
         (dir == vst3::kInput || dir == vst3::kOutput);
}

int ChannelsOf(vst3::SpeakerArrangement arrangement) {
  return static_cast<int>(std::bitset<64>(arrangement).count());
}

// Mono and stereo are the arrangements the effect takes.
bool IsTakenArrangement(vst3::SpeakerArrangement arrangement) {
  return arrangement == vst3::kSpeakerArrMono || arrangement == vst3::kSpeakerArrStereo;
}
} // namespace

Vst3Processor* Vst3Processor::Create() {
  std::shared_ptr<IVst3Plugin> plugin = CreateVst3Instance();
  return plugin ? new (std::nothrow) Vst3Processor(std::move(plugin)) : nullptr;
}

Vst3Processor::Vst3Processor(std::shared_ptr<IVst3Plugin> effect) : plugin(std::move(effect)) {
  registryNumber = InstanceRegistry::Add(plugin);
}

Vst3Processor::~Vst3Processor() {
  InstanceRegistry::Remove(registryNumber);
}

vst3::tresult VST3CALL Vst3Processor::queryInterface(const vst3::TUID iid, void** obj) {
  if (!obj) {
    return vst3::kInvalidArgument;
  }
  *obj = nullptr;
  if (vst3::SameUid(iid, vst3::FUnknown_iid) || vst3::SameUid(iid, vst3::IPluginBase_iid) ||
      vst3::SameUid(iid, vst3::IComponent_iid)) {
    *obj = static_cast<vst3::IComponent*>(this);
  } else if (vst3::SameUid(iid, vst3::IAudioProcessor_iid)) {
    *obj = static_cast<vst3::IAudioProcessor*>(this);
  } else if (vst3::SameUid(iid, vst3::IProcessContextRequirements_iid)) {
    *obj = static_cast<vst3::IProcessContextRequirements*>(this);
  } else if (vst3::SameUid(iid, vst3::IConnectionPoint_iid)) {
    *obj = static_cast<vst3::IConnectionPoint*>(this);
  } else {
    return vst3::kNoInterface;
  }
  addRef();
  return vst3::kResultOk;
}

vst3::uint32 VST3CALL Vst3Processor::addRef() {
  return ++references;
}

vst3::uint32 VST3CALL Vst3Processor::release() {
  const vst3::uint32 left = --references;
  if (left == 0) {
    delete this;
  }
  return left;
}

vst3::tresult VST3CALL Vst3Processor::initialize(vst3::FUnknown* context) {
  link.Initialize(context, *plugin);
  return vst3::kResultOk;
}

vst3::tresult VST3CALL Vst3Processor::terminate() {
  if (link.Terminate()) {
    link.LetGo();
  }
  return vst3::kResultOk;
}

vst3::tresult VST3CALL Vst3Processor::getControllerClassId(vst3::TUID classId) {
  vst3::Uid controller{};
  if (!classId || !vst3::UidFromText(PluginIdentity().vst3ControllerId, &controller)) {
    return vst3::kResultFalse;
  }
  std::memcpy(classId, controller.bytes, sizeof(controller.bytes));
  return vst3::kResultOk;
}

vst3::tresult VST3CALL Vst3Processor::setIoMode(vst3::IoMode) {
  return vst3::kResultOk;
}

vst3::int32 VST3CALL Vst3Processor::getBusCount(vst3::MediaType type, vst3::BusDirection dir) {
  return IsBus(type, dir, 0) ? 1 : 0;
}

vst3::tresult VST3CALL Vst3Processor::getBusInfo(vst3::MediaType type, vst3::BusDirection dir,
                                                 vst3::int32 index, vst3::BusInfo* bus) {
  if (!bus || !IsBus(type, dir, index)) {
    return vst3::kInvalidArgument;
  }
  std::memset(bus, 0, sizeof(*bus));
  bus->mediaType = type;
  bus->direction = dir;
  bus->busType = vst3::kMain;
  bus->flags = vst3::kDefaultActive;
  if (type == vst3::kAudio) {
    bus->channelCount = ChannelsOf(dir == vst3::kInput ? inputArrangement : outputArrangement);
    vst3::CopyUtf16(bus->name, dir == vst3::kInput ? "Input" : "Output");
  } else {
    bus->channelCount = MidiChannels;
    vst3::CopyUtf16(bus->name, dir == vst3::kInput ? "MIDI In" : "MIDI Out");
  }
  return vst3::kResultOk;
}

vst3::tresult VST3CALL Vst3Processor::getRoutingInfo(vst3::RoutingInfo*, vst3::RoutingInfo*) {
  return vst3::kNotImplemented;
}

// An inactive bus's buffers read as silence and receive nothing: the block runner takes missing
// channel pointers so.
vst3::tresult VST3CALL Vst3Processor::activateBus(vst3::MediaType type, vst3::BusDirection dir,
                                                  vst3::int32 index, vst3::TBool) {
  return IsBus(type, dir, index) ? vst3::kResultOk : vst3::kInvalidArgument;
}

vst3::tresult VST3CALL Vst3Processor::setActive(vst3::TBool state) {
  plugin->SetActive(state != 0);
  return vst3::kResultOk;
}

vst3::tresult VST3CALL Vst3Processor::setState(vst3::IBStream* state) {
  std::vector<uint8_t> bytes;
  if (!vst3::ReadWholeStream(state, IVst3Plugin::LargestComponentState, &bytes)) {
    return vst3::kResultFalse;
  }
  return plugin->LoadComponentState(bytes.data(), static_cast<int64_t>(bytes.size()))
             ? vst3::kResultOk
             : vst3::kResultFalse;
}

vst3::tresult VST3CALL Vst3Processor::getState(vst3::IBStream* state) {
  std::vector<uint8_t> bytes;
  if (!state || !plugin->SaveComponentState(&bytes)) {
    return vst3::kResultFalse;
  }
  return vst3::WriteWholeStream(state, bytes) ? vst3::kResultOk : vst3::kResultFalse;
}

// One bus each way, mono or stereo as the effect's channel configurations allow; anything else
// keeps the arrangement held.
vst3::tresult VST3CALL Vst3Processor::setBusArrangements(vst3::SpeakerArrangement* inputs,
                                                         vst3::int32 numIns,
                                                         vst3::SpeakerArrangement* outputs,
                                                         vst3::int32 numOuts) {
  if (numIns != 1 || numOuts != 1 || !inputs || !outputs || !IsTakenArrangement(inputs[0]) ||
      !IsTakenArrangement(outputs[0]) ||
      !plugin->SetChannels(ChannelsOf(inputs[0]), ChannelsOf(outputs[0]))) {
    return vst3::kResultFalse;
  }
  inputArrangement = inputs[0];
  outputArrangement = outputs[0];
  return vst3::kResultTrue;
}

vst3::tresult VST3CALL Vst3Processor::getBusArrangement(vst3::BusDirection dir, vst3::int32 index,
                                                        vst3::SpeakerArrangement* arr) {
  if (!arr || !IsBus(vst3::kAudio, dir, index)) {
    return vst3::kInvalidArgument;
  }
  *arr = dir == vst3::kInput ? inputArrangement : outputArrangement;
  return vst3::kResultOk;
}

vst3::tresult VST3CALL Vst3Processor::canProcessSampleSize(vst3::int32 symbolicSampleSize) {
  return symbolicSampleSize == vst3::kSample32 || symbolicSampleSize == vst3::kSample64
             ? vst3::kResultTrue
             : vst3::kResultFalse;
}

vst3::uint32 VST3CALL Vst3Processor::getLatencySamples() {
  return static_cast<vst3::uint32>(plugin->ProcessingDelay());
}

vst3::tresult VST3CALL Vst3Processor::setupProcessing(vst3::ProcessSetup* setup) {
  if (!setup) {
    return vst3::kInvalidArgument;
  }
  plugin->SetupProcessing(*setup);
  return vst3::kResultOk;
}

// May come on the audio thread: nothing to allocate or reset here (the clipper holds no history).
vst3::tresult VST3CALL Vst3Processor::setProcessing(vst3::TBool) {
  return vst3::kResultOk;
}

vst3::tresult VST3CALL Vst3Processor::process(vst3::ProcessData* data) {
  return data ? plugin->Process(*data) : vst3::kInvalidArgument;
}

vst3::uint32 VST3CALL Vst3Processor::getTailSamples() {
  return vst3::kNoTail;
}

vst3::uint32 VST3CALL Vst3Processor::getProcessContextRequirements() {
  return vst3::kNeedProjectTimeMusic | vst3::kNeedBarPositionMusic | vst3::kNeedCycleMusic |
         vst3::kNeedTempo | vst3::kNeedTimeSignature | vst3::kNeedTransportState;
}

vst3::tresult VST3CALL Vst3Processor::connect(vst3::IConnectionPoint* other) {
  const vst3::tresult result = link.Connect(other);
  if (result == vst3::kResultOk) {
    TellNumber();
  }
  return result;
}

vst3::tresult VST3CALL Vst3Processor::disconnect(vst3::IConnectionPoint* other) {
  return link.Disconnect(other) ? vst3::kResultOk : vst3::kResultFalse;
}

vst3::tresult VST3CALL Vst3Processor::notify(vst3::IMessage* message) {
  if (LinkMessage::Is(message, LinkMessage::AskProcessorNumber)) {
    TellNumber();
  }
  return vst3::kResultOk;
}

void Vst3Processor::TellNumber() {
  LinkMessage::Send(link.Host(), link.Peer(), LinkMessage::ProcessorNumber, &registryNumber);
}
