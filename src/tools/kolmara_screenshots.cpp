// Takes the README's screenshots: the main window connected to the demo instance, the connect
// dialog, the sessions and tablespaces screens and the table manager with data, grabbed
// offscreen into the given folder.
//
//   QT_QPA_PLATFORM=offscreen kolmara-screenshots docs/screenshots
#include "app/KOLM000U.h"
#include "dialogs/KOLM100U.h"
#include "screens/sessions/KOLM300U.h"
#include "screens/tables/KOLM210U.h"
#include "screens/tablespaces/KOLM310U.h"
#include "widgets/Fonts.h"
#include "widgets/StringGrid.h"

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

    // The sales application's price history: its layout, its script, and a scheduled table's
    // backup tab.
    main.menuAction(QStringLiteral("N21"))->trigger();
    if (QMdiSubWindow* sub = main.mdiArea()->activeSubWindow()) {
        using kolmara::screens::TKOLM210F;
        auto* screen = qobject_cast<TKOLM210F*>(sub->widget());
        sub->move(0, 0);
        auto* list = screen->findChild<kolmara::ui::StringGrid*>(QStringLiteral("AdvStringGrid1"));
        auto choose = [&](const QString& table) {
            for (int r = 1; r < list->rowCount(); ++r) {
                if (list->cell(1, r) == table) {
                    list->setCurrentCell(1, r);
                    screen->SelectTable(r);
                }
            }
        };
        choose(QStringLiteral("PRICE_HIST"));
        ok &= save(sub, folder + QStringLiteral("/table-layout.png"));
        auto* pages = screen->findChild<QTabWidget*>(QStringLiteral("PageControl1"));
        pages->setCurrentIndex(TKOLM210F::ScriptPage);
        ok &= save(sub, folder + QStringLiteral("/table-script.png"));
        pages->setCurrentIndex(TKOLM210F::BackupPage);
        choose(QStringLiteral("ORDER_ITEM"));
        ok &= save(sub, folder + QStringLiteral("/table-backup.png"));
    }
    return ok ? 0 : 1;
}
