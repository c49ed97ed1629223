// Takes the README's screenshots: the main window connected to the demo instance, the connect
// dialog, and the sessions and tablespaces screens with data, grabbed offscreen into the given
// folder.
//
//   QT_QPA_PLATFORM=offscreen kolmara-screenshots docs/screenshots
#include "app/KOLM000U.h"
#include "dialogs/KOLM100U.h"
#include "screens/sessions/KOLM300U.h"
#include "screens/tablespaces/KOLM310U.h"
#include "widgets/Fonts.h"

#include <QAction>
#include <QComboBox>
#include <QApplication>
#include <QDir>
#include <QMdiSubWindow>
#include <QTabWidget>

#include <cstdio>

namespace {

bool save(QWidget* widget, const QString& file)
{
    QApplication::processEvents();
    const bool ok = widget->grab().save(file);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(file));
    return ok;
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    kolmara::ui::installFontSubstitutions();
    QApplication::setFont(kolmara::ui::gulimChe(12));
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(folder);

    using kolmara::app::TKOLM000F;
    TKOLM000F::setAutoConnectEnabled(false);
    TKOLM000F main;
    main.resize(1100, 760);
    main.show();

    kolmara::dialogs::TKOLM100F dialog(&main);
    dialog.show();
    bool ok = save(&dialog, folder + QStringLiteral("/connect-dialog.png"));
    dialog.hide();

    if (!main.ConnectDatabase(QStringLiteral("DEMO"), QStringLiteral("SYSTEM"),
                              QStringLiteral("MANAGER"))) {
        std::fprintf(stderr, "could not connect to DEMO\n");
        return 1;
    }
    main.enableCommands();
    main.Timer1Timer();

    main.menuAction(QStringLiteral("N31"))->trigger();
    if (QMdiSubWindow* sub = main.mdiArea()->activeSubWindow()) {
        auto* screen = qobject_cast<kolmara::screens::TKOLM300F*>(sub->widget());
        sub->move(0, 0);
        screen->ShowSessionSql(false, 12);
        ok &= save(&main, folder + QStringLiteral("/main-window.png"));
        ok &= save(sub, folder + QStringLiteral("/sessions.png"));
        screen->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(1);
        ok &= save(sub, folder + QStringLiteral("/locks.png"));
        sub->close();
    }

    // The tablespaces with all three colour bands, TGHD's three files with their totals row and
    // the sales application's tables there, and the rollback segments with a shrink prepared.
    main.accountList()->setCurrentText(QStringLiteral("TGHAPP"));
    main.cbe_grantChange();
    main.menuAction(QStringLiteral("N32"))->trigger();
    if (QMdiSubWindow* sub = main.mdiArea()->activeSubWindow()) {
        auto* screen = qobject_cast<kolmara::screens::TKOLM310F*>(sub->widget());
        sub->move(0, 0);
        screen->ShowTablespaceDetail(7);
        ok &= save(sub, folder + QStringLiteral("/tablespaces.png"));
        screen->findChild<QTabWidget*>(QStringLiteral("PageControl2"))->setCurrentIndex(1);
        ok &= save(sub, folder + QStringLiteral("/tablespace-tables.png"));
        screen->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(1);
        screen->PrepareShrink(2);
        ok &= save(sub, folder + QStringLiteral("/rollback-segments.png"));
    }
    return ok ? 0 : 1;
}
