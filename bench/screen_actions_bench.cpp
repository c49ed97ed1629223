// Times every screen's user actions on a big dictionary, the way a DBA meets them: the main window
// connects to a large demo instance (bench/big_demo), picks the account, opens each screen from its
// menu item, and then lists, clicks rows and changes pages. Each figure is the whole action as the
// click runs it (statements, slots, grid fill), the median of several runs. Message boxes are
// answered "no" (nothing is killed, shrunk or written) and printed. Prints milliseconds, marks the
// actions over half a second; asserts nothing.
//
//   QT_QPA_PLATFORM=offscreen screen_actions_bench DATABASE [runs] [account]
//                                   (default 5 runs, account BIGAPP)
#include "app/KOLM000U.h"
#include "common/KOLMCOMM.h"
#include "screens/backup/KOLM500U.h"
#include "screens/dbinfo/KOLM120U.h"
#include "screens/objects/KOLM220U.h"
#include "screens/serverbackup/KOLM521U.h"
#include "screens/sessions/KOLM300U.h"
#include "screens/tables/KOLM210U.h"
#include "screens/tablespaces/KOLM310U.h"
#include "screens/users/KOLM320U.h"
#include "widgets/StringGrid.h"
#include "widgets/UiServices.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QTabWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace kolmara;

namespace {

constexpr double kInteractiveMs = 500;

// Answers every question "no" and every dialog "cancel", on the demo instance's day.
class BenchUiServices : public ui::UiServices {
public:
    QMessageBox::StandardButton messageBox(QWidget*, const QString&, const QString& text,
                                           QMessageBox::Icon,
                                           QMessageBox::StandardButtons buttons) override
    {
        std::printf("    (message: %s)\n",
                    qPrintable(text.left(100).replace(QLatin1Char('\n'), QLatin1Char(' '))));
        for (auto b : {QMessageBox::No, QMessageBox::Cancel, QMessageBox::Ok})
            if (buttons & b)
                return b;
        return QMessageBox::NoButton;
    }
    int execDialog(QDialog*) override { return QDialog::Rejected; }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override
    {
        return {};
    }
    void printerSetup(QWidget*) override {}
    QPrinter& printer() override { return m_printer; }
    void setSystemClock(const QDateTime&) override {}
    QDateTime now() const override { return QDateTime(QDate(2003, 5, 15), QTime(14, 0, 0)); }

private:
    QPrinter m_printer;
};

struct Figure {
    QString what;
    double medianMs = 0;
};
QList<Figure> g_figures;

// Times `action` `runs` times (after `prepare`, untimed, before each) and reports the median;
// `rows` tells what the action showed.
void time(const QString& what, int runs, const std::function<void()>& prepare,
          const std::function<void()>& action, const std::function<QString()>& rows = {})
{
    QList<double> ms;
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare();
        QElapsedTimer t;
        t.start();
        action();
        QApplication::processEvents();
        ms.append(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    const double median = ms[ms.size() / 2];
    g_figures.append({what, median});
    std::printf("  %-58s %9.1f ms%s  %s\n", qPrintable(what), median,
                median > kInteractiveMs ? "  OVER" : "", rows ? qPrintable(rows()) : "");
    std::fflush(stdout);
}

ui::StringGrid* grid(QWidget* screen, const char* name)
{
    return screen->findChild<ui::StringGrid*>(QLatin1String(name));
}
QTabWidget* pages(QWidget* screen, const char* name = "PageControl1")
{
    return screen->findChild<QTabWidget*>(QLatin1String(name));
}
QString rowsOf(QWidget* screen, const char* name)
{
    return QStringLiteral("%1 rows").arg(grid(screen, name)->rowCount() - 1);
}

// The first data row whose cell `col` is `text`, else the middle row.
int rowOf(ui::StringGrid* g, int col, const QString& text)
{
    for (int r = 1; r < g->rowCount(); ++r)
        if (g->cell(col, r) == text)
            return r;
    return qMax(1, g->rowCount() / 2);
}

class Bench {
public:
    Bench(app::TKOLM000F& main, int runs) : m_main(main), m_runs(runs) {}

    void closeScreens() { m_main.mdiArea()->closeAllSubWindows(); QApplication::processEvents(); }

    template <typename Screen>
    Screen* open(const char* command)
    {
        m_main.menuAction(QLatin1String(command))->trigger();
        QApplication::processEvents();
        auto* sub = m_main.mdiArea()->activeSubWindow();
        return sub ? qobject_cast<Screen*>(sub->widget()) : nullptr;
    }

    // Opening a screen runs its first read; the window is closed before each run.
    template <typename Screen>
    Screen* timeOpen(const QString& what, const char* command, const char* list)
    {
        time(what, m_runs, [this] { closeScreens(); }, [this, command] { open<Screen>(command); },
             [this, list] { return rowsOf(m_main.mdiArea()->activeSubWindow()->widget(), list); });
        return qobject_cast<Screen*>(m_main.mdiArea()->activeSubWindow()->widget());
    }

    void timePage(const QString& what, QTabWidget* tabs, int index, int from,
                  const std::function<QString()>& rows = {})
    {
        time(what, m_runs, [=] { const QSignalBlocker b(tabs); tabs->setCurrentIndex(from); },
             [=] { tabs->setCurrentIndex(index); }, rows);
    }

    int runs() const { return m_runs; }

private:
    app::TKOLM000F& m_main;
    int m_runs;
};

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: screen_actions_bench DATABASE [runs] [account]\n");
        return 2;
    }
    const QString database = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const int runs = argc > 2 ? qMax(1, QByteArray(argv[2]).toInt()) : 5;
    const QString account =
        argc > 3 ? QString::fromLocal8Bit(argv[3]).toUpper() : QStringLiteral("BIGAPP");
    if (!QFileInfo::exists(database)) {
        std::fprintf(stderr, "%s does not exist (make it with big_demo)\n", qPrintable(database));
        return 1;
    }
    QTemporaryDir folder;
    QFile ini(folder.filePath(QStringLiteral("KOLMARA.INI")));
    if (!folder.isValid() || !ini.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    ini.write("[Embedded Databases]\r\nDEMO=" + database.toUtf8() + "\r\n");
    ini.close();
    setProgramFolderForTesting(folder.path());
    BenchUiServices services;
    ui::ScopedUiServices scoped(services);

    app::TKOLM000F::setAutoConnectEnabled(false);
    app::TKOLM000F main;
    main.resize(1280, 960);
    main.show();
    QApplication::processEvents();
    Bench bench(main, runs);

    std::printf("user actions on %s (median of %d runs)\n", qPrintable(database), runs);
    time(
        QStringLiteral("main window: connect as SYSTEM (with the account list)"), 1, {},
        [&] {
            if (!main.ConnectDatabase(QStringLiteral("DEMO"), QStringLiteral("SYSTEM"),
                                      QStringLiteral("MANAGER")))
                std::fprintf(stderr, "no connection\n");
            main.enableCommands();
        },
        [&] { return QStringLiteral("%1 accounts").arg(main.accountList()->count()); });
    time(
        QStringLiteral("main window: pick the account ") + account, runs,
        [&] {
            const QSignalBlocker b(main.accountList());
            main.accountList()->setCurrentIndex(0);
        },
        [&] {
            QComboBox* box = main.accountList();
            box->setCurrentIndex(box->findText(account));
            emit box->activated(box->currentIndex());
        });

    {
        auto* s = bench.timeOpen<screens::TKOLM300F>(
            QStringLiteral("sessions: open (session list)"), "N31", "AdvStringGrid1");
        time(
            QStringLiteral("sessions: list again"), runs, {}, [&] { s->sbt_selectClick(); },
            [&] { return rowsOf(s, "AdvStringGrid1"); });
        const int row = grid(s, "AdvStringGrid1")->rowCount() / 2;
        time(QStringLiteral("sessions: click a session (its SQL text)"), runs, {},
             [&] { s->ShowSessionSql(false, row); });
        bench.timePage(QStringLiteral("sessions: locks page"), pages(s), 1, 0,
                       [&] { return rowsOf(s, "AdvStringGrid2"); });
        time(QStringLiteral("sessions: click a lock"), runs, {},
             [&] { s->ShowSessionSql(true, grid(s, "AdvStringGrid2")->rowCount() / 2); });
        bench.timePage(QStringLiteral("sessions: back to the sessions page"), pages(s), 0, 1);
    }
    {
        auto* s = bench.timeOpen<screens::TKOLM310F>(
            QStringLiteral("tablespaces: open (list, free shares, first detail)"), "N32",
            "AdvStringGrid1");
        auto* list = grid(s, "AdvStringGrid1");
        const int row = rowOf(list, 1, QStringLiteral("BIG250"));
        time(
            QStringLiteral("tablespaces: click a tablespace (datafiles, tables)"), runs, {},
            [&] { s->ShowTablespaceDetail(row); },
            [&] {
                return rowsOf(s, "AdvStringGrid2") + QStringLiteral(", ") +
                       rowsOf(s, "AdvStringGrid3");
            });
        bench.timePage(QStringLiteral("tablespaces: rollback segments page"), pages(s), 1, 0,
                       [&] { return rowsOf(s, "AdvStringGrid4"); });
        bench.timePage(QStringLiteral("tablespaces: back to the tablespaces page"), pages(s), 0, 1);
    }
    {
        auto* s = bench.timeOpen<screens::TKOLM210F>(
            QStringLiteral("table manager: open (table list)"), "N21", "AdvStringGrid1");
        auto* list = grid(s, "AdvStringGrid1");
        const int wide = rowOf(list, 1, QStringLiteral("WIDE_TABLE"));
        auto* tabs = pages(s);
        time(
            QStringLiteral("table manager: click the 2 000-column table (layout)"), runs,
            [&] {
                const QSignalBlocker b(tabs);
                tabs->setCurrentIndex(screens::TKOLM210F::LayoutPage);
            },
            [&] { s->SelectTable(wide); }, [&] { return rowsOf(s, "AdvStringGrid2"); });
        bench.timePage(QStringLiteral("table manager: indexes page"), tabs,
                       screens::TKOLM210F::IndexPage, screens::TKOLM210F::LayoutPage, [&] {
                           return rowsOf(s, "AdvStringGrid3") + QStringLiteral(", ") +
                                  rowsOf(s, "AdvStringGrid4");
                       });
        bench.timePage(QStringLiteral("table manager: constraints page"), tabs,
                       screens::TKOLM210F::ConstraintPage, screens::TKOLM210F::LayoutPage,
                       [&] { return rowsOf(s, "AdvStringGrid5"); });
        bench.timePage(QStringLiteral("table manager: triggers page"), tabs,
                       screens::TKOLM210F::TriggerPage, screens::TKOLM210F::LayoutPage);
        bench.timePage(QStringLiteral("table manager: script page"), tabs,
                       screens::TKOLM210F::ScriptPage, screens::TKOLM210F::LayoutPage);
        bench.timePage(QStringLiteral("table manager: backup page"), tabs,
                       screens::TKOLM210F::BackupPage, screens::TKOLM210F::LayoutPage);
        bench.timePage(QStringLiteral("table manager: back to the layout page"), tabs,
                       screens::TKOLM210F::LayoutPage, screens::TKOLM210F::BackupPage);
        time(QStringLiteral("table manager: click an ordinary table (layout)"), runs, {},
             [&] { s->SelectTable(list->rowCount() / 2); });
        time(QStringLiteral("table manager: list again"), runs, {}, [&] { s->bbt_selectClick(); });
    }
    {
        auto* s = bench.timeOpen<screens::TKOLM220F>(
            QStringLiteral("objects: open (every object of the account)"), "N22", "AdvStringGrid1");
        time(QStringLiteral("objects: list again"), runs, {}, [&] { s->sbt_selectClick(); });
    }
    {
        auto* s = bench.timeOpen<screens::TKOLM320F>(QStringLiteral("users: open (user list)"),
                                                     "N33", "AdvStringGrid1");
        auto* tabs = pages(s);
        bench.timePage(QStringLiteral("users: registration page (tables of the accounts)"), tabs,
                       1, 0, [&] {
                           return rowsOf(s, "AdvStringGrid2") + QStringLiteral(", ") +
                                  rowsOf(s, "AdvStringGrid3");
                       });
        const int user = rowOf(grid(s, "AdvStringGrid2"), 1, account);
        time(QStringLiteral("users: click a user"), runs, {},
             [&] { s->AdvStringGrid2ClickCell(user); });
        bench.timePage(QStringLiteral("users: backup log page"), tabs, 2, 1,
                       [&] { return rowsOf(s, "AdvStringGrid4"); });
        const int logUser = rowOf(grid(s, "AdvStringGrid4"), 1, account);
        time(
            QStringLiteral("users: click a user's log"), runs, {},
            [&] { s->AdvStringGrid4ClickCell(logUser); },
            [&] { return rowsOf(s, "AdvStringGrid5"); });
    }
    {
        auto* s = bench.timeOpen<screens::TKOLM120F>(
            QStringLiteral("database information: open (instance page)"), "N15", "AdvStringGrid1");
        auto* tabs = pages(s);
        bench.timePage(QStringLiteral("database information: parameters page"), tabs, 1, 0);
        bench.timePage(QStringLiteral("database information: resource limits page"), tabs, 2, 0);
        bench.timePage(QStringLiteral("database information: dictionary page"), tabs, 3, 0,
                       [&] { return rowsOf(s, "AdvStringGrid6"); });
        time(QStringLiteral("database information: click a dictionary view"), runs, {},
             [&] { s->AdvStringGrid6ClickCell(1, grid(s, "AdvStringGrid6")->rowCount() / 2); });
    }
    {
        auto* s = bench.timeOpen<screens::TKOLM500F>(
            QStringLiteral("backup: open (tables of the account)"), "N51", "AdvStringGrid1");
        auto* list = grid(s, "AdvStringGrid1");
        const int row = rowOf(list, 1, QStringLiteral("T05000"));
        time(QStringLiteral("backup: click a table (schedule, dump query)"), runs, {},
             [&] { s->AdvStringGrid1ClickCell(row); });
        bench.timePage(QStringLiteral("backup: backup log page"), pages(s), 1, 0,
                       [&] { return rowsOf(s, "AdvStringGrid2"); });
    }
    bench.timeOpen<screens::TKOLM521F>(QStringLiteral("server backup: open (tables due today)"),
                                       "N53", "AdvStringGrid1");
    bench.closeScreens();

    int over = 0;
    for (const Figure& f : g_figures)
        over += f.medianMs > kInteractiveMs ? 1 : 0;
    std::printf("%d of %lld actions over %.1f s\n", over, static_cast<long long>(g_figures.size()),
                kInteractiveMs / 1000);
    setProgramFolderForTesting(QString());
    return 0;
}
