// The commands behind the main window's menu items, as data: one line per item that does
// something, naming the item and what it runs. The command-bar buttons reuse the same lines, so
// wiring a new screen is one line of the table in MenuCommands.cpp. Items without a line are inert.
#pragma once

#include <functional>
#include <vector>

namespace kolmara::app {

class TKOLM000F;

struct MenuCommand {
    const char* item;  // the menu item's name, "N11" … "N92"
    std::function<void(TKOLM000F&)> run;
};

const std::vector<MenuCommand>& menuCommands();

}  // namespace kolmara::app
