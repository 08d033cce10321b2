#pragma once

#include "vst3/Vst3Abi.h"

#include <atomic>

// The module's one factory: the processor class and the controller class, with the ids hosts
// derive from the VST 2 build (so projects saved with it open with this one). Static: each
// GetPluginFactory hands out a reference, and the count going back to zero only lets go of the
// host's context.
class Vst3Factory final : public vst3::IPluginFactory3 {
public:
  enum ClassIndex : vst3::int32 { ProcessorClass = 0, ControllerClass = 1, ClassCount = 2 };

  static Vst3Factory& Instance();

  vst3::tresult VST3CALL queryInterface(const vst3::TUID iid, void** obj) override;
  vst3::uint32 VST3CALL addRef() override;
  vst3::uint32 VST3CALL release() override;

  vst3::tresult VST3CALL getFactoryInfo(vst3::PFactoryInfo* info) override;
  vst3::int32 VST3CALL countClasses() override;
  vst3::tresult VST3CALL getClassInfo(vst3::int32 index, vst3::PClassInfo* info) override;
  vst3::tresult VST3CALL createInstance(vst3::FIDString cid, vst3::FIDString iid,
                                        void** obj) override;
  vst3::tresult VST3CALL getClassInfo2(vst3::int32 index, vst3::PClassInfo2* info) override;
  vst3::tresult VST3CALL getClassInfoUnicode(vst3::int32 index, vst3::PClassInfoW* info) override;
  vst3::tresult VST3CALL setHostContext(vst3::FUnknown* context) override;

  vst3::FUnknown* HostContext() const { return hostContext; }

private:
  Vst3Factory() = default;

  std::atomic<vst3::uint32> references{0};
  vst3::FUnknown* hostContext = nullptr;
};

extern "C" vst3::IPluginFactory* VST3CALL GetPluginFactory();
