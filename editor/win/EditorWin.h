#pragma once

#include "editor/Editor.h"

#include <windows.h>

#include <memory>
#include <string>

class IControl;
class IParameter;

// The Windows form of the editor: one child window inside the host's parent that shows the draw
// bitmap, repaints dirty controls on a timer, routes pointer and key input to the controls and
// hosts the transient text-entry box. Everything here runs on the host's window thread.
class IEditorWin : public IEditor {
public:
  // Text-entry states; a redraw tick settles cancel and commit.
  enum EntryState {
    EntryIdle = 0,
    EntryFocused = 1,
    EntryRefreshed = 2,
    EntryCancel = 3,
    EntryCommit = 4,
  };
  static constexpr UINT_PTR RedrawTimerId = 2;
  static constexpr int EntryBoxId = 99;

  IEditorWin(IAudioPlugin* plugin, int width, int height, int frameRate);
  ~IEditorWin() override;

  bool PresentRect(const IBounds& rect) override;
  void DismissTextEntry() override;
  // Also resizes the window and up to two enclosing child frames by the same difference.
  void SetEditorSize(int width, int height) override;
  bool HasWindow() override;
  int ShowAlert(const char* text, const char* caption, int type) override;
  IMenu* RunPopupMenu(IMenu* menu, const IBounds& area) override;
  void OpenTextEntry(IControl* control, const ITextStyle& style, const IBounds& area,
                     const char* text, IParameter* parameter) override;
  void HostDirectory(std::string* directory) override;
  void ModuleDirectory(std::string* directory) override;
  void DesktopDirectory(std::string* directory) override;
  void AskForFile(std::string* fileName, int action, std::string* directory,
                  const char* extensions) override;
  bool AskForColour(IArgb* colour, const char* prompt) override;
  // Asks first when confirmText is given; tells failureText when offline or no browser started.
  bool OpenLink(const char* address, const char* title, const char* confirmText,
                const char* failureText) override;
  void* AttachWindow(void* parent) override;
  void* OpenWindow(const INativeParent& parent) override;
  // The DPI of the host's window (of the screen without one) over 96.
  void FollowSystemScale(const INativeParent* parent) override;
  void DetachWindow() override;
  void* NativeWindow() override { return window; }
  void SetHostWindowOpacity(int alpha) override;
  void HidePointer() override;
  void RestorePointer() override;
  std::unique_ptr<RasterBitmap> LoadImageResource(int id, const char* fileName) override;

  int TextEntryState() const { return entryState; }
  HWND TextEntryBox() const { return entryBox; }
  // Editor windows that exist in the process; the window class is registered while any does.
  static int WindowClassUsers();

protected:
  void ResizeWindow(int width, int height) override;

private:
  static LRESULT CALLBACK EditorWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK EntryBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
  static BOOL CALLBACK MatchHostWindow(HWND candidate, LPARAM editor);

  LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleEntryBoxMessage(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
  void RedrawTick(HWND hwnd);
  void Press(HWND hwnd, WPARAM wParam, LPARAM lParam);
  void Release(WPARAM wParam, LPARAM lParam);
  void DoubleClick(HWND hwnd, WPARAM wParam, LPARAM lParam);
  void Drag(HWND hwnd, WPARAM wParam, LPARAM lParam);
  void Hover(HWND hwnd, WPARAM wParam, LPARAM lParam);
  void Wheel(HWND hwnd, WPARAM wParam, LPARAM lParam);
  LRESULT KeyDown(HWND hwnd, WPARAM wParam, LPARAM lParam);
  LRESULT EntryColours(HDC dc);
  bool EntryAccepts(WPARAM character) const;
  void CommitEntry();
  void CloseEntry();
  HWND HostMainWindow();
  void UnregisterClassWhenUnused();

  HINSTANCE instance = nullptr;
  HWND window = nullptr;
  HWND entryBox = nullptr;
  IControl* entryControl = nullptr;
  IParameter* entryParam = nullptr;
  WNDPROC entryDefaultProc = nullptr;
  int entryState = EntryIdle;
  std::unique_ptr<COLORREF[]> customColours;
  DWORD processId = 0;
  HWND parentWindow = nullptr;
  HWND hostMainWindow = nullptr;
  std::string hostClassName;
  // The entry box's font; it lives as long as the box.
  HFONT entryFont = nullptr;

  // Shared by every editor of the process; touched only on the host's window thread.
  static int windowClassUsers;
  // The frame rate of the editor attached last, which sets the redraw timer's period.
  static double editorFrameRate;
};
