#include "vst2/IVst2Plugin.h"

#include "plugin/HostKeys.h"

namespace {
// The PC virtual-key number the editor reads keys in, for a host's key: named keys by their VST
// code, the rest by their character; -1 for keys with no such number.
int PcVirtualKey(VstInt32 character, VstIntPtr virtualKey) {
  if (virtualKey == VKEY_SPACE) {
    return VirtualKeySpace;
  }
  // VST orders the arrows left, up, right, down, as the PC numbering does.
  if (virtualKey >= VKEY_LEFT && virtualKey <= VKEY_DOWN) {
    return VirtualKeyLeft + static_cast<int>(virtualKey - VKEY_LEFT);
  }
  if (virtualKey >= VKEY_NUMPAD0 && virtualKey <= VKEY_NUMPAD9) {
    return VirtualKeyNumpad0 + static_cast<int>(virtualKey - VKEY_NUMPAD0);
  }
  if (virtualKey >= VKEY_MULTIPLY && virtualKey <= VKEY_DIVIDE) {
    return VirtualKeyMultiply + static_cast<int>(virtualKey - VKEY_MULTIPLY);
  }
  if (virtualKey >= VKEY_F1 && virtualKey <= VKEY_F12) {
    return VirtualKeyF1 + static_cast<int>(virtualKey - VKEY_F1);
  }
  if (character == ' ' || (character >= '0' && character <= '9') ||
      (character >= 'A' && character <= 'Z')) {
    return character;
  }
  if (character >= 'a' && character <= 'z') {
    return character - 'a' + 'A';
  }
  return -1;
}
} // namespace

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
  return EditorKey(PcVirtualKey(character, virtualKey), down) ? 1 : 0;
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
