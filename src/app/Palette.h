#pragma once

#include <string>
#include <vector>

// The element palette: the menus from which the user places elements, as
// plain data that the main window turns into its menus. An item creates the
// element class named in it (CreateElementByName).
struct TPaletteEntry {
    std::string Caption;
    // The class an item creates; empty for submenus and for the inactive item.
    std::string ClassName;
    bool Submenu = false;
    bool Enabled = true;
    std::vector<TPaletteEntry> Entries; // a submenu's entries, in menu order
};

// The palette menus of the menu bar, in order: "&Блоки", "&Элементы",
// "&Посредники".
const std::vector<TPaletteEntry>& PaletteMenus();

// The entry reached by following captions from the menu bar, or null.
const TPaletteEntry* FindPaletteEntry(const std::vector<std::string>& path);

// Every item that creates an element, in menu order, with the captions of
// the menus leading to it.
struct TPaletteItem {
    std::vector<std::string> Path;
    std::string Caption;
    std::string ClassName;
};
std::vector<TPaletteItem> PaletteItems();
