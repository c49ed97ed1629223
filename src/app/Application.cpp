// Program start.
#include "app/Application.h"

#include "app/KOLM000U.h"
#include "widgets/Fonts.h"
#include "widgets/UiServices.h"

#include <QApplication>
#include <QFont>

#include <cstdio>
#include <cstdlib>

namespace kolmara::app {

bool hasDisplay()
{
#if defined(_WIN32) || defined(__APPLE__)
    return true;
#else
    auto set = [](const char* name) {
        const char* v = std::getenv(name);
        return v && *v;
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
#endif
}

int runApplication(int argc, char* argv[])
{
    if (!hasDisplay()) {
        std::fprintf(stderr,
                     "Kolmara needs a graphical display (none found: DISPLAY is not set); "
                     "to run it without one, use: xvfb-run -a ./build/bin/kolmara\n");
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kolmara"));
    ui::installFontSubstitutions();
    QApplication::setFont(ui::gulimChe(12));

    TKOLM000F mainWindow;
    mainWindow.showMaximized();
    return QApplication::exec();
}

}  // namespace kolmara::app
