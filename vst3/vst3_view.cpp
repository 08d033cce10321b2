#include "vst3/Vst3View.h"

#include "plugin/NativeParent.h"
#include "plugin/VstKeys.h"
#include "vst3/Vst3Controller.h"

#include <cstring>

Vst3View::Vst3View(Vst3Controller* owner) : controller(owner) {
  controller->addRef();
}

Vst3View::~Vst3View() {
  removed();
  setFrame(nullptr);
  controller->release();
}

vst3::tresult VST3CALL Vst3View::queryInterface(const vst3::TUID iid, void** obj) {
  if (!obj) {
    return vst3::kInvalidArgument;
  }
  *obj = nullptr;
  if (vst3::SameUid(iid, vst3::FUnknown_iid) || vst3::SameUid(iid, vst3::IPlugView_iid)) {
    *obj = static_cast<vst3::IPlugView*>(this);
  } else if (vst3::SameUid(iid, vst3::IPlugViewContentScaleSupport_iid)) {
    *obj = static_cast<vst3::IPlugViewContentScaleSupport*>(this);
  } else {
    return vst3::kNoInterface;
  }
  addRef();
  return vst3::kResultOk;
}

vst3::uint32 VST3CALL Vst3View::addRef() {
  return ++references;
}

vst3::uint32 VST3CALL Vst3View::release() {
  const vst3::uint32 left = --references;
  if (left == 0) {
    delete this;
  }
  return left;
}

vst3::tresult VST3CALL Vst3View::isPlatformTypeSupported(vst3::FIDString type) {
  return type && std::strcmp(type, ViewDriver::PlatformType()) == 0 ? vst3::kResultTrue
                                                                    : vst3::kResultFalse;
}

// The editor opens in the host's window on a connection of its own; without the host's run loop
// (Linux) it would stay blank, so it does not open.
vst3::tresult VST3CALL Vst3View::attached(void* parent, vst3::FIDString type) {
  if (!parent || isPlatformTypeSupported(type) != vst3::kResultTrue) {
    return vst3::kInvalidArgument;
  }
  if (shown || !controller->TakeEditor(this)) {
    return vst3::kResultFalse;
  }
  std::shared_ptr<IVst3Plugin> plugin = controller->EditorPlugin();
  if (!plugin->OpenEditor(NativeParentFromPointer(parent))) {
    controller->ReleaseEditor(this);
    return vst3::kResultFalse;
  }
  if (!driver.Start(frame, plugin)) {
    plugin->CloseEditor();
    controller->ReleaseEditor(this);
    return vst3::kResultFalse;
  }
  plugin->ConnectEditLink(controller);
  shown = std::move(plugin);
  return vst3::kResultOk;
}

vst3::tresult VST3CALL Vst3View::removed() {
  if (!shown) {
    return vst3::kResultOk;
  }
  driver.Stop();
  shown->ConnectEditLink(nullptr);
  shown->CloseEditor();
  shown.reset();
  controller->ReleaseEditor(this);
  return vst3::kResultOk;
}

vst3::tresult VST3CALL Vst3View::onWheel(float) {
  return vst3::kResultFalse;
}

// Keys no control takes stay the host's (its shortcuts).
vst3::tresult Vst3View::Key(vst3::char16 key, vst3::int16 keyCode, bool down) {
  return shown && shown->EditorKey(PcVirtualKeyOfVstKey(key, keyCode), down) ? vst3::kResultTrue
                                                                             : vst3::kResultFalse;
}

vst3::tresult VST3CALL Vst3View::onKeyDown(vst3::char16 key, vst3::int16 keyCode, vst3::int16) {
  return Key(key, keyCode, true);
}

vst3::tresult VST3CALL Vst3View::onKeyUp(vst3::char16 key, vst3::int16 keyCode, vst3::int16) {
  return Key(key, keyCode, false);
}

vst3::ViewRect Vst3View::EditorRect() const {
  const std::shared_ptr<IVst3Plugin> plugin = shown ? shown : controller->EditorPlugin();
  const IAttachedEditor* editor = plugin->Editor();
  return {0, 0, editor ? editor->Width() : 0, editor ? editor->Height() : 0};
}

vst3::tresult VST3CALL Vst3View::getSize(vst3::ViewRect* size) {
  if (!size) {
    return vst3::kInvalidArgument;
  }
  *size = resizing ? sizeBeforeResize : EditorRect();
  return vst3::kResultOk;
}

// The editor keeps its size, whatever frame the host makes around it.
vst3::tresult VST3CALL Vst3View::onSize(vst3::ViewRect* newSize) {
  if (!newSize) {
    return vst3::kInvalidArgument;
  }
  resizing = false;
  return vst3::kResultOk;
}

vst3::tresult VST3CALL Vst3View::onFocus(vst3::TBool) {
  return vst3::kResultOk;
}

vst3::tresult VST3CALL Vst3View::setFrame(vst3::IPlugFrame* newFrame) {
  if (newFrame) {
    newFrame->addRef();
  }
  if (frame) {
    frame->release();
  }
  frame = newFrame;
  return vst3::kResultOk;
}

vst3::tresult VST3CALL Vst3View::canResize() {
  return vst3::kResultFalse;
}

vst3::tresult VST3CALL Vst3View::checkSizeConstraint(vst3::ViewRect* rect) {
  if (!rect) {
    return vst3::kInvalidArgument;
  }
  *rect = EditorRect();
  return vst3::kResultTrue;
}

// The editor draws at the nearest scale it has; an attached view asks the host for its new size.
// A factor that is not a positive number is refused.
vst3::tresult VST3CALL Vst3View::setContentScaleFactor(float factor) {
  if (!(factor > 0.0f)) {
    return vst3::kResultFalse;
  }
  const std::shared_ptr<IVst3Plugin> plugin = shown ? shown : controller->EditorPlugin();
  const vst3::ViewRect before = EditorRect();
  plugin->SetEditorScale(factor);
  vst3::ViewRect after = EditorRect();
  if (shown && frame && (after.right != before.right || after.bottom != before.bottom)) {
    resizing = true;
    sizeBeforeResize = before;
    frame->resizeView(this, &after);
    resizing = false;
  }
  return vst3::kResultTrue;
}
