#pragma once

#include "editor/Menu.h"

#include <windows.h>

#include <string>

// Native popup menus from menu descriptions. Command ids are handed out depth-first, each menu's
// own entries first: the top menu's entries get 0 to n - 1, its first submenu's entries the next
// block, and so on. Separators and entries that open submenus use up an id without being
// choosable. FindChosenEntry walks the same way, so an id maps back to its entry.

// The shown text of entry `position` of a menu, with its number prefix.
std::string MenuEntryLabel(const IMenu& menu, int position);
// The native menu (submenus included), or none; counter is where this menu's ids start and
// moves past every id handed out.
HMENU BuildMenu(const IMenu& menu, int* counter);
// The menu holding command id, with the entry's index in it; none when no entry has the id.
IMenu* FindChosenEntry(int id, int* counter, IMenu* menu, int* index);
