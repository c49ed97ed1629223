// The database information screen against the demo instance: the four pages as a DBA sees them
// (grid cells, the version box, status lines), the first failure ending the instance page, the
// view list and its column list, the export button and the CSV files read back.
#include "app/KOLM000U.h"
#include "screens/GridCsvExport.h"
#include "screens/dbinfo/KOLM120U.h"
#include "widgets/ActionGuard.h"
#include "widgets/StringGrid.h"
#include "ConnectedDemo.h"

#include <QAction>
#include <QDir>
#include <QGroupBox>
#include <QLocale>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace kolmara;
using kolmara::screens::TKOLM120F;

namespace {

// A number written with "," between thousands, in the separator of the desktop's locale.
QString grouped(QString text)
{
    return text.replace(QLatin1Char(','), QLocale::system().groupSeparator());
}

int rowOf(const ui::StringGrid* grid, int col, const QString& text)
{
    for (int r = 1; r < grid->rowCount(); ++r)
        if (grid->cell(col, r) == text)
            return r;
    return -1;
}

}  // namespace

class TestDbInfo : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void instancePage();
    void firstFailureEndsTheInstancePage_data();
    void firstFailureEndsTheInstancePage();
    void parameterPageNumbersByNum();
    void resourceLimitPage();
    void dictionaryPageShowsTheFirstViewsColumns();
    void clickingViews();
    void exportsWriteTheActivePagesGrid_data();
    void exportsWriteTheActivePagesGrid();
    void cancelledExportWritesNothing();
    void exportButtonFollowsThePage();
    void everyPageChangeReadsAgain();

private:
    TKOLM120F* openScreen() { return m_env->open<TKOLM120F>("N15"); }
    ui::StringGrid* grid(const char* name) { return m_screen->findChild<ui::StringGrid*>(name); }
    void showPage(int index)
    {
        m_screen->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(index);
    }
    void refresh() { m_screen->findChild<QToolButton*>("sbt_select")->click(); }

    std::unique_ptr<test::ConnectedDemo> m_env;
    TKOLM120F* m_screen = nullptr;
};

void TestDbInfo::init()
{
    m_env = std::make_unique<test::ConnectedDemo>();
    QVERIFY(m_env->connected);
    m_screen = openScreen();
    QVERIFY(m_screen);
}

void TestDbInfo::cleanup()
{
    m_screen = nullptr;
    m_env.reset();
}

void TestDbInfo::instancePage()
{
    QCOMPARE(m_screen->windowTitle(), QStringLiteral("데이타베이스 정보"));
    QCOMPARE(m_screen->size(),
             QSize(877, 602));  // the client area, inside the child window's frame
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 데이타베이스 정보가 조회 되었습니다..."));
    QCOMPARE(m_screen->findChild<QTabWidget*>("PageControl1")->currentIndex(), 0);
    QVERIFY(!m_screen->findChild<QToolButton*>("sbt_Excels")->isEnabled());
    QVERIFY(!ui::isBusyCursor());

    const QStringList version =
        m_screen->findChild<QPlainTextEdit*>("mm_version")->toPlainText().split('\n');
    QCOMPARE(version.mid(0, 3),
             (QStringList{"[DATABASE VERSION]", "",
                          "Oracle9i Enterprise Edition Release 9.2.0.1.0 - Production"}));
    QCOMPARE(version.size(), 7);
    QCOMPARE(version.last(), QStringLiteral("NLSRTL Version 9.2.0.1.0 - Production"));

    // Bytes with separators, and whole megabytes of 2^20 bytes rounded: 0.43 M, 0.64 M, 104 M.
    ui::StringGrid* sga = grid("AdvStringGrid1");
    QCOMPARE(sga->rowCount(), 5);
    const QStringList expected[] = {{"1", "Fixed Size", grouped("453,492"), "0"},
                                    {"2", "Variable Size", grouped("109,051,904"), "104"},
                                    {"3", "Database Buffers", grouped("25,165,824"), "24"},
                                    {"4", "Redo Buffers", grouped("667,648"), "1"}};
    for (int r = 1; r <= 4; ++r)
        for (int c = 0; c < 4; ++c)
            QCOMPARE(sga->cell(c, r), expected[r - 1][c]);
    QCOMPARE(sga->cell(3, 0), QStringLiteral("Value(M)"));
    const auto alignment = [sga](int col) {
        return sga->gridModel()
            ->data(sga->gridModel()->index(0, col), Qt::TextAlignmentRole)
            .toInt();
    };
    QCOMPARE(alignment(0), int(Qt::AlignCenter));
    QCOMPARE(alignment(1), int(Qt::AlignLeft | Qt::AlignVCenter));
    QCOMPARE(alignment(2), int(Qt::AlignRight | Qt::AlignVCenter));

    ui::StringGrid* nls = grid("AdvStringGrid2");
    QCOMPARE(nls->rowCount(), 20);
    QCOMPARE(nls->cell(1, 1), QStringLiteral("NLS_LANGUAGE"));
    QCOMPARE(nls->cell(2, 3), QStringLiteral("₩"));
    QCOMPARE(nls->headerColor(), QColor(232, 255, 255));

    // The statistics show NAME and BYTES, not the pool.
    ui::StringGrid* stat = grid("AdvStringGrid3");
    const int sqlArea = rowOf(stat, 1, QStringLiteral("sql area"));
    QVERIFY(sqlArea > 0);
    QCOMPARE(stat->cell(2, sqlArea), grouped("14,681,096"));
    QCOMPARE(stat->colCount(), 3);
    QCOMPARE(stat->headerColor(), QColor(255, 236, 255));

    // The command brings the open window to the front.
    QCOMPARE(openScreen(), m_screen);
    // So does its command-bar button.
    m_env->main.findChild<QToolButton*>("tbt_N15")->click();
    QCOMPARE(m_env->main.mdiArea()->activeSubWindow()->widget(), m_screen);
    QCOMPARE(m_env->main.mdiArea()->subWindowList().size(), 1);
}

void TestDbInfo::firstFailureEndsTheInstancePage_data()
{
    QTest::addColumn<int>(
        "failing");  // the statement that fails: version, SGA, language, statistics
    QTest::addColumn<QString>("status");   // "" when the server's message reached the error box
    QTest::addColumn<int>("filledGrids");  // the grids filled before the failure
    QTest::newRow("version") << 1 << QString() << 0;
    QTest::newRow("SGA, caught silently") << 2 << QStringLiteral("▶ V$SGA ERROR ...(-1)") << 0;
    QTest::newRow("language") << 3 << QString() << 1;
    QTest::newRow("statistics, reported as the SGA")
        << 4 << QStringLiteral("▶ V$SGA ERROR ...(-1)") << 2;
}

void TestDbInfo::firstFailureEndsTheInstancePage()
{
    QFETCH(int, failing);
    QFETCH(QString, status);
    QFETCH(int, filledGrids);
    m_env->main.session().failNthStatementForTesting(
        failing, 942, QStringLiteral("table or view does not exist"));
    refresh();

    QCOMPARE(m_screen->statusText(), status);
    const QStringList messages = m_env->ui.messageTexts();
    if (status.isEmpty())
        QCOMPARE(messages, QStringList{"ORA-00942: table or view does not exist"});
    else
        QVERIFY(messages.isEmpty());
    QCOMPARE(m_screen->findChild<QPlainTextEdit*>("mm_version")->toPlainText().isEmpty(),
             failing == 1);
    const char* grids[] = {"AdvStringGrid1", "AdvStringGrid2", "AdvStringGrid3"};
    for (int g = 0; g < 3; ++g) {
        const bool filled = g < filledGrids;
        QCOMPARE(grid(grids[g])->rowCount() > 2, filled);
        QCOMPARE(grid(grids[g])->cell(1, 1).isEmpty(), !filled);
    }
    QVERIFY(!ui::isBusyCursor());
}

void TestDbInfo::parameterPageNumbersByNum()
{
    showPage(1);
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 데이타베이스 파라미터 정보가 조회 되었습니다..."));
    ui::StringGrid* parameters = grid("AdvStringGrid4");
    QCOMPARE(parameters->rowCount(), 202);
    const int processes = rowOf(parameters, 1, QStringLiteral("processes"));
    QVERIFY(processes > 0);
    QCOMPARE(parameters->cell(0, processes), QStringLiteral("17"));
    const QStringList row = {"17",    "processes", "3",     "150",  "FALSE",
                             "FALSE", "FALSE",     "FALSE", "FALSE"};
    for (int c = 0; c < 9; ++c)
        QCOMPARE(parameters->cell(c, processes), row[c]);
    // "No." is the parameter's own number, not a count.
    int numbered = 0;
    for (int r = 1; r < parameters->rowCount(); ++r)
        numbered += parameters->cell(0, r) == QString::number(r);
    QVERIFY(numbered < parameters->rowCount() - 1);
    QCOMPARE(parameters->cell(0, rowOf(parameters, 1, QStringLiteral("db_block_size"))),
             QStringLiteral("391"));
}

void TestDbInfo::resourceLimitPage()
{
    showPage(2);
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 데이타베이스 자원제약 정보가 조회 되었습니다..."));
    ui::StringGrid* limits = grid("AdvStringGrid5");
    QCOMPARE(limits->rowCount(), 23);
    QCOMPARE(limits->cell(1, 1), QStringLiteral("processes"));
    // Allocations and limits exactly as the server gives them, texts included.
    const QStringList row = {"4", "enqueue_resources", "21", "41", "       968", " UNLIMITED"};
    for (int c = 0; c < 6; ++c)
        QCOMPARE(limits->cell(c, 4), row[c]);
}

void TestDbInfo::dictionaryPageShowsTheFirstViewsColumns()
{
    showPage(3);
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 데이타베이스 딕셔너리 정보가 조회 되었습니다..."));
    ui::StringGrid* views = grid("AdvStringGrid6");
    QVERIFY(views->rowCount() > 100);
    QCOMPARE(views->cell(1, 1), QStringLiteral("ALL_ALL_TABLES"));
    QCOMPARE(m_screen->findChild<QGroupBox*>("GroupBox5")->title(),
             QStringLiteral("[ALL_ALL_TABLES]"));
    ui::StringGrid* columns = grid("AdvStringGrid7");
    QCOMPARE(columns->rowCount(), 51);
    QCOMPARE(columns->cell(0, 1), QStringLiteral("1"));
    QCOMPARE(columns->cell(1, 1), QStringLiteral("OWNER"));
    QCOMPARE(columns->cell(2, 1), QStringLiteral("Owner of the table"));
    QVERIFY(m_screen->findChild<QToolButton*>("sbt_Excels")->isEnabled());
}

void TestDbInfo::clickingViews()
{
    showPage(3);
    ui::StringGrid* views = grid("AdvStringGrid6");
    ui::StringGrid* columns = grid("AdvStringGrid7");
    auto* caption = m_screen->findChild<QGroupBox*>("GroupBox5");
    const QString status = m_screen->statusText();

    // Any cell of a view's row shows its columns; the status line stays.
    const int objects = rowOf(views, 1, QStringLiteral("ALL_OBJECTS"));
    QVERIFY(objects > 0);
    m_screen->AdvStringGrid6ClickCell(2, objects);
    QCOMPARE(caption->title(), QStringLiteral("[ALL_OBJECTS]"));
    QCOMPARE(columns->cell(1, 1), QStringLiteral("OWNER"));
    QCOMPARE(columns->cell(1, 4), QStringLiteral("OBJECT_ID"));
    const int objectColumns = columns->rowCount();
    QCOMPARE(m_screen->statusText(), status);

    // The header row and an empty name change nothing.
    m_screen->AdvStringGrid6ClickCell(1, 0);
    QCOMPARE(caption->title(), QStringLiteral("[ALL_OBJECTS]"));
    const int last = views->rowCount() - 1;
    views->setCell(1, last, QString());
    m_screen->AdvStringGrid6ClickCell(1, last);
    QCOMPARE(caption->title(), QStringLiteral("[ALL_OBJECTS]"));
    QCOMPARE(m_screen->statusText(), status);

    // A view without column rows: its name in the caption, the previous columns kept.
    const int catalog = rowOf(views, 1, QStringLiteral("ALL_CATALOG"));
    QVERIFY(catalog > 0);
    m_screen->AdvStringGrid6ClickCell(1, catalog);
    QCOMPARE(caption->title(), QStringLiteral("[ALL_CATALOG]"));
    QCOMPARE(columns->rowCount(), objectColumns);
    QCOMPARE(columns->cell(1, 4), QStringLiteral("OBJECT_ID"));
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ DICT_COLUMNS ERROR ...(0)"));

    // A real click goes the same way.
    const int links = rowOf(views, 1, QStringLiteral("ALL_DB_LINKS"));
    views->scrollTo(views->model()->index(links - 1, 1));
    QTest::mouseClick(views->viewport(), Qt::LeftButton, {}, views->cellRect(1, links).center());
    QCOMPARE(caption->title(), QStringLiteral("[ALL_DB_LINKS]"));
    QCOMPARE(columns->rowCount(), 6);
    QCOMPARE(columns->cell(1, 2), QStringLiteral("DB_LINK"));
}

void TestDbInfo::exportsWriteTheActivePagesGrid_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("gridName");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("header");
    QTest::newRow("parameters")
        << 1 << "AdvStringGrid4"
        << "DEMO_Oracle_Parameter.Csv"
        << "No.,NAME,TYPE,VALUE,ISDEFAULT,ISSES_MODIFIABLE,ISSYS_MODIFIABLE,ISMODIFIED,ISADJUSTED";
    QTest::newRow("resource limits")
        << 2 << "AdvStringGrid5"
        << "DEMO_Oracle_ResourceLimit.Csv"
        << "No.,RESOURCE_NAME,CURRENT_UTILIZATION,MAX_UTILIZATION,INITIAL_ALLOCATION,LIMIT_VALUE";
    // The view list, not the column list.
    QTest::newRow("dictionary") << 3 << "AdvStringGrid6"
                                << "DEMO_Oracle_Dictionary.Csv"
                                << "No.,TABLE_NAME,COMMENTS";
}

void TestDbInfo::exportsWriteTheActivePagesGrid()
{
    QFETCH(int, page);
    QFETCH(QString, gridName);
    QFETCH(QString, fileName);
    QFETCH(QString, header);
    showPage(page);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("export.csv"));
    m_env->ui.answerSaveFile(path);
    m_screen->findChild<QToolButton*>("sbt_Excels")->click();

    QCOMPARE(
        m_env->ui.saveDialogStartPaths(),
        QStringList{QDir::toNativeSeparators(QDir(screens::exportFolder()).filePath(fileName))});
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 엑셀자료로 전환 완료 되었습니다..."));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines =
        QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ui::StringGrid* written = grid(qPrintable(gridName));
    QCOMPARE(lines.size(), written->rowCount());
    QCOMPARE(lines.first(), header);
    QCOMPARE(lines[1].section(QLatin1Char(','), 1, 1), written->cell(1, 1));
}

void TestDbInfo::cancelledExportWritesNothing()
{
    showPage(3);
    const QString status = m_screen->statusText();
    m_env->ui.answerSaveFile(QString());
    m_screen->sbt_ExcelsClick();
    QCOMPARE(m_env->ui.saveDialogStartPaths().size(), 1);
    QCOMPARE(m_screen->statusText(), status);
}

void TestDbInfo::exportButtonFollowsThePage()
{
    auto* excel = m_screen->findChild<QToolButton*>("sbt_Excels");
    for (int page : {1, 2, 3, 0, 2}) {
        showPage(page);
        QCOMPARE(excel->isEnabled(), page != 0);
    }
    // The instance page has nothing to export; no dialog opens.
    showPage(0);
    m_screen->sbt_ExcelsClick();
    QVERIFY(m_env->ui.saveDialogStartPaths().isEmpty());

    // Enabled by the page change even when the page then fails to load.
    m_env->main.session().failNthStatementForTesting(
        1, 942, QStringLiteral("table or view does not exist"));
    showPage(1);
    QVERIFY(excel->isEnabled());
    QCOMPARE(grid("AdvStringGrid4")->rowCount(), 2);
}

void TestDbInfo::everyPageChangeReadsAgain()
{
    showPage(2);
    QCOMPARE(grid("AdvStringGrid5")->rowCount(), 23);
    showPage(1);
    // Back to a page already loaded: it is cleared and read from the database again.
    m_env->main.session().failNthStatementForTesting(1, 1031,
                                                     QStringLiteral("insufficient privileges"));
    showPage(2);
    QCOMPARE(m_env->ui.messageTexts(), QStringList{"ORA-01031: insufficient privileges"});
    QCOMPARE(grid("AdvStringGrid5")->rowCount(), 2);
    QVERIFY(grid("AdvStringGrid5")->cell(1, 1).isEmpty());
    QVERIFY(m_screen->statusText().isEmpty());
    refresh();
    QCOMPARE(grid("AdvStringGrid5")->rowCount(), 23);
}

QTEST_MAIN(TestDbInfo)
#include "tst_dbinfo.moc"
