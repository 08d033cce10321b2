#include "plugin/AudioPlugin.h"

void* IAudioPlugin::OpenEditor(const INativeParent& parent) {
  IScopedLock guard(pluginLock);
  void* window = editor ? editor->OpenWindow(parent) : nullptr;
  if (window) {
    OnEditorOpened();
  }
  return window;
}

void IAudioPlugin::CloseEditor() {
  IScopedLock guard(pluginLock);
  if (editor) {
    OnEditorClosing();
    editor->DetachWindow();
  }
}

// Without the lock, as a Windows window's messages run: the window reads the controls through
// their atomics, and a redraw must never hold up the audio thread.
void IAudioPlugin::IdleEditor() {
  if (editor) {
    editor->Idle();
  }
}

bool IAudioPlugin::EditorKey(int virtualKey, bool down) {
  return editor && virtualKey >= 0 && editor->HostKey(virtualKey, down);
}

int IAudioPlugin::EditorEventDescriptor() {
  return editor ? editor->EventDescriptor() : -1;
}
