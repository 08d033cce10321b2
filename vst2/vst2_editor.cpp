#include "vst2/IVst2Plugin.h"

#include "plugin/VstKeys.h"

VstIntPtr IVst2Plugin::DispatchEditor(VstInt32 opcode, void* ptr) {
  IAttachedEditor* attached = Editor();
  if (!attached) {
    return 0;
  }
  switch (opcode) {
  case effEditGetRect:
    if (!ptr) {
      return 0;
    }
    // VST 2 carries no scale: the screen's (asked once), until the window opens in the host's.
    if (!editorOpen && !screenScaleTaken) {
      FollowSystemEditorScale(nullptr);
      screenScaleTaken = true;
    }
    *static_cast<ERect**>(ptr) = &editorRect;
    return 1;
  case effEditOpen: {
    const INativeParent parent = NativeParentFromPointer(ptr);
    const ERect told = editorRect;
    FollowSystemEditorScale(&parent);
    editorOpen = OpenEditor(parent) != nullptr;
    // The host's window may sit on a screen of another scale than the one the size came from.
    if (editorOpen && (editorRect.right != told.right || editorRect.bottom != told.bottom)) {
      CallHost(audioMasterSizeWindow, editorRect.right, editorRect.bottom);
    }
    return editorOpen ? 1 : 0;
  }
  default:
    editorOpen = false;
    screenScaleTaken = false;
    CloseEditor();
    return 1;
  }
}

VstIntPtr IVst2Plugin::DispatchEditorKey(bool down, VstInt32 character, VstIntPtr virtualKey) {
  return EditorKey(PcVirtualKeyOfVstKey(character, virtualKey), down) ? 1 : 0;
}

void IVst2Plugin::AttachEditor(IAttachedEditor* newEditor) {
  if (!newEditor) {
    return;
  }
  IAudioPlugin::AttachEditor(newEditor);
  effect.flags |= effFlagsHasEditor;
  editorRect = ERect{0, 0, static_cast<int16_t>(newEditor->Height()),
                     static_cast<int16_t>(newEditor->Width())};
}

void IVst2Plugin::EditorSizeChanged(int, int) {
  if (IAttachedEditor* attached = Editor()) {
    editorRect.bottom = static_cast<int16_t>(attached->Height());
    editorRect.right = static_cast<int16_t>(attached->Width());
    OnEditorResized();
    // A window already open grows or shrinks inside the host's frame, which the host resizes.
    if (editorOpen) {
      CallHost(audioMasterSizeWindow, attached->Width(), attached->Height());
    }
  }
}
