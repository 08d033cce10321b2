#pragma once

#include "vst3/IVst3Plugin.h"
#include "vst3/ViewDriver.h"
#include "vst3/Vst3Abi.h"

#include <atomic>
#include <memory>

class Vst3Controller;

// The editor view createView("editor") makes: the effect's editor as a child of the host's window
// (an HWND on Windows, an X11 window on Linux), of the editor's size at the host's content scale.
// On Linux the host's run loop drives it (ViewDriver); on Windows the editor window has its own
// timer.
class Vst3View final : public vst3::IPlugView, public vst3::IPlugViewContentScaleSupport {
public:
  explicit Vst3View(Vst3Controller* owner);

  vst3::tresult VST3CALL queryInterface(const vst3::TUID iid, void** obj) override;
  vst3::uint32 VST3CALL addRef() override;
  vst3::uint32 VST3CALL release() override;

  vst3::tresult VST3CALL isPlatformTypeSupported(vst3::FIDString type) override;
  vst3::tresult VST3CALL attached(void* parent, vst3::FIDString type) override;
  vst3::tresult VST3CALL removed() override;
  vst3::tresult VST3CALL onWheel(float distance) override;
  vst3::tresult VST3CALL onKeyDown(vst3::char16 key, vst3::int16 keyCode,
                                   vst3::int16 modifiers) override;
  vst3::tresult VST3CALL onKeyUp(vst3::char16 key, vst3::int16 keyCode,
                                 vst3::int16 modifiers) override;
  vst3::tresult VST3CALL getSize(vst3::ViewRect* size) override;
  vst3::tresult VST3CALL onSize(vst3::ViewRect* newSize) override;
  vst3::tresult VST3CALL onFocus(vst3::TBool state) override;
  vst3::tresult VST3CALL setFrame(vst3::IPlugFrame* frame) override;
  vst3::tresult VST3CALL canResize() override;
  vst3::tresult VST3CALL checkSizeConstraint(vst3::ViewRect* rect) override;

  vst3::tresult VST3CALL setContentScaleFactor(float factor) override;

  // The effect whose editor is shown while attached, else null.
  const std::shared_ptr<IVst3Plugin>& Shown() const { return shown; }

private:
  ~Vst3View();
  vst3::ViewRect EditorRect() const;
  vst3::tresult Key(vst3::char16 key, vst3::int16 keyCode, bool down);

  std::atomic<vst3::uint32> references{1};
  Vst3Controller* controller;
  std::shared_ptr<IVst3Plugin> shown;
  vst3::IPlugFrame* frame = nullptr;
  ViewDriver driver;
  // While the host handles a resize the view asked for, it is told the old size until onSize.
  bool resizing = false;
  vst3::ViewRect sizeBeforeResize{};
};
