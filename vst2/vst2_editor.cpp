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
    *static_cast<ERect**>(ptr) = &editorRect;
    return 1;
  case effEditOpen:
    return OpenEditor(NativeParentFromPointer(ptr)) ? 1 : 0;
  default:
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
  }
}
