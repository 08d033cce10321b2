#include "TestControls.h"
#include "WindowTestSupport.h"

#include "../plugin/TestPlugin.h"
#include "editor/Menu.h"
#include "editor/win/EditorWin.h"
#include "editor/win/FileFilter.h"
#include "editor/win/PopupMenu.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace {
std::string ItemText(HMENU menu, int position) {
  char text[128] = {};
  GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof(text), MF_BYPOSITION);
  return text;
}

// A top menu of three entries whose second opens a two-entry submenu.
IMenu NestedMenu() {
  IMenu top;
  top.AddEntry("One");
  IMenu& sub = top.AddSubmenu("More");
  sub.AddEntry("Sub A");
  sub.AddEntry("Sub B");
  top.AddEntry("Three", MenuEntryChecked);
  return top;
}

struct ServicesEditor {
  ServicesEditor() : editor(&plugin, 560, 400, 25) {
    editor.AddControl(
        new RecordingControl(&plugin, {0, 0, 560, 400}, -1, 0xFF000000u, &plugin.log, "back"));
    amount = new RecordingControl(&plugin, {10, 10, 90, 30}, 0, 0xFFFF0000u, &plugin.log, "amount");
    editor.AddControl(amount);
    editor.PrepareDrawing();
    window = static_cast<HWND>(editor.AttachWindow(host.Handle()));
    plugin.log.clear();
  }
  ~ServicesEditor() { editor.DetachWindow(); }

  // Opens the box over the amount control, editing parameter index (or free text for -1).
  HWND Open(int index, const char* text = "") {
    editor.OpenTextEntry(amount, amount->TextStyle(), amount->Area(), text,
                         index >= 0 ? plugin.Parameter(index) : nullptr);
    return editor.TextEntryBox();
  }
  std::string Typed(HWND box, const char* characters) {
    for (const char* c = characters; *c; ++c) {
      SendMessageA(box, WM_CHAR, static_cast<unsigned char>(*c), 1);
    }
    char text[64] = {};
    GetWindowTextA(box, text, sizeof(text));
    return text;
  }
  void Tick() { SendMessageA(window, WM_TIMER, IEditorWin::RedrawTimerId, 0); }

  TestPlugin plugin;
  HostWindow host;
  IEditorWin editor;
  RecordingControl* amount = nullptr;
  HWND window = nullptr;
};
} // namespace

TEST(PopupMenu, NumbersEntriesCountingSeparators) {
  IMenu menu;
  menu.numbering = MenuNumbering2;
  menu.AddEntry("Lo");
  menu.AddSeparator();
  menu.AddEntry("Hi", MenuEntryGreyed);
  int counter = 0;
  HMENU native = BuildMenu(menu, &counter);
  ASSERT_NE(native, nullptr);
  EXPECT_EQ(counter, 3);
  ASSERT_EQ(GetMenuItemCount(native), 3);
  EXPECT_EQ(ItemText(native, 0), "01: Lo");
  EXPECT_EQ(GetMenuState(native, 1, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
  EXPECT_EQ(ItemText(native, 2), "03: Hi");
  EXPECT_EQ(GetMenuItemID(native, 2), 2u);
  EXPECT_TRUE(GetMenuState(native, 2, MF_BYPOSITION) & MF_GRAYED);
  DestroyMenu(native);

  menu.numbering = MenuNumbering1;
  EXPECT_EQ(MenuEntryLabel(menu, 2), "3: Hi");
  menu.numbering = MenuNumbering3;
  EXPECT_EQ(MenuEntryLabel(menu, 0), "001: Lo");
  menu.numbering = MenuNumberingNone;
  EXPECT_EQ(MenuEntryLabel(menu, 0), "Lo");
}

TEST(PopupMenu, IdsGoDepthFirstAndMapBack) {
  IMenu top = NestedMenu();
  int counter = 0;
  HMENU native = BuildMenu(top, &counter);
  ASSERT_NE(native, nullptr);
  EXPECT_EQ(counter, 5);
  EXPECT_EQ(GetMenuItemID(native, 0), 0u);
  EXPECT_EQ(GetMenuItemID(native, 2), 2u);
  EXPECT_TRUE(GetMenuState(native, 2, MF_BYPOSITION) & MF_CHECKED);
  HMENU sub = GetSubMenu(native, 1);
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(ItemText(native, 1), "More");
  EXPECT_EQ(GetMenuItemID(sub, 0), 3u);
  EXPECT_EQ(GetMenuItemID(sub, 1), 4u);
  DestroyMenu(native);

  int start = 0;
  int index = -1;
  EXPECT_EQ(FindChosenEntry(4, &start, &top, &index), top.entries[1]->submenu.get());
  EXPECT_EQ(index, 1);
  start = 0;
  EXPECT_EQ(FindChosenEntry(2, &start, &top, &index), &top);
  EXPECT_EQ(index, 2);
  start = 0;
  EXPECT_EQ(FindChosenEntry(5, &start, &top, &index), nullptr);
}

namespace {
// The menu's modal loop takes keyboard messages from the thread's queue, whichever window they
// are posted to; posting (rather than injecting input) keeps other programs' windows out of it.
HWND menuOwner = nullptr;

void PostKeys(std::initializer_list<WPARAM> keys) {
  for (WPARAM key : keys) {
    PostMessageA(menuOwner, WM_KEYDOWN, key, 1);
    PostMessageA(menuOwner, WM_KEYUP, key, 0xC0000001);
  }
}

// Chooses the submenu's second entry.
void CALLBACK ChooseSubmenuSecond(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  PostKeys({VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN});
}

void CALLBACK DismissMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  PostKeys({VK_ESCAPE, VK_ESCAPE});
}
} // namespace

TEST(PopupMenu, RunReturnsTheMenuHoldingTheChoice) {
  ServicesEditor e;
  menuOwner = e.window;
  IMenu top = NestedMenu();
  e.editor.DispatchPress(20, 20, IMouseKeys{});
  SetTimer(nullptr, 0, 300, ChooseSubmenuSecond);
  IMenu* chosen = e.editor.RunPopupMenu(&top, IBounds{10, 10, 90, 30});
  EXPECT_EQ(e.editor.CapturedIndex(), -1) << "no drag continues after a menu";
  ASSERT_EQ(chosen, top.entries[1]->submenu.get());
  EXPECT_EQ(chosen->chosen, 1);
  EXPECT_EQ(top.chosen, -1);

  SetTimer(nullptr, 0, 300, DismissMenu);
  EXPECT_EQ(e.editor.RunPopupMenu(&top, IBounds{10, 10, 90, 30}), nullptr);
}

TEST(TextEntry, OpensIdleOverTheAreaWithTheControlsLimit) {
  ServicesEditor e;
  HWND box = e.Open(0, "12.5");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(e.editor.TextEntryState(), IEditorWin::EntryIdle);
  EXPECT_EQ(GetFocus(), box);
  EXPECT_EQ(GetDlgCtrlID(box), IEditorWin::EntryBoxId);
  const RECT placed = PlacementWithin(box, e.window);
  EXPECT_EQ(placed.left, 10);
  EXPECT_EQ(placed.top, 10);
  EXPECT_EQ(placed.right, 81);
  EXPECT_EQ(placed.bottom, 21);
  EXPECT_EQ(GetWindowLongA(box, GWL_STYLE) & (ES_CENTER | ES_RIGHT), ES_CENTER);
  DWORD start = 1;
  DWORD end = 0;
  SendMessageA(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 4u);
  // A second box is not opened while one is.
  e.editor.OpenTextEntry(e.amount, e.amount->TextStyle(), IBounds{0, 0, 5, 5}, "x", nullptr);
  EXPECT_EQ(e.editor.TextEntryBox(), box);
}

TEST(TextEntry, FiltersCharactersByParameterKind) {
  ServicesEditor e;
  // Continuous: digits, signs and the point; of -1.5e3 the letter is rejected.
  EXPECT_EQ(e.Typed(e.Open(0), "abc-1.5e3"), "-1.53");
  e.editor.DismissTextEntry();
  e.Tick();
  // Integer: no point, and the control's 7-character limit.
  EXPECT_EQ(e.Typed(e.Open(1), "+12.34567890"), "+123456");
  e.editor.DismissTextEntry();
  e.Tick();
  // Free text takes anything; backspace always passes.
  EXPECT_EQ(e.Typed(e.Open(-1), "Ab\x80.\b"), "Ab\x80");
}

TEST(TextEntry, EnterCommitsAtTheNextTick) {
  ServicesEditor e;
  HWND box = e.Open(0);
  e.Typed(box, "49.995");
  SendMessageA(box, WM_KEYDOWN, VK_RETURN, 1);
  EXPECT_EQ(e.editor.TextEntryState(), IEditorWin::EntryCommit);
  EXPECT_TRUE(IsWindow(box));
  e.Tick();
  EXPECT_FALSE(IsWindow(box));
  EXPECT_EQ(e.editor.TextEntryBox(), nullptr);
  EXPECT_EQ(e.editor.TextEntryState(), IEditorWin::EntryIdle);
  EXPECT_NEAR(e.amount->Value(), 0.5, 1e-9);
  EXPECT_NEAR(e.plugin.Parameter(0)->Value(), 49.995, 1e-9);
  ASSERT_FALSE(e.plugin.log.empty());
  EXPECT_EQ(e.plugin.log.back().rfind("Notify 0", 0), 0u) << "the host hears of the new value";
}

TEST(TextEntry, CommittedNumbersStopAtTheFirstOtherCharacterAndAreClamped) {
  ServicesEditor e;
  HWND box = e.Open(0);
  SetWindowTextA(box, "12abc");
  SendMessageA(box, WM_COMMAND, MAKEWPARAM(0, 1), 0);
  EXPECT_EQ(e.editor.TextEntryState(), IEditorWin::EntryCommit);
  e.Tick();
  EXPECT_NEAR(e.plugin.Parameter(0)->Value(), 12.0, 1e-9);
  box = e.Open(0);
  SetWindowTextA(box, "250");
  SendMessageA(box, WM_KEYDOWN, VK_RETURN, 1);
  e.Tick();
  EXPECT_DOUBLE_EQ(e.amount->Value(), 1.0);
}

TEST(TextEntry, FreeTextGoesToTheControl) {
  ServicesEditor e;
  HWND box = e.Open(-1);
  e.Typed(box, "hello");
  SendMessageA(box, WM_KEYDOWN, VK_RETURN, 1);
  e.Tick();
  EXPECT_EQ(e.plugin.log, (std::vector<std::string>{"amount text hello"}));
}

TEST(TextEntry, APressWhileFocusedCancelsAtTheNextTick) {
  ServicesEditor e;
  HWND box = e.Open(0);
  e.Typed(box, "80");
  SetFocus(e.window);
  SetFocus(box);
  EXPECT_EQ(e.editor.TextEntryState(), IEditorWin::EntryFocused);
  // The gate: no input reaches the editor, a press only marks the entry.
  SendMessageA(e.window, WM_LBUTTONDOWN, MK_LBUTTON, PointerAt(300, 300));
  EXPECT_EQ(e.editor.TextEntryState(), IEditorWin::EntryCancel);
  EXPECT_TRUE(e.plugin.log.empty());
  e.Tick();
  EXPECT_FALSE(IsWindow(box));
  EXPECT_DOUBLE_EQ(e.plugin.Parameter(0)->Value(), 0.0);
}

TEST(TextEntry, APressWhileUnfocusedClosesAtOnce) {
  ServicesEditor e;
  HWND box = e.Open(0);
  ASSERT_EQ(e.editor.TextEntryState(), IEditorWin::EntryIdle);
  SendMessageA(e.window, WM_LBUTTONDOWN, MK_LBUTTON, PointerAt(300, 300));
  EXPECT_FALSE(IsWindow(box));
  EXPECT_EQ(e.plugin.log, (std::vector<std::string>{"back down 300,300"}));
}

TEST(TextEntry, LosingFocusOrTheWheelCancels) {
  ServicesEditor e;
  HWND box = e.Open(0);
  SetFocus(e.window);
  EXPECT_EQ(e.editor.TextEntryState(), IEditorWin::EntryCancel);
  e.Tick();
  EXPECT_FALSE(IsWindow(box));
  box = e.Open(0);
  SendMessageA(e.window, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  EXPECT_EQ(e.editor.TextEntryState(), IEditorWin::EntryCancel);
  e.Tick();
  EXPECT_FALSE(IsWindow(box));
}

TEST(TextEntry, DetachingClosesTheBox) {
  ServicesEditor e;
  HWND box = e.Open(0);
  e.editor.DetachWindow();
  EXPECT_FALSE(IsWindow(box));
  EXPECT_EQ(e.editor.TextEntryBox(), nullptr);
  EXPECT_EQ(e.editor.TextEntryState(), IEditorWin::EntryIdle);
}

TEST(TextEntry, TicksThatDrawLeaveTheUnfocusedBoxAlone) {
  ServicesEditor e;
  HWND box = e.Open(0);
  e.amount->MarkDirty(false);
  e.Tick();
  EXPECT_EQ(e.editor.TextEntryState(), IEditorWin::EntryRefreshed);
  e.Tick();
  EXPECT_EQ(e.editor.TextEntryState(), IEditorWin::EntryIdle);
  EXPECT_TRUE(IsWindow(box));
  // The box is painted in the entry colours of its control's style.
  HDC dc = GetDC(box);
  EXPECT_EQ(SendMessageA(e.window, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(box)),
            reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH)));
  EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
  EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
  ReleaseDC(box, dc);
}

TEST(FileDialogFilter, MakesOnePatternChoiceAndADefaultExtension) {
  const FileFilter filter = MakeFileFilter("fxp fxb");
  EXPECT_EQ(filter.pattern, "*.fxp;*.fxb");
  EXPECT_EQ(filter.filter, std::string("*.fxp;*.fxb\0*.fxp;*.fxb\0", 24));
  EXPECT_EQ(filter.defaultExtension, "fxp");
  EXPECT_EQ(MakeFileFilter("fxp  fxb").pattern, "*.fxp;*.;*.fxb");
  EXPECT_TRUE(MakeFileFilter(nullptr).filter.empty());
  EXPECT_TRUE(MakeFileFilter("").pattern.empty());
  EXPECT_TRUE(MakeFileFilter("averyveryverylongext png").defaultExtension.empty());
  std::string many;
  for (int i = 0; i < 40; ++i) {
    many += (i ? " " : "") + std::string("abc");
  }
  const FileFilter clipped = MakeFileFilter(many.c_str());
  EXPECT_LE(clipped.pattern.size(), kMaxFilterPattern);
  EXPECT_EQ(clipped.pattern.size() % 6, 5u) << "only whole entries";
}

TEST(EditorServices, FileAndColourNeedAWindow) {
  TestPlugin plugin;
  IEditorWin editor(&plugin, 560, 400, 25);
  std::string file = "preset.fxp";
  std::string directory;
  editor.AskForFile(&file, FileSave, &directory, "fxp");
  EXPECT_TRUE(file.empty());
  IArgb colour{255, 1, 2, 3};
  EXPECT_FALSE(editor.AskForColour(&colour, "Pick"));
  EXPECT_EQ(colour.red, 1);
  EXPECT_EQ(editor.RunPopupMenu(nullptr, IBounds{}), nullptr);
}

TEST(EditorServices, DirectoriesEndInABackslash) {
  TestPlugin plugin;
  IEditorWin editor(&plugin, 560, 400, 25);
  char program[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, program, sizeof(program));
  std::string expected(program);
  expected.erase(expected.rfind('\\') + 1);
  std::string directory = "stale";
  editor.HostDirectory(&directory);
  EXPECT_EQ(directory, expected);
  // Linked into the test program, the editor's module is the program.
  editor.ModuleDirectory(&directory);
  EXPECT_EQ(directory, expected);
  editor.DesktopDirectory(&directory);
  EXPECT_FALSE(directory.empty());
  EXPECT_NE(directory.find("Desktop"), std::string::npos) << directory;
}

namespace {
// Points the system's web-address handlers at a program that does not exist for one test, so
// that no browser can start whether or not the machine is online.
class NoBrowser {
public:
  NoBrowser() {
    for (int i = 0; i < 2; ++i) {
      char old[512] = {};
      LONG size = sizeof(old);
      if (RegQueryValueA(HKEY_LOCAL_MACHINE, Key(i).c_str(), old, &size) == ERROR_SUCCESS) {
        saved[i] = old;
      }
      RegSetValueA(HKEY_LOCAL_MACHINE, Key(i).c_str(), REG_SZ, kMissing, sizeof(kMissing));
    }
  }
  ~NoBrowser() {
    for (int i = 0; i < 2; ++i) {
      if (!saved[i].empty()) {
        RegSetValueA(HKEY_LOCAL_MACHINE, Key(i).c_str(), REG_SZ, saved[i].c_str(),
                     static_cast<DWORD>(saved[i].size() + 1));
      }
    }
  }

private:
  static std::string Key(int i) {
    return std::string("Software\\Classes\\") + (i == 0 ? "http" : "https") +
           "\\shell\\open\\command";
  }
  static constexpr char kMissing[] = "\"C:\\nowhere\\no-browser.exe\" \"%1\"";
  std::string saved[2];
};
} // namespace

TEST(EditorServices, LinksOpenNothingWithoutANetworkOrBrowser) {
  ServicesEditor e;
  NoBrowser noBrowser;
  // Online or not, the link fails quietly: no message box, since no failure text is given.
  EXPECT_FALSE(e.editor.OpenLink("https://quillmarsh.example/", "", nullptr, nullptr));
  EXPECT_FALSE(e.editor.OpenLink("", "", nullptr, nullptr));
}

TEST(TextEntry, FreeTextBoxesAskForTheEnterKey) {
  ServicesEditor e;
  MSG enter{};
  enter.message = WM_KEYDOWN;
  enter.wParam = VK_RETURN;
  const LPARAM asked = reinterpret_cast<LPARAM>(&enter);
  HWND box = e.Open(-1);
  EXPECT_TRUE(SendMessageA(box, WM_GETDLGCODE, VK_RETURN, asked) & DLGC_WANTALLKEYS);
  e.editor.DismissTextEntry();
  e.Tick();
  // A parameter entry keeps the answer of a plain box of the same style.
  box = e.Open(0);
  HWND plain = CreateWindowExA(0, "EDIT", "", GetWindowLongA(box, GWL_STYLE), 0, 0, 10, 10,
                               e.window, nullptr, nullptr, nullptr);
  EXPECT_EQ(SendMessageA(box, WM_GETDLGCODE, VK_RETURN, asked),
            SendMessageA(plain, WM_GETDLGCODE, VK_RETURN, asked));
  DestroyWindow(plain);
}
