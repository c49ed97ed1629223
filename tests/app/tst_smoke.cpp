// The whole program once over, against the demo instance: every menu item and command-bar button
// that does something is used once, each screen opens and writes its status line, closing every
// screen leaves the program connected, and the exit command ends it. The dialogs are answered
// through the scripted UI services, so any message box the run did not expect shows in the list.
#include "app/MenuCommands.h"
#include "common/KOLMCOMM.h"
#include "screens/MdiScreen.h"
#include "ConnectedDemo.h"

#include <QAction>
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

using namespace kolmara;

namespace {

// What each command that does something opens: a screen (its window class) or a modal dialog.
// Three screens open with an empty status line: the worksheets read nothing until the DBA runs a
// statement, and the server backup job lists the due tables without one (none due is a message).
struct Expected {
    const char* item;
    const char* screen;
    const char* dialog;
    bool readsOnOpen = true;
};

const Expected kScreens[] = {
    {"N15", "TKOLM120F", nullptr},        {"N21", "TKOLM210F", nullptr},
    {"N22", "TKOLM220F", nullptr},        {"N31", "TKOLM300F", nullptr},
    {"N32", "TKOLM310F", nullptr},        {"N33", "TKOLM320F", nullptr},
    {"N41", "TKOLM410F", nullptr, false}, {"N42", "TKOLM420F", nullptr, false},
    {"N51", "TKOLM500F", nullptr},        {"N53", "TKOLM521F", nullptr, false},
};

// The modal commands, run while no screen is open (the environment dialogs are refused
// otherwise). N13 is the connect dialog: cancelled while connected, it changes nothing.
const Expected kDialogs[] = {
    {"N11", nullptr, "TKOLM110F"},
    {"N13", nullptr, "TKOLM100F"},
    {"N16", nullptr, "TKOLM130F"},
    {"N92", nullptr, "TKOLM900F"},
};

}  // namespace

class TestSmoke : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void everyCommandIsCovered();
    void everyCommandOnceThenExit();

private:
    // Runs the item once from the menu and once from its command-bar button.
    void runBoth(const char* item);
    QString activeScreenName() const;

    std::unique_ptr<test::ConnectedDemo> m_env;
};

void TestSmoke::init()
{
    m_env = std::make_unique<test::ConnectedDemo>();
    QVERIFY(m_env->connected);
    m_env->main.resize(1200, 860);
    // An account with tables of its own, as a DBA picks before opening the screens.
    QComboBox* accounts = m_env->main.accountList();
    accounts->setCurrentIndex(accounts->findText(QStringLiteral("SCOTT")));
    m_env->main.cbe_grantChange();
    QCOMPARE(ConnUser, QStringLiteral("SCOTT"));
}

void TestSmoke::cleanup()
{
    m_env.reset();
}

void TestSmoke::runBoth(const char* item)
{
    QAction* action = m_env->main.menuAction(QLatin1String(item));
    QVERIFY2(action && action->isEnabled(), item);
    action->trigger();
    auto* button =
        m_env->main.findChild<QToolButton*>(QStringLiteral("tbt_") + QLatin1String(item));
    QVERIFY2(button && button->isEnabled(), item);
    button->click();
}

QString TestSmoke::activeScreenName() const
{
    QMdiSubWindow* sub = m_env->main.mdiArea()->activeSubWindow();
    return sub && sub->widget() ? sub->widget()->objectName() : QString();
}

void TestSmoke::everyCommandIsCovered()
{
    // A command added to the table without a line here would go untested by the run below.
    QSet<QString> covered;
    for (const Expected& e : kScreens)
        covered << QLatin1String(e.item);
    for (const Expected& e : kDialogs)
        covered << QLatin1String(e.item);
    for (const char* item : {"N12", "N14", "N61", "N62", "N63"})
        covered << QLatin1String(item);
    for (const app::MenuEntry& entry : app::menuEntries())
        if (entry.run || entry.buttonRun)
            QVERIFY2(covered.contains(QLatin1String(entry.name)), entry.name);
}

void TestSmoke::everyCommandOnceThenExit()
{
    test::ScriptedUiServices& ui = m_env->ui;
    QMdiArea* area = m_env->main.mdiArea();

    for (const Expected& e : kDialogs) {
        QStringList seen;
        for (int i = 0; i < 2; ++i) {
            ui.onDialog([&seen](QDialog* dialog) {
                seen << dialog->windowTitle();
                return int(QDialog::Rejected);
            });
        }
        runBoth(e.item);
        const QStringList run = ui.dialogsRun().mid(ui.dialogsRun().size() - 2);
        QCOMPARE(run.size(), 2);
        for (const QString& name : run)
            QVERIFY2(name.endsWith(QLatin1String(e.dialog)), qPrintable(name));
        QCOMPARE(seen.size(), 2);
        QVERIFY2(!seen.first().isEmpty(), e.dialog);
        QVERIFY(m_env->main.isConnected());
        QVERIFY(area->subWindowList().isEmpty());
    }
    runBoth("N12");
    QCOMPARE(ui.printerSetupCount(), 2);

    for (const Expected& e : kScreens) {
        runBoth(e.item);
        // The button brought the window the menu opened to the front, no second one.
        QCOMPARE(activeScreenName(), QLatin1String(e.screen));
        int instances = 0;
        for (QMdiSubWindow* sub : area->subWindowList())
            instances += sub->widget()->objectName() == QLatin1String(e.screen) ? 1 : 0;
        QCOMPARE(instances, 1);
        auto* screen = qobject_cast<screens::MdiScreen*>(area->activeSubWindow()->widget());
        QVERIFY(screen);
        auto* statusBar = screen->findChild<QStatusBar*>(QStringLiteral("StatusBar1"));
        QVERIFY(statusBar && statusBar->isVisible());
        const QString status = screen->statusText();
        if (!e.readsOnOpen) {
            QVERIFY2(status.isEmpty(), qPrintable(status));
            continue;
        }
        QVERIFY2(
            status.startsWith(QStringLiteral("▶ ")) && !status.contains(QStringLiteral("ERROR")),
            qPrintable(QLatin1String(e.screen) + QStringLiteral(": ") + status));
    }
    QCOMPARE(area->subWindowList().size(), int(std::size(kScreens)));

    // The window menu: the three arrangements, then the list of open windows.
    for (const char* item : {"N61", "N62", "N63"})
        m_env->main.menuAction(QLatin1String(item))->trigger();
    auto* windowMenu = m_env->main.menuBar()->findChild<QMenu*>(QStringLiteral("N6"));
    QVERIFY(windowMenu);
    emit windowMenu->aboutToShow();
    QList<QAction*> listed;
    for (QAction* a : windowMenu->actions())
        if (a->property("windowList").toBool() && !a->isSeparator())
            listed << a;
    QCOMPARE(listed.size(), int(std::size(kScreens)));
    listed.first()->trigger();
    QCOMPARE(area->activeSubWindow(), area->subWindowList().first());

    // The exit button closes the active screen first; the rest close with the window list.
    const int open = int(area->subWindowList().size());
    m_env->main.findChild<QToolButton*>(QStringLiteral("tbt_N14"))->click();
    QCOMPARE(int(area->subWindowList().size()), open - 1);
    area->closeAllSubWindows();
    QVERIFY(area->subWindowList().isEmpty());
    QVERIFY(m_env->main.isConnected());
    QVERIFY(m_env->main.menuAction(QStringLiteral("N15"))->isEnabled());
    QVERIFY2(ui.messages().isEmpty(), qPrintable(ui.messageTexts().join(QLatin1Char('|'))));

    ui.answerMessage(QMessageBox::Yes);
    m_env->main.menuAction(QStringLiteral("N14"))->trigger();
    QCOMPARE(ui.messageTexts(), QStringList{QStringLiteral("Kolmara 시스템을 종료 하시겠습니까?")});
    QVERIFY(!m_env->main.isVisible());
}

QTEST_MAIN(TestSmoke)
#include "tst_smoke.moc"
