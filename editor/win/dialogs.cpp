#include "editor/win/EditorWin.h"

#include "editor/Menu.h"
#include "editor/win/FileFilter.h"
#include "raster/IArgb.h"

#include <commdlg.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
constexpr int kPathBytes = 256;

// The directory of a module's file, with its trailing backslash; empty when unknown.
void StoreModuleDirectory(HMODULE module, std::string* directory) {
  directory->clear();
  char path[kPathBytes] = {};
  const DWORD length = GetModuleFileNameA(module, path, sizeof(path));
  if (length == 0) {
    return;
  }
  path[sizeof(path) - 1] = 0;
  const char* slash = std::strrchr(path, '\\');
  if (slash && slash[1] != '\0') {
    directory->assign(path, static_cast<std::size_t>(slash - path) + 1);
  }
}

void CopyText(char* target, std::size_t capacity, const std::string& text) {
  const std::size_t length = text.size() < capacity - 1 ? text.size() : capacity - 1;
  std::memcpy(target, text.data(), length);
  target[length] = 0;
}

UINT_PTR CALLBACK ColourDialogHook(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    const CHOOSECOLORA* chooser = reinterpret_cast<const CHOOSECOLORA*>(lParam);
    if (chooser && chooser->lCustData) {
      SetWindowTextA(dialog, reinterpret_cast<const char*>(chooser->lCustData));
    }
  }
  return 0;
}
} // namespace

int IEditorWin::ShowAlert(const char* text, const char* caption, int type) {
  return MessageBoxA(HostMainWindow(), text, caption, static_cast<UINT>(type));
}

void IEditorWin::HostDirectory(std::string* directory) {
  if (directory) {
    StoreModuleDirectory(nullptr, directory);
  }
}

void IEditorWin::ModuleDirectory(std::string* directory) {
  if (directory) {
    StoreModuleDirectory(instance, directory);
  }
}

void IEditorWin::DesktopDirectory(std::string* directory) {
  if (!directory) {
    return;
  }
  char path[kPathBytes + 1] = {};
  if (SHGetSpecialFolderPathA(nullptr, path, CSIDL_DESKTOP, FALSE)) {
    directory->assign(path);
  } else {
    directory->clear();
  }
}

void IEditorWin::AskForFile(std::string* fileName, int action, std::string* directory,
                            const char* extensions) {
  if (!fileName) {
    return;
  }
  if (!HasWindow()) {
    fileName->clear();
    return;
  }
  char file[kPathBytes] = {};
  CopyText(file, sizeof(file), *fileName);
  std::string initial = directory ? *directory : std::string();
  if (initial.empty()) {
    DesktopDirectory(&initial);
    if (directory) {
      *directory = initial;
    }
  }
  char start[kPathBytes] = {};
  CopyText(start, sizeof(start), initial);
  const FileFilter filter = MakeFileFilter(extensions);

  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = window;
  dialog.lpstrFile = file;
  dialog.nMaxFile = sizeof(file) - 1;
  dialog.lpstrInitialDir = start;
  if (!filter.pattern.empty()) {
    dialog.lpstrFilter = filter.filter.c_str();
  }
  if (!filter.defaultExtension.empty()) {
    dialog.lpstrDefExt = filter.defaultExtension.c_str();
  }
  BOOL confirmed;
  if (action == FileSave) {
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    confirmed = GetSaveFileNameA(&dialog);
  } else {
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    confirmed = GetOpenFileNameA(&dialog);
  }
  if (!confirmed) {
    return;
  }
  char drive[3] = {};
  char folder[kPathBytes] = {};
  if (directory && _splitpath_s(file, drive, sizeof(drive), folder, sizeof(folder), nullptr, 0,
                                nullptr, 0) == 0) {
    char joined[kPathBytes] = {};
    std::snprintf(joined, sizeof(joined), "%s%s", drive, folder);
    *directory = joined;
  }
  *fileName = file;
}

bool IEditorWin::AskForColour(IArgb* colour, const char* prompt) {
  if (!colour || !HasWindow()) {
    return false;
  }
  if (!customColours) {
    // Kept for the editor's life, so colours the user defines are offered again.
    customColours = std::make_unique<COLORREF[]>(16);
  }
  CHOOSECOLORA chooser{};
  chooser.lStructSize = sizeof(chooser);
  chooser.hwndOwner = window;
  chooser.rgbResult = RGB(colour->red & 0xFF, colour->green & 0xFF, colour->blue & 0xFF);
  chooser.lpCustColors = customColours.get();
  chooser.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ENABLEHOOK | CC_SOLIDCOLOR | CC_ANYCOLOR;
  chooser.lCustData = reinterpret_cast<LPARAM>(prompt);
  chooser.lpfnHook = ColourDialogHook;
  if (!ChooseColorA(&chooser)) {
    return false;
  }
  colour->red = GetRValue(chooser.rgbResult);
  colour->green = GetGValue(chooser.rgbResult);
  colour->blue = GetBValue(chooser.rgbResult);
  return true;
}
