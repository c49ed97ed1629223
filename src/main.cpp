// Program start: the application and its one automatically created window, the main window.
#include "app/Application.h"

int main(int argc, char* argv[])
{
    return kolmara::app::runApplication(argc, argv);
}
