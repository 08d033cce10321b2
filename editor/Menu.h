#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Flags of a menu entry.
constexpr std::uint32_t MenuEntryGreyed = 0x1;
constexpr std::uint32_t MenuEntryDisabled = 0x2;
constexpr std::uint32_t MenuEntryChecked = 0x4;
constexpr std::uint32_t MenuEntrySeparator = 0x8; // a separator line; nothing else is read

// Label prefixes: the entry's 1-based position in its own menu.
enum MenuNumbering {
  MenuNumberingNone = 0,
  MenuNumbering1 = 1,
  MenuNumbering2 = 2,
  MenuNumbering3 = 3
};

struct IMenu;

struct IMenuEntry {
  std::string label;
  std::unique_ptr<IMenu> submenu; // when set, the entry opens this menu
  std::uint32_t flags = 0;
};

// A popup menu description. The window writes the index of the chosen entry into the menu
// that holds it.
struct IMenu {
  std::int32_t numbering = MenuNumberingNone;
  std::int32_t chosen = -1;
  std::vector<std::unique_ptr<IMenuEntry>> entries;

  IMenuEntry& AddEntry(const std::string& label, std::uint32_t flags = 0) {
    entries.push_back(std::make_unique<IMenuEntry>());
    entries.back()->label = label;
    entries.back()->flags = flags;
    return *entries.back();
  }
  void AddSeparator() { AddEntry(std::string(), MenuEntrySeparator); }
  IMenu& AddSubmenu(const std::string& label) {
    IMenuEntry& entry = AddEntry(label);
    entry.submenu = std::make_unique<IMenu>();
    return *entry.submenu;
  }
};

// What AskForFile asks the user for.
enum FileAction { FileOpen = 0, FileSave = 1 };
