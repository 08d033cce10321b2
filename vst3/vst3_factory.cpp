#include "vst3/Vst3Factory.h"

#include "plugin/PluginIdentity.h"
#include "vst3/FactoryContext.h"
#include "vst3/Vst3Controller.h"
#include "vst3/Vst3Processor.h"
#include "vst3/Vst3Text.h"

#include <cstring>

namespace {
constexpr const char* VendorUrl = "https://quillmarsh.example/";
constexpr const char* VendorEmail = "";
constexpr const char* EffectSubCategories = "Fx|Distortion";

vst3::Uid ClassId(vst3::int32 index) {
  vst3::Uid uid{};
  vst3::UidFromText(index == Vst3Factory::ProcessorClass ? PluginIdentity().vst3ProcessorId
                                                         : PluginIdentity().vst3ControllerId,
                    &uid);
  return uid;
}

bool IsClass(vst3::int32 index) {
  return index >= 0 && index < Vst3Factory::ClassCount;
}

const char* CategoryOf(vst3::int32 index) {
  return index == Vst3Factory::ProcessorClass ? vst3::kVstAudioEffectClass
                                              : vst3::kVstComponentControllerClass;
}

// The processor and controller share nothing but host interfaces in principle, yet the view
// shows the processor's editor through the link: the two must run in one process.
constexpr vst3::uint32 ClassFlags = 0;

// Hands a new object's interface to the host and drops the creation's own reference.
template <typename Object> vst3::tresult HandOver(Object* object, vst3::FIDString iid, void** obj) {
  if (!object) {
    return vst3::kOutOfMemory;
  }
  const vst3::tresult result = object->queryInterface(iid, obj);
  object->release();
  return result;
}
} // namespace

Vst3Factory& Vst3Factory::Instance() {
  static Vst3Factory factory;
  return factory;
}

vst3::FUnknown* FactoryHostContext() {
  return Vst3Factory::Instance().HostContext();
}

vst3::tresult VST3CALL Vst3Factory::queryInterface(const vst3::TUID iid, void** obj) {
  if (!obj) {
    return vst3::kInvalidArgument;
  }
  if (vst3::SameUid(iid, vst3::FUnknown_iid) || vst3::SameUid(iid, vst3::IPluginFactory_iid) ||
      vst3::SameUid(iid, vst3::IPluginFactory2_iid) ||
      vst3::SameUid(iid, vst3::IPluginFactory3_iid)) {
    *obj = static_cast<vst3::IPluginFactory3*>(this);
    addRef();
    return vst3::kResultOk;
  }
  *obj = nullptr;
  return vst3::kNoInterface;
}

vst3::uint32 VST3CALL Vst3Factory::addRef() {
  return ++references;
}

vst3::uint32 VST3CALL Vst3Factory::release() {
  const vst3::uint32 left = --references;
  if (left == 0) {
    setHostContext(nullptr);
  }
  return left;
}

vst3::tresult VST3CALL Vst3Factory::getFactoryInfo(vst3::PFactoryInfo* info) {
  if (!info) {
    return vst3::kInvalidArgument;
  }
  std::memset(info, 0, sizeof(*info));
  vst3::CopyText(info->vendor, sizeof(info->vendor), PluginIdentity().vendorName);
  vst3::CopyText(info->url, sizeof(info->url), VendorUrl);
  vst3::CopyText(info->email, sizeof(info->email), VendorEmail);
  info->flags = vst3::PFactoryInfo::kUnicode;
  return vst3::kResultOk;
}

vst3::int32 VST3CALL Vst3Factory::countClasses() {
  return ClassCount;
}

vst3::tresult VST3CALL Vst3Factory::getClassInfo(vst3::int32 index, vst3::PClassInfo* info) {
  if (!info || !IsClass(index)) {
    return vst3::kInvalidArgument;
  }
  std::memset(info, 0, sizeof(*info));
  std::memcpy(info->cid, ClassId(index).bytes, sizeof(info->cid));
  info->cardinality = vst3::kManyInstances;
  vst3::CopyText(info->category, sizeof(info->category), CategoryOf(index));
  vst3::CopyText(info->name, sizeof(info->name), PluginIdentity().effectName);
  return vst3::kResultOk;
}

vst3::tresult VST3CALL Vst3Factory::getClassInfo2(vst3::int32 index, vst3::PClassInfo2* info) {
  if (!info || !IsClass(index)) {
    return vst3::kInvalidArgument;
  }
  std::memset(info, 0, sizeof(*info));
  std::memcpy(info->cid, ClassId(index).bytes, sizeof(info->cid));
  info->cardinality = vst3::kManyInstances;
  vst3::CopyText(info->category, sizeof(info->category), CategoryOf(index));
  vst3::CopyText(info->name, sizeof(info->name), PluginIdentity().effectName);
  info->classFlags = ClassFlags;
  vst3::CopyText(info->subCategories, sizeof(info->subCategories),
                 index == ProcessorClass ? EffectSubCategories : "");
  vst3::CopyText(info->vendor, sizeof(info->vendor), PluginIdentity().vendorName);
  vst3::CopyText(info->version, sizeof(info->version), PluginIdentity().versionText);
  vst3::CopyText(info->sdkVersion, sizeof(info->sdkVersion), vst3::kVstVersionString);
  return vst3::kResultOk;
}

vst3::tresult VST3CALL Vst3Factory::getClassInfoUnicode(vst3::int32 index,
                                                        vst3::PClassInfoW* info) {
  if (!info || !IsClass(index)) {
    return vst3::kInvalidArgument;
  }
  std::memset(info, 0, sizeof(*info));
  std::memcpy(info->cid, ClassId(index).bytes, sizeof(info->cid));
  info->cardinality = vst3::kManyInstances;
  vst3::CopyText(info->category, sizeof(info->category), CategoryOf(index));
  vst3::CopyUtf16(info->name, PluginIdentity().effectName);
  info->classFlags = ClassFlags;
  vst3::CopyText(info->subCategories, sizeof(info->subCategories),
                 index == ProcessorClass ? EffectSubCategories : "");
  vst3::CopyUtf16(info->vendor, PluginIdentity().vendorName);
  vst3::CopyUtf16(info->version, PluginIdentity().versionText);
  vst3::CopyUtf16(info->sdkVersion, vst3::kVstVersionString);
  return vst3::kResultOk;
}

// The ids are 16 raw bytes, not text: they may hold zeros.
vst3::tresult VST3CALL Vst3Factory::createInstance(vst3::FIDString cid, vst3::FIDString iid,
                                                   void** obj) {
  if (!obj) {
    return vst3::kInvalidArgument;
  }
  *obj = nullptr;
  if (!cid || !iid) {
    return vst3::kInvalidArgument;
  }
  if (vst3::SameUid(cid, ClassId(ProcessorClass))) {
    return HandOver(Vst3Processor::Create(), iid, obj);
  }
  if (vst3::SameUid(cid, ClassId(ControllerClass))) {
    return HandOver(Vst3Controller::Create(), iid, obj);
  }
  return vst3::kNoInterface;
}

vst3::tresult VST3CALL Vst3Factory::setHostContext(vst3::FUnknown* context) {
  if (context) {
    context->addRef();
  }
  if (hostContext) {
    hostContext->release();
  }
  hostContext = context;
  return vst3::kResultOk;
}

extern "C" vst3::IPluginFactory* VST3CALL GetPluginFactory() {
  Vst3Factory& factory = Vst3Factory::Instance();
  factory.addRef();
  return &factory;
}
