#include "plugin/AudioPlugin.h"

// The window work runs outside the plug-in's lock where the binding allows it: the window
// system's own process-wide locks are taken inside it, and the window's event handling takes them
// before it takes the plug-in's lock for a gesture. The window is only ever opened, idled and
// closed on the host's user-interface thread.
void* IAudioPlugin::OpenEditor(const INativeParent& parent) {
  void* window = editor ? editor->OpenWindow(parent) : nullptr;
  if (window) {
    IScopedLock guard(pluginLock);
    OnEditorOpened();
  }
  return window;
}

void IAudioPlugin::SetEditorScale(double scale) {
  if (editor) {
    editor->SetScale(scale);
  }
}

void IAudioPlugin::FollowSystemEditorScale(const INativeParent* parent) {
  if (editor) {
    editor->FollowSystemScale(parent);
  }
}

void IAudioPlugin::CloseEditor() {
  if (editor) {
    {
      IScopedLock guard(pluginLock);
      OnEditorClosing();
    }
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
