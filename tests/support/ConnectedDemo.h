// What a screen test starts from: a fresh demo instance, the scripted UI services, and the main
// window connected to the instance as SYSTEM with its commands enabled, the way a DBA starts.
// Destroyed in the reverse order: the window, the services, the instance.
//
//   auto demo = std::make_unique<test::ConnectedDemo>();
//   QVERIFY(demo->connected);
//   auto* screen = demo->open<screens::TKOLM220F>("N22");
#pragma once

#include "app/KOLM000U.h"
#include "DemoDatabase.h"
#include "ScriptedUiServices.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace kolmara::test {

class ConnectedDemo {
public:
    ConnectedDemo()
    {
        main.show();
        connected = main.ConnectDatabase(QStringLiteral("DEMO"), QStringLiteral("SYSTEM"), QStringLiteral("MANAGER"));
        if (connected)
            main.enableCommands();
    }

    // Runs the menu command and returns the screen it brought to the front, or nullptr when the
    // active child window holds no screen of that class.
    template <typename Screen>
    Screen* open(const char* item)
    {
        main.menuAction(QLatin1String(item))->trigger();
        QMdiSubWindow* sub = main.mdiArea()->activeSubWindow();
        return sub ? qobject_cast<Screen*>(sub->widget()) : nullptr;
    }

private:
    // Set before the window exists, so it never opens the connect dialog by itself.
    [[maybe_unused]] bool m_noAutoConnect = (app::TKOLM000F::setAutoConnectEnabled(false), true);

public:
    DemoDatabase demo;
    ScriptedUiServices ui;
    app::TKOLM000F main;
    bool connected = false;
};

}  // namespace kolmara::test
