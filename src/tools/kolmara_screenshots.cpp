// Takes the README's screenshots: the main window connected to the demo instance, the connect
// dialog, the sessions and tablespaces screens, the table manager, the database information,
// object information and user management screens, the backup screens and the object creation
// dialog, the SQL worksheet and the PL/SQL editor, with data, grabbed offscreen into the given
// folder, and the first pages of the printed reports.
//
//   QT_QPA_PLATFORM=offscreen kolmara-screenshots docs/screenshots
#include "app/KOLM000U.h"
#include "dialogs/KOLM100U.h"
#include "dialogs/KOLM130U.h"
#include "reports/KOLM211U.h"
#include "reports/KOLM212U.h"
#include "screens/backup/KOLM500U.h"
#include "screens/dbinfo/KOLM120U.h"
#include "screens/objects/KOLM220U.h"
#include "screens/serverbackup/KOLM521U.h"
#include "screens/sessions/KOLM300U.h"
#include "screens/tables/KOLM210U.h"
#include "screens/tablespaces/KOLM310U.h"
#include "screens/users/KOLM320U.h"
#include "screens/worksheet/KOLM410U.h"
#include "screens/worksheet/KOLM420U.h"
#include "screens/worksheet/SqlEditor.h"
#include "widgets/Fonts.h"
#include "widgets/ReportCanvas.h"
#include "widgets/StringGrid.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QMdiSubWindow>
#include <QTabWidget>

#include <cstdio>

namespace {

// Opens the screen of a menu item at the top left of the work area; nullptr if it did not open.
template <typename Screen>
Screen* open(kolmara::app::TKOLM000F& main, const char* item, QMdiSubWindow** sub)
{
    main.menuAction(QLatin1String(item))->trigger();
    *sub = main.mdiArea()->activeSubWindow();
    if (!*sub)
        return nullptr;
    (*sub)->move(0, 0);
    return qobject_cast<Screen*>((*sub)->widget());
}

// The row of a grid that holds the text, 0 when none does.
int rowOf(QWidget* screen, const char* grid, const QString& text)
{
    int col = 0, row = 0;
    if (auto* g = screen->findChild<kolmara::ui::StringGrid*>(QLatin1String(grid)))
        g->findFirst(text, &col, &row);
    return row;
}

bool save(QWidget* widget, const QString& file)
{
    QApplication::processEvents();
    const bool ok = widget->grab().save(file);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(file));
    return ok;
}

bool savePage(kolmara::ui::BandedReport& report, const QString& file)
{
    const QImage page = kolmara::ui::renderPageImage(report, 1, 110, QDateTime::currentDateTime());
    const bool ok = page.save(file);
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

        // The first pages of the printed table list and of ORDER_ITEM's layout.
        pages->setCurrentIndex(TKOLM210F::LayoutPage);
        ok &= savePage(screen->tableListReport()->report(), folder + QStringLiteral("/report-table-list.png"));
        ok &= savePage(screen->layoutReport()->report(), folder + QStringLiteral("/report-table-layout.png"));
    }

    // The information screens one at a time, the sales application's account still chosen.
    main.mdiArea()->closeAllSubWindows();
    QMdiSubWindow* sub = nullptr;
    if (auto* info = open<kolmara::screens::TKOLM120F>(main, "N15", &sub)) {
        ok &= save(sub, folder + QStringLiteral("/dbinfo.png"));
        info->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(3);
        info->AdvStringGrid6ClickCell(1, rowOf(info, "AdvStringGrid6", QStringLiteral("ALL_OBJECTS")));
        ok &= save(sub, folder + QStringLiteral("/dictionary.png"));
        sub->close();
    }
    if (open<kolmara::screens::TKOLM220F>(main, "N22", &sub)) {
        ok &= save(sub, folder + QStringLiteral("/objects.png"));
        sub->close();
    }
    if (auto* users = open<kolmara::screens::TKOLM320F>(main, "N33", &sub)) {
        users->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(1);
        users->AdvStringGrid2ClickCell(rowOf(users, "AdvStringGrid2", QStringLiteral("SCOTT")));
        ok &= save(sub, folder + QStringLiteral("/users.png"));
        users->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(2);
        users->AdvStringGrid4ClickCell(rowOf(users, "AdvStringGrid4", QStringLiteral("TGHAPP")));
        ok &= save(sub, folder + QStringLiteral("/backup-log.png"));
    }

    // The backup screens show the data mart account's tables; nothing is dumped.
    main.mdiArea()->closeAllSubWindows();
    QComboBox* accounts = main.accountList();
    accounts->setCurrentIndex(accounts->findText(QStringLiteral("TGHDW")));
    main.cbe_grantChange();
    main.menuAction(QStringLiteral("N51"))->trigger();
    if (QMdiSubWindow* sub = main.mdiArea()->activeSubWindow()) {
        sub->move(0, 0);
        if (auto* screen = qobject_cast<kolmara::screens::TKOLM500F*>(sub->widget()))
            screen->AdvStringGrid1ClickCell(2);
        ok &= save(sub, folder + QStringLiteral("/backup.png"));
        sub->close();
    }
    main.menuAction(QStringLiteral("N53"))->trigger();
    if (QMdiSubWindow* sub = main.mdiArea()->activeSubWindow()) {
        sub->move(0, 0);
        ok &= save(sub, folder + QStringLiteral("/server-backup.png"));
        sub->close();
    }
    QApplication::processEvents();
    kolmara::dialogs::TKOLM130F objects(&main);
    objects.show();
    ok &= save(&objects, folder + QStringLiteral("/object-creation.png"));
    objects.hide();

    // The worksheet with a query's rows and with an error in place, and the PL/SQL editor, which
    // tells that the demo instance compiles no PL/SQL.
    main.menuAction(QStringLiteral("N41"))->trigger();
    if (QMdiSubWindow* sub = main.mdiArea()->activeSubWindow()) {
        using kolmara::screens::TKOLM410F;
        auto* screen = qobject_cast<TKOLM410F*>(sub->widget());
        sub->move(0, 0);
        auto* editor = screen->findChild<kolmara::screens::SqlEditor*>(QStringLiteral("Memo1"));
        editor->setPlainText(QStringLiteral(
            "-- 부서별 급여\nSELECT D.DNAME, E.ENAME, E.JOB, E.SAL, E.HIREDATE\n"
            "  FROM SCOTT.EMP E, SCOTT.DEPT D\n WHERE E.DEPTNO = D.DEPTNO\n"
            " ORDER BY D.DNAME, E.SAL DESC;\n\n"
            "UPDATE SCOTT.EMP SET SAL = SAL * 1.1 WHERE DEPTNO = :DEPTNO;\n"));
        editor->placeCursor(20);
        screen->sbt_runClick();
        ok &= save(sub, folder + QStringLiteral("/worksheet.png"));
        editor->setPlainText(QStringLiteral("SELECT ENAME, SAL\n  FROM SCOTT.EMPLOYEE\n WHERE SAL > 2000"));
        editor->placeCursor(0);
        screen->sbt_runClick();
        ok &= save(sub, folder + QStringLiteral("/worksheet-error.png"));
    }
    main.menuAction(QStringLiteral("N42"))->trigger();
    if (QMdiSubWindow* sub = main.mdiArea()->activeSubWindow()) {
        auto* screen = qobject_cast<kolmara::screens::TKOLM420F*>(sub->widget());
        sub->move(0, 0);
        screen->findChild<kolmara::screens::SqlEditor*>(QStringLiteral("Memo1"))
            ->setPlainText(QStringLiteral(
                "CREATE OR REPLACE PROCEDURE SCOTT.RAISE_SAL (P_DEPTNO IN NUMBER, P_RATE IN NUMBER) AS\n"
                "BEGIN\n"
                "    UPDATE SCOTT.EMP\n"
                "       SET SAL = SAL * (1 + P_RATE / 100)\n"
                "     WHERE DEPTNO = P_DEPTNO;\n"
                "    -- 급여 인상 기록\n"
                "    DBMS_OUTPUT.PUT_LINE(SQL%ROWCOUNT || ' rows');\n"
                "END;\n/\n"));
        screen->sbt_compileClick();
        ok &= save(sub, folder + QStringLiteral("/procedure-editor.png"));
    }
    return ok ? 0 : 1;
}
