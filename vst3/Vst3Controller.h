#pragma once

#include "vst3/HostApplication.h"
#include "vst3/IVst3Plugin.h"
#include "vst3/Vst3Abi.h"

#include <atomic>
#include <memory>
#include <vector>

class Vst3View;

// The controller the factory makes for the controller class. Its own effect instance answers for
// the parameters (names, texts, steps), the program list and the values the host sets; the view
// shows the linked processor's editor when the host connected the two (its meters and theme
// image follow the processing), else the controller's own. Everything here runs on the host's
// UI thread.
class Vst3Controller final : public vst3::IEditController,
                             public vst3::IMidiMapping,
                             public vst3::IUnitInfo,
                             public vst3::IConnectionPoint,
                             public IVst3EditLink {
public:
  // Null when no effect could be made.
  static Vst3Controller* Create();

  static constexpr vst3::ProgramListID ProgramListId = 1;

  vst3::tresult VST3CALL queryInterface(const vst3::TUID iid, void** obj) override;
  vst3::uint32 VST3CALL addRef() override;
  vst3::uint32 VST3CALL release() override;

  vst3::tresult VST3CALL initialize(vst3::FUnknown* context) override;
  vst3::tresult VST3CALL terminate() override;

  vst3::tresult VST3CALL setComponentState(vst3::IBStream* state) override;
  vst3::tresult VST3CALL setState(vst3::IBStream* state) override;
  vst3::tresult VST3CALL getState(vst3::IBStream* state) override;
  vst3::int32 VST3CALL getParameterCount() override;
  vst3::tresult VST3CALL getParameterInfo(vst3::int32 paramIndex,
                                          vst3::ParameterInfo* info) override;
  vst3::tresult VST3CALL getParamStringByValue(vst3::ParamID id, vst3::ParamValue valueNormalized,
                                               vst3::String128 string) override;
  vst3::tresult VST3CALL getParamValueByString(vst3::ParamID id, vst3::TChar* string,
                                               vst3::ParamValue* valueNormalized) override;
  vst3::ParamValue VST3CALL normalizedParamToPlain(vst3::ParamID id,
                                                   vst3::ParamValue valueNormalized) override;
  vst3::ParamValue VST3CALL plainParamToNormalized(vst3::ParamID id,
                                                   vst3::ParamValue plainValue) override;
  vst3::ParamValue VST3CALL getParamNormalized(vst3::ParamID id) override;
  vst3::tresult VST3CALL setParamNormalized(vst3::ParamID id, vst3::ParamValue value) override;
  vst3::tresult VST3CALL setComponentHandler(vst3::IComponentHandler* handler) override;
  vst3::IPlugView* VST3CALL createView(vst3::FIDString name) override;

  vst3::tresult VST3CALL getMidiControllerAssignment(vst3::int32 busIndex, vst3::int16 channel,
                                                     vst3::CtrlNumber midiControllerNumber,
                                                     vst3::ParamID* id) override;

  vst3::int32 VST3CALL getUnitCount() override;
  vst3::tresult VST3CALL getUnitInfo(vst3::int32 unitIndex, vst3::UnitInfo* info) override;
  vst3::int32 VST3CALL getProgramListCount() override;
  vst3::tresult VST3CALL getProgramListInfo(vst3::int32 listIndex,
                                            vst3::ProgramListInfo* info) override;
  vst3::tresult VST3CALL getProgramName(vst3::ProgramListID listId, vst3::int32 programIndex,
                                        vst3::String128 name) override;
  vst3::tresult VST3CALL getProgramInfo(vst3::ProgramListID listId, vst3::int32 programIndex,
                                        vst3::CString attributeId,
                                        vst3::String128 attributeValue) override;
  vst3::tresult VST3CALL hasProgramPitchNames(vst3::ProgramListID listId,
                                              vst3::int32 programIndex) override;
  vst3::tresult VST3CALL getProgramPitchName(vst3::ProgramListID listId, vst3::int32 programIndex,
                                             vst3::int16 midiPitch, vst3::String128 name) override;
  vst3::UnitID VST3CALL getSelectedUnit() override;
  vst3::tresult VST3CALL selectUnit(vst3::UnitID unitId) override;
  vst3::tresult VST3CALL getUnitByBus(vst3::MediaType type, vst3::BusDirection dir,
                                      vst3::int32 busIndex, vst3::int32 channel,
                                      vst3::UnitID* unitId) override;
  vst3::tresult VST3CALL setUnitProgramData(vst3::int32 listOrUnitId, vst3::int32 programIndex,
                                            vst3::IBStream* data) override;

  vst3::tresult VST3CALL connect(vst3::IConnectionPoint* other) override;
  vst3::tresult VST3CALL disconnect(vst3::IConnectionPoint* other) override;
  vst3::tresult VST3CALL notify(vst3::IMessage* message) override;

  // The editor's gestures, forwarded to the host's component handler.
  void BeginEdit(int index) override;
  void PerformEdit(int index, double normalized) override;
  void EndEdit(int index) override;

  // What the view shows: the linked processor's effect, else the controller's own.
  std::shared_ptr<IVst3Plugin> EditorPlugin() const;
  // The view tells when it shows an editor and when it stops; one view shows it at a time.
  bool TakeEditor(Vst3View* view);
  void ReleaseEditor(Vst3View* view);

private:
  explicit Vst3Controller(std::shared_ptr<IVst3Plugin> effect);
  ~Vst3Controller();
  void LetGoOfHost();
  // The value the host set, shown on the open editor unless a gesture holds the parameter.
  void ShowOnEditor(int index, double normalized);
  // The effect parameter a host id names, or null (the program and bypass are no effect
  // parameters).
  const IParameter* EffectParameter(vst3::ParamID id);

  std::atomic<vst3::uint32> references{1};
  std::shared_ptr<IVst3Plugin> model;
  std::shared_ptr<IVst3Plugin> linked;
  Vst3View* openView = nullptr;
  Vst3HostLink link;
  vst3::IComponentHandler* handler = nullptr;
  vst3::IUnitHandler* unitHandler = nullptr;
  // Parameters a gesture of the editor holds: the host's echoes of older values are not shown.
  std::vector<bool> grabbed;
};
