#include "editor/win/PopupMenu.h"

#include "editor/win/EditorWin.h"

#include <cstdio>

namespace {
UINT EntryFlags(std::uint32_t flags) {
  UINT native = MF_STRING;
  if (flags & MenuEntryGreyed) {
    native |= MF_GRAYED;
  }
  if (flags & MenuEntryDisabled) {
    native |= MF_DISABLED;
  }
  if (flags & MenuEntryChecked) {
    native |= MF_CHECKED;
  }
  return native;
}

int EntryCount(const IMenu& menu) {
  return static_cast<int>(menu.entries.size());
}
} // namespace

std::string MenuEntryLabel(const IMenu& menu, int position) {
  const std::string& text = menu.entries[static_cast<std::size_t>(position)]->label;
  const char* format = nullptr;
  switch (menu.numbering) {
  case MenuNumbering1:
    format = "%1d: %s";
    break;
  case MenuNumbering2:
    format = "%02d: %s";
    break;
  case MenuNumbering3:
    format = "%03d: %s";
    break;
  default:
    return text;
  }
  std::string label(text.size() + 50, '\0');
  const int written = std::snprintf(&label[0], label.size(), format, position + 1, text.c_str());
  label.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
  return label;
}

HMENU BuildMenu(const IMenu& menu, int* counter) {
  HMENU native = CreatePopupMenu();
  if (!native) {
    return nullptr;
  }
  const int base = *counter;
  *counter += EntryCount(menu);
  for (int i = 0; i < EntryCount(menu); ++i) {
    const IMenuEntry& entry = *menu.entries[static_cast<std::size_t>(i)];
    if (entry.flags & MenuEntrySeparator) {
      AppendMenuA(native, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    const std::string label = MenuEntryLabel(menu, i);
    if (entry.submenu) {
      if (HMENU sub = BuildMenu(*entry.submenu, counter)) {
        AppendMenuA(native, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), label.c_str());
      }
      continue;
    }
    AppendMenuA(native, EntryFlags(entry.flags), static_cast<UINT_PTR>(base + i), label.c_str());
  }
  return native;
}

IMenu* FindChosenEntry(int id, int* counter, IMenu* menu, int* index) {
  const int base = *counter;
  *counter += EntryCount(*menu);
  if (id >= base && id < base + EntryCount(*menu)) {
    *index = id - base;
    return menu;
  }
  for (const auto& entry : menu->entries) {
    if (entry->submenu && !(entry->flags & MenuEntrySeparator)) {
      if (IMenu* found = FindChosenEntry(id, counter, entry->submenu.get(), index)) {
        return found;
      }
    }
  }
  return nullptr;
}

IMenu* IEditorWin::RunPopupMenu(IMenu* menu, const IBounds& area) {
  ResetCapture();
  if (!menu || !window) {
    return nullptr;
  }
  int counter = 0;
  HMENU native = BuildMenu(*menu, &counter);
  if (!native) {
    return nullptr;
  }
  POINT corner{area.left, area.bottom};
  ClientToScreen(window, &corner);
  IMenu* result = nullptr;
  if (TrackPopupMenu(native, 0, corner.x, corner.y, 0, window, nullptr)) {
    MSG command{};
    if (PeekMessageA(&command, window, WM_COMMAND, WM_COMMAND, PM_REMOVE) &&
        HIWORD(command.wParam) == 0) {
      int start = 0;
      int index = -1;
      if (IMenu* holder = FindChosenEntry(LOWORD(command.wParam), &start, menu, &index)) {
        holder->chosen = index;
        result = holder;
      }
    }
  }
  DestroyMenu(native);
  return result;
}
