// The tablespaces and rollback segments screen against the demo instance, driven as a DBA would:
// the tablespace list with its free shares and colour bands, the datafiles with their totals and
// underlines, the chosen owner's tables, the rollback segments with the shrink and its question,
// the CSV export and when it may be used, and the lines of failed reads. The colour band edges and
// files without a size come from a small script added to the demo seed.
#include "ConnectedDemo.h"
#include "app/KOLM000U.h"
#include "common/KOLMCOMM.h"
#include "data/SharedSlots.h"
#include "screens/tablespaces/KOLM310U.h"
#include "widgets/Colors.h"
#include "widgets/StringGrid.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMdiSubWindow>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

using namespace kolmara;
using kolmara::screens::TKOLM310F;

namespace {

const QString kBand10 = QStringLiteral("$00F5ECFF");
const QString kBand20 = QStringLiteral("$00FFDFEF");
const QString kBand30 = QStringLiteral("$00DFFFFF");

// An amount or share as the screen shows it (in the desktop's separators), written back with ","
// between thousands and "." before the decimals, so the expectations read alike under every
// locale. Any other text is returned as it is.
QString neutral(const QString& shown)
{
    const QLocale locale = QLocale::system();
    const QString group = locale.groupSeparator();
    const QString point = locale.decimalPoint();
    const QString percent = QStringLiteral(" %");
    const QString body = shown.endsWith(percent) ? shown.chopped(percent.size()) : shown;
    QString out;
    for (qsizetype i = 0; i < body.size();) {
        if (body[i].isDigit() || body[i] == u'-') {
            out += body[i++];
        } else if (body.mid(i, group.size()) == group) {
            out += u',';
            i += group.size();
        } else if (body.mid(i, point.size()) == point) {
            out += u'.';
            i += point.size();
        } else {
            return shown;
        }
    }
    return out + shown.mid(body.size());
}

QStringList neutral(const QStringList& shown)
{
    QStringList cells;
    for (const QString& text : shown)
        cells << neutral(text);
    return cells;
}

// The values of one CSV line: separated by commas outside double quotes, which enclose a value
// that holds a comma.
QStringList csvValues(const QString& line)
{
    QStringList values(1);
    bool quoted = false;
    for (QChar c : line) {
        if (c == u'"')
            quoted = !quoted;
        else if (c == u',' && !quoted)
            values << QString();
        else
            values.last() += c;
    }
    return values;
}

QStringList rowOf(const ui::StringGrid* grid, int row)
{
    QStringList cells;
    for (int c = 0; c < grid->colCount(); ++c)
        cells << neutral(grid->cell(c, row));
    return cells;
}

// The data row whose cell in `col` holds `text`; -1 when there is none.
int findRow(const ui::StringGrid* grid, int col, const QString& text)
{
    for (int r = 1; r < grid->rowCount(); ++r)
        if (grid->cell(col, r) == text)
            return r;
    return -1;
}

// The background a data row is painted with (invalid: the grid's own).
QColor background(const ui::StringGrid* grid, int row)
{
    const QVariant brush =
        grid->gridModel()->data(grid->gridModel()->index(row - 1, 0), Qt::BackgroundRole);
    return brush.isValid() ? brush.value<QBrush>().color() : QColor();
}

void clickCell(ui::StringGrid* grid, int col, int row)
{
    if (row == 0) {
        QHeaderView* header = grid->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(col) + 5, 5));
        return;
    }
    grid->scrollTo(grid->gridModel()->index(row - 1, col));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(col, row).center());
}

}  // namespace

class TestTablespaces : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void opensWithTheListAndTheFirstTablespace();
    void freeSharesAtTheBandEdgesAndWithoutASize();
    void oneFileAndThreeFileTablespaces();
    void tablesOfTheChosenOwner();
    void failedReadsShowTheirLines();
    void rollbackSegmentList();
    void shrinkAnsweredNoThenRejectedThenDone();
    void exportButtonAndExport();

private:
    // Connects to the demo instance (with the band-edge tablespaces added when asked), as `owner`
    // chosen in the account list, and opens the screen from its menu item.
    TKOLM310F* openScreen(bool withCases = false, const QString& owner = QString());
    ui::StringGrid* grid(TKOLM310F* screen, const char* name)
    {
        return screen->findChild<ui::StringGrid*>(QString::fromLatin1(name));
    }

    std::unique_ptr<test::ConnectedDemo> m_env;
};

void TestTablespaces::init()
{
    m_env = std::make_unique<test::ConnectedDemo>(test::ConnectedDemo::Later{});
}

void TestTablespaces::cleanup()
{
    m_env.reset();
}

TKOLM310F* TestTablespaces::openScreen(bool withCases, const QString& owner)
{
    if (withCases && !m_env->demo.addSeedScripts({qEnvironmentVariable("KOLMARA_TEST_DATA") +
                                                  QStringLiteral("/90_free_share_cases.sql")}))
        return nullptr;
    if (!m_env->connectAs(QStringLiteral("SYSTEM"), QStringLiteral("MANAGER")))
        return nullptr;
    if (!owner.isEmpty()) {
        QComboBox* accounts = m_env->main.accountList();
        accounts->setCurrentIndex(accounts->findText(owner));
        emit accounts->activated(accounts->currentIndex());
        if (ConnUser != owner)
            return nullptr;
    }
    return m_env->open<TKOLM310F>("N32");
}

void TestTablespaces::opensWithTheListAndTheFirstTablespace()
{
    TKOLM310F* screen = openScreen();
    QVERIFY(screen);
    QCOMPARE(screen->windowTitle(), QStringLiteral("테이블스페이 정보"));
    auto* pages = screen->findChild<QTabWidget*>("PageControl1");
    QCOMPARE(pages->currentIndex(), 0);
    QCOMPARE(pages->tabText(0), QStringLiteral("TableSpace 정보"));
    QCOMPARE(pages->tabText(1), QStringLiteral("RollbackSegment 정보"));

    ui::StringGrid* tablespaces = grid(screen, "AdvStringGrid1");
    QCOMPARE(rowOf(tablespaces, 0),
             QStringList({"TS#", "TABLESPACE_NAME", "INIT_EXTENT", "NEXT_EXTENT", "MIN_EXTENTS",
                          "MAX_EXTENTS", "PCT_INCREASE", "%FREE", "STATUS", "CONTENTS", ""}));
    QCOMPARE(tablespaces->rowCount(), 9);
    QCOMPARE(RowCount, 8);
    QCOMPARE(screen->statusText(),
             QStringLiteral("▶ 테이블스페이스 정보가 조회 되었습니다... (8 건)"));
    QCOMPARE(rowOf(tablespaces, 1),
             QStringList({"0", "SYSTEM", "65,536", "65,536", "1", "2,147,483,645", "50", "8.4 %",
                          "ONLINE", "PERMANENT", kBand10}));
    // USERS is 12.96 % free: shown as 13 %, coloured as 13.0.
    QCOMPARE(rowOf(tablespaces, 4), QStringList({"3", "USERS", "65,536", "0", "1", "2,147,483,645",
                                                 "0", "13 %", "ONLINE", "PERMANENT", kBand20}));
    // TEMP has no datafile bytes: no share and no colour.
    QCOMPARE(rowOf(tablespaces, 3), QStringList({"2", "TEMP", "1,048,576", "1,048,576", "1", "0",
                                                 "0", "", "ONLINE", "TEMPORARY", ""}));
    QCOMPARE(background(tablespaces, 1), ui::colorFromBgr(0x00F5ECFF));
    QCOMPARE(background(tablespaces, 4), ui::colorFromBgr(0x00FFDFEF));
    QCOMPARE(background(tablespaces, 5), ui::colorFromBgr(0x00DFFFFF));  // INDX, 25.8 %
    QVERIFY(!background(tablespaces, 3).isValid());
    QVERIFY(!background(tablespaces, 2).isValid());  // RBS, 62.5 %

    // The legend shows the same colours.
    const char* legend[] = {"Panel1", "Panel2", "Panel3"};
    const QString legendTexts[] = {"10%", "20%", "30%"};
    const quint32 legendColors[] = {0x00F5ECFF, 0x00FFDFEF, 0x00DFFFFF};
    for (int i = 0; i < 3; ++i) {
        auto* panel = screen->findChild<QLabel*>(legend[i]);
        QCOMPARE(panel->text(), legendTexts[i]);
        // What is painted, not only what is set: inside the tool strip a panel paints with
        // another colour role than a panel elsewhere.
        QCOMPARE(panel->grab().toImage().pixelColor(4, 4), ui::colorFromBgr(legendColors[i]));
    }

    // The first tablespace's datafiles are shown at once.
    auto* lower = screen->findChild<QTabWidget*>("PageControl2");
    QCOMPARE(lower->currentIndex(), 0);
    QCOMPARE(lower->tabText(0), QStringLiteral("0 [SYSTEM 사용현황]"));
    QCOMPARE(lower->tabText(1), QStringLiteral("관련 테이블 현황"));
    ui::StringGrid* files = grid(screen, "AdvStringGrid2");
    QCOMPARE(files->rowCount(), 2);
    QCOMPARE(rowOf(files, 1), QStringList({"1", "C:\\ORACLE\\ORADATA\\KOLM\\SYSTEM01.DBF", "500",
                                           "64,000", "458", "42", "8.4 %", "SYSTEM", "--"}));
    QVERIFY(screen->findChild<QToolButton*>("sbt_Excels")->isEnabled());

    // Opening it again brings the same window to the front.
    QCOMPARE(openScreen(), screen);
    QCOMPARE(m_env->main.mdiArea()->subWindowList().size(), 1);
}

void TestTablespaces::freeSharesAtTheBandEdgesAndWithoutASize()
{
    TKOLM310F* screen = openScreen(true);
    QVERIFY(screen);
    ui::StringGrid* tablespaces = grid(screen, "AdvStringGrid1");
    struct Case {
        const char* name;
        const char* shown;
        QString code;
    };
    const Case cases[] = {
        {"SHARE_FULL", "0 %", ""},
        {"SHARE_0_04", "0 %", ""},
        {"SHARE_0_1", "0.1 %", kBand10},
        {"SHARE_10_9", "10.9 %", kBand10},
        {"SHARE_11_0", "11 %", kBand20},
        {"USERS", "13 %", kBand20},
        {"TGHI", "20.9 %", kBand20},
        {"SHARE_21_0", "21 %", kBand30},
        {"SHARE_30_9", "30.9 %", kBand30},
        {"SHARE_31_0", "31 %", ""},
        {"TEMP", "", ""},
        {"SIZE_UNKNOWN", "", ""},
    };
    for (const Case& c : cases) {
        const int r = findRow(tablespaces, 1, QString::fromLatin1(c.name));
        QVERIFY2(r > 0, c.name);
        QCOMPARE(neutral(tablespaces->cell(7, r)), QString::fromLatin1(c.shown));
        QCOMPARE(tablespaces->cell(10, r), c.code);
        const QColor expected = c.code == kBand10   ? ui::colorFromBgr(0x00F5ECFF)
                                : c.code == kBand20 ? ui::colorFromBgr(0x00FFDFEF)
                                : c.code == kBand30 ? ui::colorFromBgr(0x00DFFFFF)
                                                    : QColor();
        QCOMPARE(background(tablespaces, r), expected);
    }

    // Two files that report no size: the free space is known, the used space and share are not.
    clickCell(tablespaces, 1, findRow(tablespaces, 1, QStringLiteral("SIZE_UNKNOWN")));
    ui::StringGrid* files = grid(screen, "AdvStringGrid2");
    QCOMPARE(files->rowCount(), 4);
    QCOMPARE(rowOf(files, 1), QStringList({"48", "C:\\ORACLE\\ORADATA\\KOLM\\CASE48.DBF", "0", "0",
                                           "", "1", "", "RECOVER", ""}));
    QCOMPARE(rowOf(files, 2), QStringList({"49", "C:\\ORACLE\\ORADATA\\KOLM\\CASE49.DBF", "0", "0",
                                           "", "0", "", "RECOVER", "--"}));
    QCOMPARE(rowOf(files, 3), QStringList({"", "★ 합 계 ★", "0", "0", "", "1", "", "", "--"}));
}

void TestTablespaces::oneFileAndThreeFileTablespaces()
{
    TKOLM310F* screen = openScreen();
    ui::StringGrid* tablespaces = grid(screen, "AdvStringGrid1");
    ui::StringGrid* files = grid(screen, "AdvStringGrid2");
    auto* lower = screen->findChild<QTabWidget*>("PageControl2");

    // One file: underlined, no totals row; its 12.96 % keeps its decimal here.
    lower->setCurrentIndex(1);
    clickCell(tablespaces, 3, 4);
    QCOMPARE(lower->currentIndex(), 0);
    QCOMPARE(lower->tabText(0), QStringLiteral("3 [USERS 사용현황]"));
    QCOMPARE(files->rowCount(), 2);
    QCOMPARE(rowOf(files, 1), QStringList({"3", "C:\\ORACLE\\ORADATA\\KOLM\\USERS01.DBF", "200",
                                           "25,600", "174", "26", "13.0 %", "ONLINE", "--"}));
    QVERIFY(files->endsGroup(1));

    // Three files, the first full: the third underlined, then the totals row, also underlined.
    clickCell(tablespaces, 1, findRow(tablespaces, 1, QStringLiteral("TGHD")));
    QCOMPARE(lower->tabText(0), QStringLiteral("6 [TGHD 사용현황]"));
    QCOMPARE(files->rowCount(), 5);
    const QList<QStringList> expected = {
        {"6", "C:\\ORACLE\\ORADATA\\KOLM\\TGHD01.DBF", "1,000", "128,000", "1,000", "0", "0.0 %",
         "ONLINE", ""},
        {"7", "C:\\ORACLE\\ORADATA\\KOLM\\TGHD02.DBF", "1,000", "128,000", "900", "100", "10.0 %",
         "ONLINE", ""},
        {"8", "C:\\ORACLE\\ORADATA\\KOLM\\TGHD03.DBF", "500", "64,000", "340", "160", "32.0 %",
         "ONLINE", "--"},
        {"", "★ 합 계 ★", "2,500", "320,000", "2,240", "260", "10.4 %", "", "--"},
    };
    for (int r = 1; r <= 4; ++r) {
        QCOMPARE(rowOf(files, r), expected[r - 1]);
        QCOMPARE(files->endsGroup(r), r >= 3);
    }

    // Back to one file: the grid has exactly that file again.
    clickCell(tablespaces, 1, findRow(tablespaces, 1, QStringLiteral("TGHI")));
    QCOMPARE(files->rowCount(), 2);
    QCOMPARE(neutral(files->cell(6, 1)), QStringLiteral("20.9 %"));
}

void TestTablespaces::tablesOfTheChosenOwner()
{
    TKOLM310F* screen = openScreen(false, QStringLiteral("SCOTT"));
    QVERIFY(screen);
    ui::StringGrid* tablespaces = grid(screen, "AdvStringGrid1");
    ui::StringGrid* tables = grid(screen, "AdvStringGrid3");
    QCOMPARE(rowOf(tables, 0),
             QStringList({"OB#", "TABLE_ID", "TABLE_NAME", "INIT_EXTENT(B)", "NEXT_EXTENT(B)",
                          "MIN_EXTENTS", "MAX_EXTENTS", "MODIFYED"}));

    clickCell(tablespaces, 1, findRow(tablespaces, 1, QStringLiteral("USERS")));
    data::HORACLEM1 query;
    const int k = query.GetTablesInTablespace(QStringLiteral("SCOTT"), QStringLiteral("USERS"));
    QCOMPARE(k, 4);
    QCOMPARE(tables->rowCount(), k + 1);
    const int emp = findRow(tables, 1, QStringLiteral("EMP"));
    QVERIFY(emp > 0);
    QCOMPARE(rowOf(tables, emp),
             QStringList({query.slotText(0, emp - 1), QStringLiteral("EMP"), QStringLiteral("사원"),
                          QStringLiteral("65,536"), QStringLiteral("0"), QStringLiteral("1"),
                          QStringLiteral("2,147,483,645"), query.slotText(7, emp - 1)}));
    QVERIFY(!tables->cell(0, emp).isEmpty());
    QVERIFY(!tables->cell(7, emp).isEmpty());

    // The datafile query rejected: its message and line, while the tables are still listed.
    m_env->main.session().failNthStatementForTesting(1, 942,
                                                 QStringLiteral("table or view does not exist"));
    clickCell(tablespaces, 1, findRow(tablespaces, 1, QStringLiteral("USERS")));
    QCOMPARE(m_env->ui.messageTexts().last(),
             QStringLiteral("ORA-00942: table or view does not exist"));
    QCOMPARE(screen->statusText(), QStringLiteral("▶ V$DATAFILE ERROR ...(-1)"));
    QCOMPARE(rowOf(grid(screen, "AdvStringGrid2"), 1),
             QStringList({"", "", "", "", "", "", "", "", "--"}));
    QCOMPARE(tables->rowCount(), k + 1);

    // A tablespace where the owner has no table: one blank row and the line naming the views.
    clickCell(tablespaces, 1, findRow(tablespaces, 1, QStringLiteral("TGHD")));
    QCOMPARE(tables->rowCount(), 2);
    QCOMPARE(rowOf(tables, 1), QStringList(8, QString()));
    QCOMPARE(screen->statusText(),
             QStringLiteral("▶ ALL_TABLES & ALL_TAB_COMMENTS & ALL_OBJECTS ERROR ...(0)"));
    QCOMPARE(grid(screen, "AdvStringGrid2")->rowCount(), 5);
}

void TestTablespaces::failedReadsShowTheirLines()
{
    TKOLM310F* screen = openScreen();
    ui::StringGrid* tablespaces = grid(screen, "AdvStringGrid1");
    ui::StringGrid* files = grid(screen, "AdvStringGrid2");
    auto* excels = screen->findChild<QToolButton*>("sbt_Excels");

    // TEMP has no datafile: one underlined blank row. Its "V$DATAFILE ERROR ...(0)" line gives way
    // to the table list's, since SYSTEM has no table there either.
    clickCell(tablespaces, 1, findRow(tablespaces, 1, QStringLiteral("TEMP")));
    QCOMPARE(files->rowCount(), 2);
    QCOMPARE(rowOf(files, 1), QStringList({"", "", "", "", "", "", "", "", "--"}));
    QCOMPARE(screen->statusText(),
             QStringLiteral("▶ ALL_TABLES & ALL_TAB_COMMENTS & ALL_OBJECTS ERROR ...(0)"));

    // A usage query the server rejects: its message, and that tablespace without a share.
    m_env->main.session().failNthStatementForTesting(2, 942,
                                                 QStringLiteral("table or view does not exist"));
    screen->findChild<QToolButton*>("sbt_select")->click();
    QCOMPARE(m_env->ui.messageTexts().last(),
             QStringLiteral("ORA-00942: table or view does not exist"));
    QCOMPARE(tablespaces->cell(7, 1), QString());
    QCOMPARE(tablespaces->cell(10, 1), QString());
    QCOMPARE(neutral(tablespaces->cell(7, 2)), QStringLiteral("62.5 %"));
    QCOMPARE(screen->statusText(),
             QStringLiteral("▶ 테이블스페이스 정보가 조회 되었습니다... (8 건)"));

    // The tablespace list itself: message, error line, empty grids, no export.
    m_env->main.session().failNthStatementForTesting(1, 942,
                                                 QStringLiteral("table or view does not exist"));
    screen->findChild<QToolButton*>("sbt_select")->click();
    QCOMPARE(m_env->ui.messageTexts().last(),
             QStringLiteral("ORA-00942: table or view does not exist"));
    QCOMPARE(screen->statusText(),
             QStringLiteral("▶ USER_TABLESPACES & V$TABLESPACE ERROR ...(-1)"));
    QCOMPARE(RowCount, -1);
    QCOMPARE(tablespaces->rowCount(), 2);
    QCOMPARE(rowOf(tablespaces, 1), QStringList(11, QString()));
    QCOMPARE(files->rowCount(), 2);
    QCOMPARE(files->cell(1, 1), QString());
    QVERIFY(!excels->isEnabled());

    // The rollback segment list has no handler: the error box ends the action.
    m_env->main.session().failNthStatementForTesting(1, 942,
                                                 QStringLiteral("table or view does not exist"));
    screen->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1);
    QCOMPARE(m_env->ui.messages().last().text,
             QStringLiteral("ORA-00942: table or view does not exist"));
    QCOMPARE(m_env->ui.messages().last().icon, QMessageBox::Critical);
    QCOMPARE(screen->statusText(), QString());
    QCOMPARE(grid(screen, "AdvStringGrid4")->rowCount(), 2);
}

void TestTablespaces::rollbackSegmentList()
{
    TKOLM310F* screen = openScreen();
    screen->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1);
    ui::StringGrid* segments = grid(screen, "AdvStringGrid4");
    QCOMPARE(screen->statusText(),
             QStringLiteral("▶ 롤백세그먼트 정보가 조회 되었습니다... (9 건)"));
    QCOMPARE(RowCount, 9);
    QCOMPARE(rowOf(segments, 0),
             QStringList({"TABLESPACE_NAME", "SEG#", "SEGMENT_NAME", "OWNER", "STATUS", "FILE#",
                          "BLOCK#", "INIT_EXTENT", "NEXT_EXTENT", "MIN_EXTENTS", "MAX_EXTENTS",
                          "PCT_INCREASE", ""}));
    QCOMPARE(segments->rowCount(), 10);
    // By tablespace, then segment number: RBS0..RBS6 and RBS_BIG, then SYSTEM.
    QCOMPARE(rowOf(segments, 1), QStringList({"RBS", "1", "RBS0", "PUBLIC", "ONLINE", "2", "2",
                                              "524,288", "524,288", "8", "32,765", "0", ""}));
    QCOMPARE(rowOf(segments, 8),
             QStringList({"RBS", "8", "RBS_BIG", "PUBLIC", "OFFLINE", "2", "4674", "10,485,760",
                          "10,485,760", "2", "505", "0", ""}));
    QCOMPARE(rowOf(segments, 9), QStringList({"SYSTEM", "0", "SYSTEM", "SYS", "ONLINE", "1", "9",
                                              "393,216", "393,216", "2", "32,765", "0", "--"}));
    for (int r = 1; r <= 9; ++r)
        QCOMPARE(segments->endsGroup(r), r == 9);

    // A click on a segment prepares its shrink; a click on the header row takes it back, and the
    // shrink button then does nothing.
    auto* shrinkBox = screen->findChild<QLineEdit*>("ed_shrink");
    QVERIFY(shrinkBox->text().isEmpty());
    clickCell(segments, 0, 2);
    QCOMPARE(shrinkBox->text(), QStringLiteral("ALTER ROLLBACK SEGMENT RBS1 SHRINK"));
    clickCell(segments, 2, 0);
    QVERIFY(shrinkBox->text().isEmpty());
    const int before = m_env->ui.messages().size();
    screen->findChild<QToolButton*>("FlatSpeedButton1")->click();
    QCOMPARE(m_env->ui.messages().size(), before);
}

void TestTablespaces::shrinkAnsweredNoThenRejectedThenDone()
{
    TKOLM310F* screen = openScreen();
    screen->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1);
    ui::StringGrid* segments = grid(screen, "AdvStringGrid4");
    auto* shrinkBox = screen->findChild<QLineEdit*>("ed_shrink");
    auto* shrink = screen->findChild<QToolButton*>("FlatSpeedButton1");
    clickCell(segments, 2, 3);
    QCOMPARE(shrinkBox->text(), QStringLiteral("ALTER ROLLBACK SEGMENT RBS2 SHRINK"));
    const QString listed = screen->statusText();

    // The next statement sent fails: answering No must send none.
    m_env->main.session().failNthStatementForTesting(
        1, 1534, QStringLiteral("rollback segment 'RBS2' doesn't exist"));
    m_env->ui.answerMessage(QMessageBox::No);
    shrink->click();
    const test::RecordedMessage question = m_env->ui.messages().last();
    QCOMPARE(question.caption, QStringLiteral("ROLLBACK SEGMENT SHRINK"));
    QCOMPARE(question.text,
             QStringLiteral("ROLLBACK SEGMENT을 SHRINK 하시겠습니까?\rSEGMENT NAME = RBS2"));
    QCOMPARE(question.icon, QMessageBox::Question);
    QCOMPARE(question.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(screen->statusText(), listed);
    QCOMPARE(shrinkBox->text(), QStringLiteral("ALTER ROLLBACK SEGMENT RBS2 SHRINK"));

    // Yes: the server rejects it; its message, the error line, the list as it was.
    m_env->ui.answerMessage(QMessageBox::Yes);
    shrink->click();
    QCOMPARE(m_env->ui.messageTexts().last(),
             QStringLiteral("ORA-01534: rollback segment 'RBS2' doesn't exist"));
    QCOMPARE(screen->statusText(), QStringLiteral("▶ ROLLBACK SEGMENT SHRINK Error ...{RBS2)"));
    QCOMPARE(segments->rowCount(), 10);
    QCOMPARE(shrinkBox->text(), QStringLiteral("ALTER ROLLBACK SEGMENT RBS2 SHRINK"));

    // Yes again: done, the list reloaded and the box emptied.
    m_env->ui.answerMessage(QMessageBox::Yes);
    shrink->click();
    QCOMPARE(m_env->ui.messages().last().text, question.text);
    QCOMPARE(screen->statusText(), QStringLiteral("▶ ROLLBACK SEGMENT SHRINK Completed ...(RBS2)"));
    QCOMPARE(segments->rowCount(), 10);
    QVERIFY(shrinkBox->text().isEmpty());
}

void TestTablespaces::exportButtonAndExport()
{
    TKOLM310F* screen = openScreen();
    auto* excels = screen->findChild<QToolButton*>("sbt_Excels");
    auto* pages = screen->findChild<QTabWidget*>("PageControl1");
    QVERIFY(excels->isEnabled());

    // The rollback page disables it until the tablespace page is loaded again.
    pages->setCurrentIndex(1);
    QVERIFY(!excels->isEnabled());
    screen->findChild<QToolButton*>("sbt_select")->click();
    QVERIFY(!excels->isEnabled());
    pages->setCurrentIndex(0);
    QVERIFY(excels->isEnabled());

    // Cancelled: nothing written, the line unchanged.
    const QString listed = screen->statusText();
    m_env->ui.answerSaveFile(QString());
    excels->click();
    QVERIFY(
        m_env->ui.saveDialogStartPaths().last().endsWith(QStringLiteral("SYSTEM_TableSpace.Csv")));
    QCOMPARE(screen->statusText(), listed);

    // Saved: the whole grid, header row and colour code column included.
    const QString path = m_env->demo.folder() + QStringLiteral("/tablespaces.csv");
    m_env->ui.answerSaveFile(path);
    excels->click();
    QCOMPARE(screen->statusText(), QStringLiteral("▶ 엑셀자료로 전환 완료 되었습니다..."));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    // Amounts that hold the separator "," are quoted, so every row keeps its 11 values.
    const QStringList lines =
        QString::fromUtf8(file.readAll()).remove(QChar(0xFEFF)).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 10);  // header, 8 tablespaces, the empty end
    QCOMPARE(csvValues(lines[0]),
             QStringList({"TS#", "TABLESPACE_NAME", "INIT_EXTENT", "NEXT_EXTENT", "MIN_EXTENTS",
                          "MAX_EXTENTS", "PCT_INCREASE", "%FREE", "STATUS", "CONTENTS", ""}));
    QCOMPARE(neutral(csvValues(lines[4])),
             QStringList({"3", "USERS", "65,536", "0", "1", "2,147,483,645", "0", "13 %", "ONLINE",
                          "PERMANENT", "$00FFDFEF"}));

    // A file that cannot be written: the error box names it, and no line claims success.
    screen->setStatusText(listed);
    m_env->ui.answerSaveFile(m_env->demo.folder() + QStringLiteral("/missing/tablespaces.csv"));
    excels->click();
    QVERIFY(m_env->ui.messageTexts().last().contains(QStringLiteral("missing/tablespaces.csv")));
    QCOMPARE(m_env->ui.messages().last().icon, QMessageBox::Critical);
    QCOMPARE(screen->statusText(), listed);
}

QTEST_MAIN(TestTablespaces)
#include "tst_tablespaces.moc"
