#pragma once

#include "vst3/HostApplication.h"
#include "vst3/IVst3Plugin.h"
#include "vst3/Vst3Abi.h"

#include <atomic>
#include <memory>

// The processor component the factory makes for the processor class: the component, the audio
// processor and the connection to the controller, on one effect instance. Hosts may use it
// without any controller (scanners, offline renders).
class Vst3Processor final : public vst3::IComponent,
                            public vst3::IAudioProcessor,
                            public vst3::IProcessContextRequirements,
                            public vst3::IConnectionPoint {
public:
  // Null when no effect could be made.
  static Vst3Processor* Create();

  vst3::tresult VST3CALL queryInterface(const vst3::TUID iid, void** obj) override;
  vst3::uint32 VST3CALL addRef() override;
  vst3::uint32 VST3CALL release() override;

  vst3::tresult VST3CALL initialize(vst3::FUnknown* context) override;
  vst3::tresult VST3CALL terminate() override;

  vst3::tresult VST3CALL getControllerClassId(vst3::TUID classId) override;
  vst3::tresult VST3CALL setIoMode(vst3::IoMode mode) override;
  vst3::int32 VST3CALL getBusCount(vst3::MediaType type, vst3::BusDirection dir) override;
  vst3::tresult VST3CALL getBusInfo(vst3::MediaType type, vst3::BusDirection dir, vst3::int32 index,
                                    vst3::BusInfo* bus) override;
  vst3::tresult VST3CALL getRoutingInfo(vst3::RoutingInfo* inInfo,
                                        vst3::RoutingInfo* outInfo) override;
  vst3::tresult VST3CALL activateBus(vst3::MediaType type, vst3::BusDirection dir,
                                     vst3::int32 index, vst3::TBool state) override;
  vst3::tresult VST3CALL setActive(vst3::TBool state) override;
  vst3::tresult VST3CALL setState(vst3::IBStream* state) override;
  vst3::tresult VST3CALL getState(vst3::IBStream* state) override;

  vst3::tresult VST3CALL setBusArrangements(vst3::SpeakerArrangement* inputs, vst3::int32 numIns,
                                            vst3::SpeakerArrangement* outputs,
                                            vst3::int32 numOuts) override;
  vst3::tresult VST3CALL getBusArrangement(vst3::BusDirection dir, vst3::int32 index,
                                           vst3::SpeakerArrangement* arr) override;
  vst3::tresult VST3CALL canProcessSampleSize(vst3::int32 symbolicSampleSize) override;
  vst3::uint32 VST3CALL getLatencySamples() override;
  vst3::tresult VST3CALL setupProcessing(vst3::ProcessSetup* setup) override;
  vst3::tresult VST3CALL setProcessing(vst3::TBool state) override;
  vst3::tresult VST3CALL process(vst3::ProcessData* data) override;
  vst3::uint32 VST3CALL getTailSamples() override;

  vst3::uint32 VST3CALL getProcessContextRequirements() override;

  vst3::tresult VST3CALL connect(vst3::IConnectionPoint* other) override;
  vst3::tresult VST3CALL disconnect(vst3::IConnectionPoint* other) override;
  vst3::tresult VST3CALL notify(vst3::IMessage* message) override;

private:
  explicit Vst3Processor(std::shared_ptr<IVst3Plugin> effect);
  ~Vst3Processor();
  void TellNumber();

  std::atomic<vst3::uint32> references{1};
  std::shared_ptr<IVst3Plugin> plugin;
  int64_t registryNumber = 0;
  // Some hosts initialize an object once per interface: the first initialize and the last
  // terminate count.
  Vst3HostLink link;
  vst3::SpeakerArrangement inputArrangement = vst3::kSpeakerArrStereo;
  vst3::SpeakerArrangement outputArrangement = vst3::kSpeakerArrStereo;
};
