// The main window's menus, menu items and command-bar buttons as one table, in the order they
// appear: per entry its name, caption, when it is enabled, its command-bar button (hint, glyph,
// colour) and the command it runs. The main window builds the menu bar, the command bar and the
// enabled states from it, so wiring a new screen is one line of the table in MenuCommands.cpp.
#pragma once

#include <QtGlobal>

#include <vector>

namespace kolmara::app {

class TKOLM000F;

using MenuRun = void (*)(TKOLM000F&);

struct MenuEntry {
    // A menu of the menu bar; an item of the menu last listed above it; a command-bar button
    // with no menu item.
    enum Kind { Menu, Item, Button };
    // Always, or from the first connection on (nothing disables an entry again).
    enum Enabled { Always, Connected };
    // A command-bar button, shown as `glyph` in the $00BBGGRR colour `bgr` with `hint` as its
    // tool tip; an entry without a hint has no button.
    struct Look {
        const char* hint = nullptr;
        const char* glyph = nullptr;
        quint32 bgr = 0;
    };

    Kind kind;
    const char* name;  // "N1" … "N9" a menu, "N11" … "N92" an item; the button is "tbt_" + name
    const char* caption = nullptr;  // UTF-8
    Enabled enabled = Always;
    bool separatorBefore = false;
    Look button = {};
    // What the item runs; nullptr leaves the item and its button inert.
    MenuRun run = nullptr;
    // What the button runs where it differs from the item; otherwise it triggers the item.
    MenuRun buttonRun = nullptr;
};

const std::vector<MenuEntry>& menuEntries();

}  // namespace kolmara::app
