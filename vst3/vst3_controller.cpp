#include "vst3/Vst3Controller.h"

#include "plugin/NumberText.h"
#include "vst3/InstanceRegistry.h"
#include "vst3/LinkMessage.h"
#include "vst3/StreamBytes.h"
#include "vst3/Vst3Entry.h"
#include "vst3/Vst3Text.h"
#include "vst3/Vst3View.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace {
// The controller the effect moves its amount (its first parameter) with; VST 3 hosts turn it
// into a change of the parameter they are told here.
constexpr vst3::CtrlNumber AmountController = 69;
constexpr vst3::ParamID AmountParameter = 0;
constexpr int MidiChannels = 16;
// Display texts as long as the VST 2 build's.
constexpr int ParameterTextBytes = 64;
constexpr const char* ProgramTitle = "Program";
constexpr const char* BypassTitle = "Bypass";
constexpr const char* BypassOnText = "On";
constexpr const char* BypassOffText = "Off";
constexpr const char* RootUnitName = "Root";
constexpr const char* ProgramListName = "Factory Programs";

double Limited(double normalized) {
  return std::isnan(normalized) ? 0.0 : std::clamp(normalized, 0.0, 1.0);
}

// Neighbouring doubles tried around a normalised value for one that maps back exactly.
constexpr int ExactSearchSteps = 4;

// A real value typed or stored by a host, as the parameter takes it (integer kinds on their
// step), in 0..1. Where the plain division does not map back to the value itself (12.5 of
// 0..99.99 comes back as 12.500000000000002), a neighbouring double that does is taken, so a
// typed value sounds exactly as the VST 2 build's.
double NormalizedOfReal(const IParameter& parameter, double real) {
  IParameter taken = parameter;
  if (IParameter::IsIntegerKind(taken.Kind())) {
    real = std::floor(real / taken.Step() + 0.5) * taken.Step();
  }
  taken.SetClamped(real);
  const double target = taken.Value();
  const double normalized = taken.ToNormalized();
  for (const double direction : {1.0, -1.0}) {
    double candidate = normalized;
    for (int step = 0; step <= ExactSearchSteps; ++step) {
      taken.SetFromNormalized(candidate);
      if (taken.Value() == target) {
        return candidate;
      }
      candidate = std::clamp(std::nextafter(candidate, direction), 0.0, 1.0);
    }
  }
  return normalized;
}
} // namespace

Vst3Controller* Vst3Controller::Create() {
  std::shared_ptr<IVst3Plugin> plugin = CreateVst3Instance();
  return plugin ? new (std::nothrow) Vst3Controller(std::move(plugin)) : nullptr;
}

Vst3Controller::Vst3Controller(std::shared_ptr<IVst3Plugin> effect)
    : model(std::move(effect)), grabbed(static_cast<size_t>(model->ParameterCount()), false) {}

Vst3Controller::~Vst3Controller() {
  LetGoOfHost();
}

vst3::tresult VST3CALL Vst3Controller::queryInterface(const vst3::TUID iid, void** obj) {
  if (!obj) {
    return vst3::kInvalidArgument;
  }
  *obj = nullptr;
  if (vst3::SameUid(iid, vst3::FUnknown_iid) || vst3::SameUid(iid, vst3::IPluginBase_iid) ||
      vst3::SameUid(iid, vst3::IEditController_iid)) {
    *obj = static_cast<vst3::IEditController*>(this);
  } else if (vst3::SameUid(iid, vst3::IMidiMapping_iid)) {
    *obj = static_cast<vst3::IMidiMapping*>(this);
  } else if (vst3::SameUid(iid, vst3::IUnitInfo_iid)) {
    *obj = static_cast<vst3::IUnitInfo*>(this);
  } else if (vst3::SameUid(iid, vst3::IConnectionPoint_iid)) {
    *obj = static_cast<vst3::IConnectionPoint*>(this);
  } else {
    return vst3::kNoInterface;
  }
  addRef();
  return vst3::kResultOk;
}

vst3::uint32 VST3CALL Vst3Controller::addRef() {
  return ++references;
}

vst3::uint32 VST3CALL Vst3Controller::release() {
  const vst3::uint32 left = --references;
  if (left == 0) {
    delete this;
  }
  return left;
}

vst3::tresult VST3CALL Vst3Controller::initialize(vst3::FUnknown* context) {
  link.Initialize(context, *model);
  return vst3::kResultOk;
}

vst3::tresult VST3CALL Vst3Controller::terminate() {
  if (link.Terminate()) {
    LetGoOfHost();
  }
  return vst3::kResultOk;
}

void Vst3Controller::LetGoOfHost() {
  setComponentHandler(nullptr);
  link.LetGo();
  linked.reset();
}

// The processor's state, so the controller shows what the processor holds.
vst3::tresult VST3CALL Vst3Controller::setComponentState(vst3::IBStream* state) {
  std::vector<uint8_t> bytes;
  if (!vst3::ReadWholeStream(state, IVst3Plugin::LargestComponentState, &bytes)) {
    return vst3::kResultFalse;
  }
  return model->LoadComponentState(bytes.data(), static_cast<int64_t>(bytes.size()))
             ? vst3::kResultOk
             : vst3::kResultFalse;
}

// The controller keeps nothing of its own: everything is in the component state.
vst3::tresult VST3CALL Vst3Controller::setState(vst3::IBStream*) {
  return vst3::kResultOk;
}

vst3::tresult VST3CALL Vst3Controller::getState(vst3::IBStream*) {
  return vst3::kResultOk;
}

vst3::int32 VST3CALL Vst3Controller::getParameterCount() {
  return model->HostParameterCount();
}

const IParameter* Vst3Controller::EffectParameter(vst3::ParamID id) {
  return static_cast<int64_t>(id) < model->ParameterCount() ? model->Parameter(static_cast<int>(id))
                                                            : nullptr;
}

vst3::tresult VST3CALL Vst3Controller::getParameterInfo(vst3::int32 paramIndex,
                                                        vst3::ParameterInfo* info) {
  if (!info || paramIndex < 0 || paramIndex >= model->HostParameterCount()) {
    return vst3::kInvalidArgument;
  }
  std::memset(info, 0, sizeof(*info));
  info->id = static_cast<vst3::ParamID>(paramIndex);
  info->unitId = vst3::kRootUnitId;
  IScopedLock guard(model->Lock());
  if (const IParameter* parameter = EffectParameter(info->id)) {
    vst3::CopyUtf16(info->title, parameter->Name());
    vst3::CopyUtf16(info->shortTitle, parameter->Name());
    vst3::CopyUtf16(info->units, parameter->Label());
    // The two switches have two states; the amount is continuous.
    info->stepCount = IParameter::IsIntegerKind(parameter->Kind())
                          ? static_cast<vst3::int32>(std::lround(
                                (parameter->Maximum() - parameter->Minimum()) / parameter->Step()))
                          : 0;
    info->defaultNormalizedValue = parameter->ToNormalized(parameter->DefaultValue());
    info->flags = vst3::ParameterInfo::kCanAutomate;
  } else if (paramIndex == model->ProgramParameterId()) {
    vst3::CopyUtf16(info->title, ProgramTitle);
    vst3::CopyUtf16(info->shortTitle, ProgramTitle);
    info->stepCount = std::max(model->PresetCount() - 1, 0);
    info->flags = vst3::ParameterInfo::kIsProgramChange | vst3::ParameterInfo::kIsList;
  } else {
    vst3::CopyUtf16(info->title, BypassTitle);
    vst3::CopyUtf16(info->shortTitle, BypassTitle);
    info->stepCount = 1;
    info->flags = vst3::ParameterInfo::kCanAutomate | vst3::ParameterInfo::kIsBypass;
  }
  return vst3::kResultOk;
}

// The text the VST 2 build shows once the host has set this value.
vst3::tresult VST3CALL Vst3Controller::getParamStringByValue(vst3::ParamID id,
                                                             vst3::ParamValue valueNormalized,
                                                             vst3::String128 string) {
  if (!string) {
    return vst3::kInvalidArgument;
  }
  char text[ParameterTextBytes] = {};
  IScopedLock guard(model->Lock());
  if (const IParameter* parameter = EffectParameter(id)) {
    IParameter shown = *parameter;
    shown.SetFromNormalized(Limited(valueNormalized));
    shown.FormatValue(shown.Value(), false, text, sizeof(text), true);
  } else if (static_cast<int64_t>(id) == model->ProgramParameterId()) {
    const IPresetSlot* slot = model->Preset(model->ProgramFromNormalized(valueNormalized));
    vst3::CopyText(text, sizeof(text), slot ? slot->name : "");
  } else if (static_cast<int64_t>(id) == model->BypassParameterId()) {
    vst3::CopyText(text, sizeof(text),
                   Limited(valueNormalized) >= 0.5 ? BypassOnText : BypassOffText);
  } else {
    return vst3::kInvalidArgument;
  }
  vst3::CopyUtf16(string, std::size(vst3::String128{}), text);
  return vst3::kResultOk;
}

// Typed text as the VST 2 build reads it: a value text, else the number it starts with.
vst3::tresult VST3CALL Vst3Controller::getParamValueByString(vst3::ParamID id, vst3::TChar* string,
                                                             vst3::ParamValue* valueNormalized) {
  if (!string || !valueNormalized) {
    return vst3::kInvalidArgument;
  }
  char text[ParameterTextBytes * 4];
  vst3::CopyUtf8(text, sizeof(text), string, std::size(vst3::String128{}));
  IScopedLock guard(model->Lock());
  if (const IParameter* parameter = EffectParameter(id)) {
    double real = 0.0;
    if (parameter->ValueTexts().empty()) {
      real = LeadingNumber(text);
      if (parameter->NegateDisplay()) {
        real = -real;
      }
    } else {
      int textValue = 0;
      if (!parameter->ParseValueText(text, &textValue)) {
        return vst3::kResultFalse;
      }
      real = textValue;
    }
    *valueNormalized = NormalizedOfReal(*parameter, real);
    return vst3::kResultOk;
  }
  if (static_cast<int64_t>(id) == model->ProgramParameterId()) {
    for (int program = 0; program < model->PresetCount(); ++program) {
      if (std::strcmp(model->Preset(program)->name, text) == 0) {
        *valueNormalized = model->ProgramToNormalized(program);
        return vst3::kResultOk;
      }
    }
    return vst3::kResultFalse;
  }
  if (static_cast<int64_t>(id) == model->BypassParameterId()) {
    const bool on = std::strcmp(text, BypassOnText) == 0;
    if (!on && std::strcmp(text, BypassOffText) != 0) {
      return vst3::kResultFalse;
    }
    *valueNormalized = on ? 1.0 : 0.0;
    return vst3::kResultOk;
  }
  return vst3::kInvalidArgument;
}

vst3::ParamValue VST3CALL Vst3Controller::normalizedParamToPlain(vst3::ParamID id,
                                                                 vst3::ParamValue valueNormalized) {
  IScopedLock guard(model->Lock());
  if (const IParameter* parameter = EffectParameter(id)) {
    IParameter taken = *parameter;
    taken.SetFromNormalized(Limited(valueNormalized));
    return taken.Value();
  }
  if (static_cast<int64_t>(id) == model->ProgramParameterId()) {
    return model->ProgramFromNormalized(valueNormalized);
  }
  return Limited(valueNormalized) >= 0.5 ? 1.0 : 0.0;
}

vst3::ParamValue VST3CALL Vst3Controller::plainParamToNormalized(vst3::ParamID id,
                                                                 vst3::ParamValue plainValue) {
  if (std::isnan(plainValue)) {
    return 0.0;
  }
  IScopedLock guard(model->Lock());
  if (const IParameter* parameter = EffectParameter(id)) {
    return NormalizedOfReal(*parameter, plainValue);
  }
  if (static_cast<int64_t>(id) == model->ProgramParameterId()) {
    return model->ProgramToNormalized(static_cast<int>(
        std::lround(std::clamp(plainValue, 0.0, static_cast<double>(model->PresetCount())))));
  }
  return plainValue >= 0.5 ? 1.0 : 0.0;
}

vst3::ParamValue VST3CALL Vst3Controller::getParamNormalized(vst3::ParamID id) {
  IScopedLock guard(model->Lock());
  if (const IParameter* parameter = EffectParameter(id)) {
    return parameter->ToNormalized();
  }
  if (static_cast<int64_t>(id) == model->ProgramParameterId()) {
    return model->ProgramToNormalized(model->CurrentPreset());
  }
  return model->Bypassed() ? 1.0 : 0.0;
}

// A value from the host (automation, a program it selected, the processor's report): the
// controller's values and the open editor follow; nothing goes back to the host.
vst3::tresult VST3CALL Vst3Controller::setParamNormalized(vst3::ParamID id,
                                                          vst3::ParamValue value) {
  if (std::isnan(value)) {
    return vst3::kInvalidArgument;
  }
  if (EffectParameter(id)) {
    const int index = static_cast<int>(id);
    model->SetParameterFromHost(index, value, IAudioPlugin::ParameterUnits::Normalized,
                                IAudioPlugin::EditorEcho::Skip);
    ShowOnEditor(index, value);
    return vst3::kResultOk;
  }
  if (static_cast<int64_t>(id) == model->ProgramParameterId()) {
    // The host that switched the program reads the values again itself; asking it to from
    // inside this call deadlocks Ardour 7 (its restart waits for the program switch to end).
    const int program = model->ProgramFromNormalized(value);
    if (program != model->CurrentPreset()) {
      model->SelectProgramFromHost(program);
    }
    return vst3::kResultOk;
  }
  if (static_cast<int64_t>(id) == model->BypassParameterId()) {
    model->SetBypass(Limited(value) >= 0.5);
    return vst3::kResultOk;
  }
  return vst3::kInvalidArgument;
}

void Vst3Controller::ShowOnEditor(int index, double normalized) {
  if (grabbed[static_cast<size_t>(index)] || !openView) {
    return;
  }
  const std::shared_ptr<IVst3Plugin>& shown = openView->Shown();
  if (!shown) {
    return;
  }
  IScopedLock guard(shown->Lock());
  if (IAttachedEditor* editor = shown->Editor()) {
    editor->ShowParameterValue(index, Limited(normalized), true);
  }
}

vst3::tresult VST3CALL Vst3Controller::setComponentHandler(vst3::IComponentHandler* newHandler) {
  if (newHandler) {
    newHandler->addRef();
  }
  if (unitHandler) {
    unitHandler->release();
    unitHandler = nullptr;
  }
  if (handler) {
    handler->release();
  }
  handler = newHandler;
  void* unit = nullptr;
  if (handler && handler->queryInterface(vst3::IUnitHandler_iid.Tuid(), &unit) == vst3::kResultOk) {
    unitHandler = static_cast<vst3::IUnitHandler*>(unit);
  }
  return vst3::kResultOk;
}

vst3::IPlugView* VST3CALL Vst3Controller::createView(vst3::FIDString name) {
  if (!name || std::strcmp(name, vst3::kEditorViewType) != 0 || !model->Editor()) {
    return nullptr;
  }
  return new (std::nothrow) Vst3View(this);
}

vst3::tresult VST3CALL Vst3Controller::getMidiControllerAssignment(
    vst3::int32 busIndex, vst3::int16 channel, vst3::CtrlNumber midiControllerNumber,
    vst3::ParamID* id) {
  if (!id || busIndex != 0 || channel < 0 || channel >= MidiChannels ||
      midiControllerNumber != AmountController) {
    return vst3::kResultFalse;
  }
  *id = AmountParameter;
  return vst3::kResultTrue;
}

vst3::int32 VST3CALL Vst3Controller::getUnitCount() {
  return 1;
}

vst3::tresult VST3CALL Vst3Controller::getUnitInfo(vst3::int32 unitIndex, vst3::UnitInfo* info) {
  if (!info || unitIndex != 0) {
    return vst3::kInvalidArgument;
  }
  std::memset(info, 0, sizeof(*info));
  info->id = vst3::kRootUnitId;
  info->parentUnitId = vst3::kNoParentUnitId;
  vst3::CopyUtf16(info->name, RootUnitName);
  info->programListId = ProgramListId;
  return vst3::kResultOk;
}

vst3::int32 VST3CALL Vst3Controller::getProgramListCount() {
  return 1;
}

vst3::tresult VST3CALL Vst3Controller::getProgramListInfo(vst3::int32 listIndex,
                                                          vst3::ProgramListInfo* info) {
  if (!info || listIndex != 0) {
    return vst3::kInvalidArgument;
  }
  std::memset(info, 0, sizeof(*info));
  info->id = ProgramListId;
  vst3::CopyUtf16(info->name, ProgramListName);
  info->programCount = model->PresetCount();
  return vst3::kResultOk;
}

vst3::tresult VST3CALL Vst3Controller::getProgramName(vst3::ProgramListID listId,
                                                      vst3::int32 programIndex,
                                                      vst3::String128 name) {
  IScopedLock guard(model->Lock());
  const IPresetSlot* slot = listId == ProgramListId ? model->Preset(programIndex) : nullptr;
  if (!slot || !name) {
    return vst3::kInvalidArgument;
  }
  vst3::CopyUtf16(name, std::size(vst3::String128{}), slot->name);
  return vst3::kResultOk;
}

vst3::tresult VST3CALL Vst3Controller::getProgramInfo(vst3::ProgramListID, vst3::int32,
                                                      vst3::CString, vst3::String128) {
  return vst3::kResultFalse;
}

vst3::tresult VST3CALL Vst3Controller::hasProgramPitchNames(vst3::ProgramListID, vst3::int32) {
  return vst3::kResultFalse;
}

vst3::tresult VST3CALL Vst3Controller::getProgramPitchName(vst3::ProgramListID, vst3::int32,
                                                           vst3::int16, vst3::String128) {
  return vst3::kResultFalse;
}

vst3::UnitID VST3CALL Vst3Controller::getSelectedUnit() {
  return vst3::kRootUnitId;
}

vst3::tresult VST3CALL Vst3Controller::selectUnit(vst3::UnitID) {
  return vst3::kResultOk;
}

vst3::tresult VST3CALL Vst3Controller::getUnitByBus(vst3::MediaType, vst3::BusDirection,
                                                    vst3::int32, vst3::int32,
                                                    vst3::UnitID* unitId) {
  if (!unitId) {
    return vst3::kInvalidArgument;
  }
  *unitId = vst3::kRootUnitId;
  return vst3::kResultOk;
}

vst3::tresult VST3CALL Vst3Controller::setUnitProgramData(vst3::int32, vst3::int32,
                                                          vst3::IBStream*) {
  return vst3::kNotImplemented;
}

vst3::tresult VST3CALL Vst3Controller::connect(vst3::IConnectionPoint* other) {
  const vst3::tresult result = link.Connect(other);
  if (result == vst3::kResultOk) {
    LinkMessage::Send(link.Host(), link.Peer(), LinkMessage::AskProcessorNumber, nullptr);
  }
  return result;
}

// The view keeps what it shows; the link itself ends here.
vst3::tresult VST3CALL Vst3Controller::disconnect(vst3::IConnectionPoint* other) {
  if (!link.Disconnect(other)) {
    return vst3::kResultFalse;
  }
  linked.reset();
  return vst3::kResultOk;
}

vst3::tresult VST3CALL Vst3Controller::notify(vst3::IMessage* message) {
  if (!LinkMessage::Is(message, LinkMessage::ProcessorNumber)) {
    return vst3::kResultOk;
  }
  vst3::IAttributeList* attributes = message->getAttributes();
  int64_t number = 0;
  if (attributes && attributes->getInt(LinkMessage::NumberAttribute, &number) == vst3::kResultOk) {
    if (std::shared_ptr<IVst3Plugin> found = InstanceRegistry::Find(number)) {
      linked = std::move(found);
    }
  }
  return vst3::kResultOk;
}

void Vst3Controller::BeginEdit(int index) {
  grabbed[static_cast<size_t>(index)] = true;
  if (handler) {
    handler->beginEdit(static_cast<vst3::ParamID>(index));
  }
}

void Vst3Controller::PerformEdit(int index, double normalized) {
  model->SetParameterFromHost(index, normalized, IAudioPlugin::ParameterUnits::Normalized,
                              IAudioPlugin::EditorEcho::Skip);
  if (handler) {
    handler->performEdit(static_cast<vst3::ParamID>(index), normalized);
  }
}

void Vst3Controller::EndEdit(int index) {
  if (handler) {
    handler->endEdit(static_cast<vst3::ParamID>(index));
  }
  grabbed[static_cast<size_t>(index)] = false;
}

std::shared_ptr<IVst3Plugin> Vst3Controller::EditorPlugin() const {
  return linked ? linked : model;
}

bool Vst3Controller::TakeEditor(Vst3View* view) {
  if (openView && openView != view) {
    return false;
  }
  openView = view;
  return true;
}

void Vst3Controller::ReleaseEditor(Vst3View* view) {
  if (openView == view) {
    openView = nullptr;
  }
}
