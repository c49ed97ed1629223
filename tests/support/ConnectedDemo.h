// What a screen test starts from: a fresh demo instance, the scripted UI services, and the main
// window connected to the instance as SYSTEM with its commands enabled, the way a DBA starts.
// Destroyed in the reverse order: the window, the services, the instance.
//
//   auto demo = std::make_unique<test::ConnectedDemo>();
//   QVERIFY(demo->connected);
//   auto* screen = demo->open<screens::TKOLM220F>("N22");
//
// A test that logs in as another account, or adds seed scripts first, starts from the shown but
// unconnected window (ConnectedDemo::Later) and calls connectAs.
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
        connectAs(QStringLiteral("SYSTEM"), QStringLiteral("MANAGER"));
    }

    struct Later {};
    // Not connected yet; the engine's clock stands at `engineNow`.
    explicit ConnectedDemo(Later, const QDateTime& engineNow = DemoDatabase::defaultNow())
        : demo(engineNow)
    {
        main.show();
    }

    // Connects the window as `user` and enables its commands, as the connect dialog does.
    bool connectAs(const QString& user, const QString& password)
    {
        connected = main.ConnectDatabase(QStringLiteral("DEMO"), user, password);
        if (connected)
            main.enableCommands();
        return connected;
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
