#pragma once

#include "editor/Editor.h"

// An editor without a window system: it builds, attaches and draws into its draw bitmap, but
// opens no window (so a host's editor-open request fails), presents nothing and opens no links.
// Its answers to alerts, menus, text entry and dialogs (none, false) also serve a window form
// whose platform offers none of them.
class IOffscreenEditor : public IEditor {
public:
  using IEditor::IEditor;

  bool PresentRect(const IBounds&) override { return true; }
  void DismissTextEntry() override {}
  int ShowAlert(const char*, const char*, int) override { return 0; }
  IMenu* RunPopupMenu(IMenu*, const IBounds&) override;
  void OpenTextEntry(IControl*, const ITextStyle&, const IBounds&, const char*,
                     IParameter*) override {}
  void HostDirectory(std::string* directory) override;
  void ModuleDirectory(std::string* directory) override;
  void DesktopDirectory(std::string* directory) override;
  // Without a window the file name comes back empty.
  void AskForFile(std::string* fileName, int action, std::string* directory,
                  const char* extensions) override;
  bool AskForColour(IArgb*, const char*) override { return false; }
  bool OpenLink(const char*, const char*, const char*, const char*) override { return false; }
  void* AttachWindow(void*) override { return nullptr; }
  void* OpenWindow(const INativeParent&) override { return nullptr; }
  void DetachWindow() override {}
  void* NativeWindow() override { return nullptr; }
  void SetHostWindowOpacity(int) override {}
  // From the library's embedded images.
  std::unique_ptr<RasterBitmap> LoadImageResource(int id, const char* fileName) override;
};
