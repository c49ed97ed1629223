// The command table of the main window's menu items and command-bar buttons.
#include "app/MenuCommands.h"

#include "app/KOLM000U.h"
#include "screens/sessions/KOLM300U.h"
#include "screens/tables/KOLM210U.h"
#include "screens/tablespaces/KOLM310U.h"
#include "widgets/UiServices.h"

namespace kolmara::app {

namespace {

// Opens as child: an open window of that class comes to the front, else a new one is made.
template <typename Screen>
void openScreen(TKOLM000F& main)
{
    main.openChild<Screen>([&main] {
        auto* screen = new Screen;
        screen->openIn(main.mdiArea());
        return screen;
    });
}

// Modal, refused with open screens.
template <typename Dialog>
void runEnvironmentDialog(TKOLM000F& main)
{
    if (main.refuseWithOpenScreens())
        return;
    Dialog dialog(&main);
    ui::services().execDialog(&dialog);
}

}  // namespace

const std::vector<MenuCommand>& menuCommands()
{
    static const std::vector<MenuCommand> table = {
        {"N11", [](TKOLM000F& main) { main.N11Click(); }},
        {"N12", [](TKOLM000F& main) { main.N12Click(); }},
        {"N13", [](TKOLM000F& main) { main.N13Click(); }},
        {"N14", [](TKOLM000F& main) { main.N14Click(); }},
        {"N21", openScreen<screens::TKOLM210F>},
        {"N31", openScreen<screens::TKOLM300F>},
        {"N32", openScreen<screens::TKOLM310F>},
        {"N92", [](TKOLM000F& main) { main.N92Click(); }},
    };
    return table;
}

}  // namespace kolmara::app
