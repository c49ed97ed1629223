// Takes the README's screenshots: the main window connected to the demo instance, the connect,
// user settings and about dialogs, the sessions and tablespaces screens, every page of the table
// manager, the database information, object information and user management screens, the backup
// screens and the object creation dialog, the SQL worksheet and the PL/SQL editor, with data,
// grabbed offscreen into the given folder, and the first pages of the printed reports.
//
//   QT_QPA_PLATFORM=offscreen kolmara-screenshots docs/screenshots
//
// It works in a temporary program folder of its own (a settings file with the demo login, a fresh
// demo database), so the pictures do not depend on what a user saved, and nothing is written
// beside the program or in the user's folders.
#include "app/KOLM000U.h"
#include "app/KOLM900U.h"
#include "common/Folders.h"
#include "common/KOLMCOMM.h"
#include "dialogs/KOLM100U.h"
#include "dialogs/KOLM110U.h"
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
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QMdiSubWindow>
#include <QTabWidget>
#include <QTemporaryDir>

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

// The settings file of the temporary program folder: the delivered values with the demo login
// saved and the backup folder inside the temporary folder.
bool writeSettings(const QString& folder)
{
    QFile ini(QDir(folder).filePath(QStringLiteral("KOLMARA.INI")));
    if (!ini.open(QIODevice::WriteOnly))
        return false;
    const QByteArray login =
        kolmara::EncodePassword(QStringLiteral("MANAGER"), kolmara::SavedLoginKey).toLatin1();
    ini.write("[System Version]\r\nSystemId=KOLMARA\r\nVersion=1.0\r\nVerDate=2026-12-10\r\n"
              "BackupDrive=" + QFile::encodeName(folder) + "/\r\nBackupPath=BACKUP/\r\n"
              "OraclePath=/usr/lib/oracle/client/bin/\r\nDateTime=YYYYMMDD HH24MISS\r\n"
              "DumpEncoding=UTF-8\r\nExpType=\"\",\r\nCommit=10\r\nCount=1\r\n\r\n"
              "[System Logging]\r\n1=DEMO/SYSTEM/" + login + "/Y/\r\n\r\n"
              "[Embedded Databases]\r\nDEMO=KOLMDEMO.DB\r\n");
    return ini.flush();
}

}  // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir work(QDir::tempPath() + QStringLiteral("/Kolmara-XXXXXX"));
    if (!work.isValid()) {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        return 1;
    }
    // The offscreen platform's own screen is 800 × 800 pixels, too small for the main window,
    // which opens maximized.
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen") {
        const QString config = work.filePath(QStringLiteral("screen.json"));
        QFile file(config);
        if (file.open(QIODevice::WriteOnly)) {
            file.write(
                R"({"screens": [{"name": "shot", "x": 0, "y": 0, "width": 1280, "height": 860}]})");
            file.close();
            qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config));
        }
    }
    QApplication app(argc, argv);
    // Dates and numbers as a Korean desktop shows them, whatever this machine's locale.
    QLocale::setDefault(QLocale(QLocale::Korean, QLocale::SouthKorea));
    kolmara::ui::installFontSubstitutions();
    QApplication::setFont(kolmara::ui::gulimChe(12));
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(folder);
    if (!writeSettings(work.path())) {
        std::fprintf(stderr, "cannot write the settings file in %s\n", qPrintable(work.path()));
        return 1;
    }
    kolmara::setProgramFolderForTesting(work.path());

    using kolmara::app::TKOLM000F;
    TKOLM000F::setAutoConnectEnabled(false);
    TKOLM000F main;
    main.resize(1100, 760);
    main.show();

    kolmara::dialogs::TKOLM100F dialog(&main);
    dialog.show();
    dialog.AdvStringGrid1Click(1, 1);
    bool ok = save(&dialog, folder + QStringLiteral("/connect-dialog.png"));
    dialog.hide();

    if (!main.ConnectDatabase(QStringLiteral("DEMO"), QStringLiteral("SYSTEM"),
                              QStringLiteral("MANAGER"))) {
        std::fprintf(stderr, "could not connect to DEMO\n");
        return 1;
    }
    main.enableCommands();
    main.Timer1Timer();

    // The environment dialogs open only while no screen is open.
    {
        kolmara::dialogs::TKOLM110F settings(&main);
        settings.show();
        ok &= save(&settings, folder + QStringLiteral("/settings-dialog.png"));
    }
    {
        kolmara::app::TKOLM900F about(&main);
        about.show();
        ok &= save(&about, folder + QStringLiteral("/about.png"));
    }

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
        pages->setCurrentIndex(TKOLM210F::IndexPage);
        screen->LoadIndexColumns(1);
        ok &= save(sub, folder + QStringLiteral("/table-indexes.png"));
        pages->setCurrentIndex(TKOLM210F::ConstraintPage);
        screen->LoadConstraintColumns(1);
        ok &= save(sub, folder + QStringLiteral("/table-constraints.png"));
        pages->setCurrentIndex(TKOLM210F::TriggerPage);
        screen->ShowTriggerBody(1);
        ok &= save(sub, folder + QStringLiteral("/table-triggers.png"));
        pages->setCurrentIndex(TKOLM210F::ScriptPage);
        ok &= save(sub, folder + QStringLiteral("/table-script.png"));
        pages->setCurrentIndex(TKOLM210F::BackupPage);
        choose(QStringLiteral("ORDER_ITEM"));
        ok &= save(sub, folder + QStringLiteral("/table-backup.png"));

        // The first pages of the printed table list and of ORDER_ITEM's layout.
        pages->setCurrentIndex(TKOLM210F::LayoutPage);
        ok &= savePage(screen->tableListReport()->report(),
                       folder + QStringLiteral("/report-table-list.png"));
        ok &= savePage(screen->layoutReport()->report(),
                       folder + QStringLiteral("/report-table-layout.png"));
    }

    // The information screens one at a time, the sales application's account still chosen.
    main.mdiArea()->closeAllSubWindows();
    QMdiSubWindow* sub = nullptr;
    if (auto* info = open<kolmara::screens::TKOLM120F>(main, "N15", &sub)) {
        ok &= save(sub, folder + QStringLiteral("/dbinfo.png"));
        info->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(1);
        ok &= save(sub, folder + QStringLiteral("/dbinfo-parameters.png"));
        info->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(2);
        ok &= save(sub, folder + QStringLiteral("/dbinfo-resources.png"));
        info->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(3);
        info->AdvStringGrid6ClickCell(1,
                                      rowOf(info, "AdvStringGrid6", QStringLiteral("ALL_OBJECTS")));
        ok &= save(sub, folder + QStringLiteral("/dictionary.png"));
        sub->close();
    }
    if (open<kolmara::screens::TKOLM220F>(main, "N22", &sub)) {
        ok &= save(sub, folder + QStringLiteral("/objects.png"));
        sub->close();
    }
    if (auto* users = open<kolmara::screens::TKOLM320F>(main, "N33", &sub)) {
        ok &= save(sub, folder + QStringLiteral("/user-accounts.png"));
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
    // The sales application's backup log of April and May 2003, where the demo's runs are.
    QApplication::processEvents();
    accounts->setCurrentIndex(accounts->findText(QStringLiteral("TGHAPP")));
    main.cbe_grantChange();
    main.menuAction(QStringLiteral("N51"))->trigger();
    if (QMdiSubWindow* sub = main.mdiArea()->activeSubWindow()) {
        sub->move(0, 0);
        if (auto* screen = qobject_cast<kolmara::screens::TKOLM500F*>(sub->widget())) {
            screen->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(1);
            screen->findChild<QDateEdit*>(QStringLiteral("dtp_frdate"))->setDate(QDate(2003, 4, 1));
            screen->findChild<QDateEdit*>(QStringLiteral("dtp_todate"))
                ->setDate(QDate(2003, 5, 31));
            screen->bbt_SelectClick();
        }
        ok &= save(sub, folder + QStringLiteral("/backup-check.png"));
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
        editor->setPlainText(QStringLiteral("SELECT ENAME, SAL\n  FROM SCOTT.EMPLOYEE\n"
                                            " WHERE SAL > 2000"));
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
                "CREATE OR REPLACE PROCEDURE SCOTT.RAISE_SAL (P_DEPTNO IN NUMBER,"
                " P_RATE IN NUMBER) AS\n"
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
