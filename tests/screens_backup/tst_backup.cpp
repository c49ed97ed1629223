// The backup screen against the demo instance, driven as a DBA would: the table list with its
// cycles, a table's schedule and dump query, the dump compared with a checked-in file, the log row
// and stamp it leaves, tables without schedule or rows, a second dump of the day, dumps that fail
// half-way, and the log page over a date range.
#include "app/KOLM000U.h"
#include "common/KOLMCOMM.h"
#include "data/SharedSlots.h"
#include "data/TableDump.h"
#include "screens/backup/KOLM500U.h"
#include "widgets/ActionGuard.h"
#include "widgets/PieGauge.h"
#include "widgets/StringGrid.h"
#include "../db_engine/EngineFixture.h"
#include "ConnectedDemo.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

using namespace kolmara;
using kolmara::screens::TKOLM500F;

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

}  // namespace

class TestBackup : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void tableListWithCycles();
    void weeklyTableWithConditionDumpsItsRows();
    void tableWithoutScheduleIsDumpedUnderItsOwner();
    void codesOutsideTheListsAreShownAndLoggedAsStored();
    void tableWithoutRowsLeavesAnEmptyFile();
    void secondDumpOfTheDayReplacesTheFile();
    void clicksQueuedDuringADumpAreDropped();
    void failedDumpReportsAndLogsNothing_data();
    void failedDumpReportsAndLogsNothing();
    void refusedLogOrStampKeepsTheDump_data();
    void refusedLogOrStampKeepsTheDump();
    void unreadableListAndCatalogue();
    void logPageOverADateRange();

private:
    void connectAs(const QString& user, const QString& password);
    void chooseAccount(const QString& account);
    TKOLM500F* openScreen();
    int rowOf(TKOLM500F* screen, const QString& table);
    QString text(TKOLM500F* screen, const char* name);
    QString field(const QString& sql);
    QString folderOfToday(const QString& account) const;

    std::unique_ptr<test::ConnectedDemo> m_env;
};

void TestBackup::init()
{
    m_env = std::make_unique<test::ConnectedDemo>(test::ConnectedDemo::Later{});
}

void TestBackup::cleanup()
{
    m_env.reset();
}

void TestBackup::connectAs(const QString& user, const QString& password)
{
    QVERIFY(m_env->connectAs(user, password));
}

void TestBackup::chooseAccount(const QString& account)
{
    QComboBox* list = m_env->main.accountList();
    list->setCurrentIndex(list->findText(account));
    m_env->main.cbe_grantChange();
    QCOMPARE(ConnUser, account);
}

TKOLM500F* TestBackup::openScreen()
{
    m_env->main.menuAction(QStringLiteral("N51"))->trigger();
    auto* sub = m_env->main.mdiArea()->activeSubWindow();
    return sub ? qobject_cast<TKOLM500F*>(sub->widget()) : nullptr;
}

int TestBackup::rowOf(TKOLM500F* screen, const QString& table)
{
    auto* grid = screen->findChild<ui::StringGrid*>("AdvStringGrid1");
    for (int r = 1; r < grid->rowCount(); ++r)
        if (grid->cell(1, r) == table)
            return r;
    return -1;
}

QString TestBackup::text(TKOLM500F* screen, const char* name)
{
    if (auto* label = screen->findChild<QLabel*>(name))
        return label->text();
    if (auto* edit = screen->findChild<QLineEdit*>(name))
        return edit->text();
    if (auto* box = screen->findChild<QComboBox*>(name))
        return box->currentText();
    if (auto* memo = screen->findChild<QPlainTextEdit*>(name))
        return memo->toPlainText();
    return QStringLiteral("<no control %1>").arg(QLatin1String(name));
}

// The first row of a query on the main session, its columns joined by '|'.
QString TestBackup::field(const QString& sql)
{
    return test::rows(m_env->main.session(), sql).value(0);
}

QString TestBackup::folderOfToday(const QString& account) const
{
    return data::dumpFolder(CfgBackupDrive, CfgBackupPath, account, m_env->ui.now().date());
}

void TestBackup::tableListWithCycles()
{
    connectAs(QStringLiteral("TGHDW"), QStringLiteral("TGHDW"));
    TKOLM500F* screen = openScreen();
    QVERIFY(screen);
    QCOMPARE(screen->windowTitle(), QStringLiteral("백업작업(EXPORT)"));
    QCOMPARE(screen->size(), QSize(862, 583));  // the client area, inside the child window's frame
    QCOMPARE(text(screen, "pn_grant"), QStringLiteral("TGHDW"));
    auto* grid = screen->findChild<ui::StringGrid*>("AdvStringGrid1");
    QCOMPARE(grid->rowCount(), 3);
    const QStringList expected[] = {{"1", "CUSTOMER", "거래처 사본", "", "D", "N"},
                                    {"2", "DEPT_NOTE", "부서 메모", "", "W", "N"}};
    for (int r = 1; r <= 2; ++r) {
        QStringList row;
        for (int c = 0; c < 6; ++c)
            row << grid->cell(c, r);
        QCOMPARE(row, expected[r - 1]);
        QVERIFY(grid->hasCheckBox(3, r));
    }
    QCOMPARE(text(screen, "lb_DataCnt"), QStringLiteral("검색건수 : 2 건"));
    // The first table is read at once.
    QCOMPARE(text(screen, "ed_select"), QStringLiteral("CUSTOMER"));
    QCOMPARE(screen->statusText(), QStringLiteral("▶ CUSTOMER(거래처 사본) 테이블 백업정보가 조회 되었습니다..."));
    QVERIFY(screen->findChild<QToolButton*>("bbt_update")->isEnabled());
    QCOMPARE(text(screen, "pn_tablespace"), QStringLiteral("TGHD"));
    QCOMPARE(text(screen, "pn_status"), QStringLiteral("VALID"));

    // Ticking a row's box sets its flag; the hidden select-all box sets them all.
    grid->setCheckBoxState(3, 1, true);
    emit grid->checkBoxClicked(3, 1, true);
    QCOMPARE(grid->cell(5, 1), QStringLiteral("Y"));
    auto* all = screen->findChild<QCheckBox*>("cb_check");
    all->setChecked(true);
    QCOMPARE(grid->cell(5, 2), QStringLiteral("Y"));
    QCOMPARE(all->text(), QStringLiteral("전체백업취소"));

    // The menu brings the same window to the front.
    QCOMPARE(openScreen(), screen);
    QCOMPARE(m_env->main.mdiArea()->subWindowList().size(), 1);
}

void TestBackup::weeklyTableWithConditionDumpsItsRows()
{
    connectAs(QStringLiteral("TGHDW"), QStringLiteral("TGHDW"));
    TKOLM500F* screen = openScreen();
    screen->AdvStringGrid1ClickCell(rowOf(screen, QStringLiteral("DEPT_NOTE")));
    QCOMPARE(screen->statusText(), QStringLiteral("▶ DEPT_NOTE(부서 메모) 테이블 백업정보가 조회 되었습니다..."));
    QCOMPARE(text(screen, "mm_select"),
             QStringLiteral("SELECT \n"
                            "       TO_CHAR(NOTE_NO) NOTE_NO\n"
                            "      ,TO_CHAR(DEPTNO) DEPTNO\n"
                            "      ,TITLE TITLE\n"
                            "      ,TO_CHAR(RATE) RATE\n"
                            "      ,TO_CHAR(NOTE_DATE, 'YYYYMMDD HH24MISS') NOTE_DATE\n"
                            "      ,MEMO MEMO\n"
                            "FROM   DEPT_NOTE"));
    QCOMPARE(text(screen, "cb_cycle"), QStringLiteral("W : 주간백업"));
    QCOMPARE(text(screen, "pn_title"), QStringLiteral("매주"));
    QCOMPARE(text(screen, "cb_type"), QStringLiteral("04 : 수요일"));
    QCOMPARE(text(screen, "cb_backup_time"), QStringLiteral("13 : 13시"));
    QCOMPARE(text(screen, "mm_condision"), QStringLiteral("WHERE DEPTNO = 10"));
    QCOMPARE(text(screen, "pn_backup_date"), QStringLiteral("2003-05-07 13:04:55"));
    QCOMPARE(text(screen, "pn_mode"), QStringLiteral("U"));
    const QString path =
        data::dumpFile(folderOfToday(QStringLiteral("TGHDW")), QStringLiteral("DEPT_NOTE"));
    QCOMPARE(text(screen, "ed_backup_Path"), path);
    QVERIFY(QDir(folderOfToday(QStringLiteral("TGHDW"))).exists());
    QCOMPARE(text(screen, "ed_ipname"), LocalIp);

    // A name typed into the search field since does not change what the dump is logged as.
    screen->findChild<QLineEdit*>("ed_select")->setText(QStringLiteral("CUSTOMER"));
    screen->findChild<QToolButton*>("bbt_update")->click();
    QCOMPARE(m_env->ui.messages().size(), 0);
    QCOMPARE(screen->statusText(), QStringLiteral("▶ DEPT_NOTE(부서 메모) 4건 백업이 완료 되었습니다..."));
    QCOMPARE(fileBytes(path),
             fileBytes(QDir(qEnvironmentVariable("KOLMARA_TEST_DATA")).filePath("DEPT_NOTE.TXT")));
    QCOMPARE(text(screen, "pn_message"), QStringLiteral("4 Rows Update / TOTAL 4 Rows "));
    QCOMPARE(text(screen, "pn_recordcount"), QStringLiteral("4 건"));
    QCOMPARE(text(screen, "ed_start_backup"), QStringLiteral("2003-05-14 13:05:22"));
    QCOMPARE(text(screen, "ed_end_backup"), QStringLiteral("2003-05-14 13:05:22"));
    QVERIFY(screen->findChild<ui::PieGauge*>("Gauge1")->isHidden());
    QVERIFY(!ui::isBusyCursor());

    QCOMPARE(
        field(QStringLiteral("SELECT BACKLOG_SDATETIME, BACKLOG_EDATETIME, BACKLOG_TABLENAME, "
                             "BACKLOG_CYCLE, BACKLOG_TYPE, "
                             "BACKLOG_TIME, BACKLOG_IPNAME, BACKLOG_CONDISION, BACKLOG_PATH, "
                             "BACKLOG_COUNT FROM BACKLOG_TABLE "
                             "WHERE BACKLOG_ACCOUNT = 'TGHDW' AND BACKLOG_TABLEID = 'DEPT_NOTE'")),
        QStringList({"20030514 130522", "20030514 130522", "부서 메모", "W", "04", "13", LocalIp,
                     "WHERE DEPTNO = 10", path, "4"})
            .join(QLatin1Char('|')));
    QCOMPARE(field(QStringLiteral(
                 "SELECT BACKUP_DATETIME FROM BACKUP_TABLE WHERE BACKUP_SERVER = 'DEMO' AND "
                 "BACKUP_ACCOUNT = 'TGHDW' AND BACKUP_TABLEID = 'DEPT_NOTE'")),
             QStringLiteral("20030514 130522"));
    // The panel keeps the stamp it read until the table is read again.
    QCOMPARE(text(screen, "pn_backup_date"), QStringLiteral("2003-05-07 13:04:55"));
}

void TestBackup::tableWithoutScheduleIsDumpedUnderItsOwner()
{
    connectAs(QStringLiteral("SYSTEM"), QStringLiteral("MANAGER"));
    chooseAccount(QStringLiteral("HR"));
    TKOLM500F* screen = openScreen();
    screen->AdvStringGrid1ClickCell(rowOf(screen, QStringLiteral("REGIONS")));
    QCOMPARE(text(screen, "pn_mode"), QStringLiteral("I"));
    QCOMPARE(text(screen, "cb_cycle"), QStringLiteral("N : 백업안함"));
    QCOMPARE(text(screen, "pn_title"), QStringLiteral("안함"));
    QCOMPARE(text(screen, "cb_type"), QStringLiteral("01 : 백업안함"));
    QCOMPARE(text(screen, "cb_backup_time"), QStringLiteral("01 :  1시"));
    QCOMPARE(text(screen, "pn_backup_date"), QString());
    // The login is SYSTEM: HR's table is named with its owner, or SYSTEM would read its own.
    QVERIFY(text(screen, "mm_select").endsWith(QStringLiteral("\nFROM   HR.REGIONS")));

    screen->findChild<QToolButton*>("bbt_update")->click();
    const QString comment = text(screen, "pn_tablename");
    QCOMPARE(screen->statusText(), QStringLiteral("▶ REGIONS(") + comment +
                                       QStringLiteral(") 4건 백업이 완료 되었습니다..."));
    const QString path =
        data::dumpFile(folderOfToday(QStringLiteral("HR")), QStringLiteral("REGIONS"));
    QCOMPARE(fileBytes(path).count("\r\n"), 4);
    // The comment is longer than the log's 80 bytes: the log keeps its start.
    QVERIFY(comment.size() > 80);
    QCOMPARE(field(QStringLiteral(
                 "SELECT BACKLOG_TABLENAME, BACKLOG_CYCLE, BACKLOG_TYPE, BACKLOG_TIME, "
                 "BACKLOG_COUNT FROM "
                 "BACKLOG_TABLE WHERE BACKLOG_ACCOUNT = 'HR' AND BACKLOG_TABLEID = 'REGIONS'")),
             comment.left(80) + QStringLiteral("|N|01|01|4"));
    QCOMPARE(
        field(QStringLiteral("SELECT COUNT(*) FROM BACKUP_TABLE WHERE BACKUP_ACCOUNT = 'HR' AND "
                             "BACKUP_TABLEID = 'REGIONS'")),
        QStringLiteral("0"));
}

void TestBackup::codesOutsideTheListsAreShownAndLoggedAsStored()
{
    connectAs(QStringLiteral("TGHDW"), QStringLiteral("TGHDW"));
    test::exec(
        m_env->main.session(),
        QStringLiteral("UPDATE TGHADM.BACKUP_TABLE SET BACKUP_TYPE = '09', BACKUP_TIME = '30' "
                       "WHERE BACKUP_ACCOUNT = 'TGHDW' AND BACKUP_TABLEID = 'DEPT_NOTE'"));
    TKOLM500F* screen = openScreen();
    screen->AdvStringGrid1ClickCell(rowOf(screen, QStringLiteral("DEPT_NOTE")));
    QCOMPARE(text(screen, "cb_cycle"), QStringLiteral("W : 주간백업"));
    QCOMPARE(text(screen, "cb_type"), QStringLiteral("09 : 목록에 없는 코드"));
    QCOMPARE(text(screen, "cb_backup_time"), QStringLiteral("30 : 목록에 없는 코드"));

    screen->findChild<QToolButton*>("bbt_update")->click();
    QCOMPARE(
        field(QStringLiteral("SELECT BACKLOG_CYCLE, BACKLOG_TYPE, BACKLOG_TIME FROM BACKLOG_TABLE "
                             "WHERE BACKLOG_ACCOUNT = 'TGHDW' AND BACKLOG_TABLEID = 'DEPT_NOTE'")),
        QStringLiteral("W|09|30"));
    // The next table's lists are the plain ones again.
    screen->AdvStringGrid1ClickCell(rowOf(screen, QStringLiteral("CUSTOMER")));
    QCOMPARE(screen->findChild<QComboBox*>("cb_backup_time")->count(), 24);
}

void TestBackup::tableWithoutRowsLeavesAnEmptyFile()
{
    connectAs(QStringLiteral("SYSTEM"), QStringLiteral("MANAGER"));
    chooseAccount(QStringLiteral("SCOTT"));
    TKOLM500F* screen = openScreen();
    screen->AdvStringGrid1ClickCell(rowOf(screen, QStringLiteral("BONUS")));
    screen->findChild<QToolButton*>("bbt_update")->click();
    QCOMPARE(screen->statusText(), QStringLiteral("▶ BONUS(상여금) 백업할 자료가 없습니다...(0)"));
    const QString path =
        data::dumpFile(folderOfToday(QStringLiteral("SCOTT")), QStringLiteral("BONUS"));
    QVERIFY(QFile::exists(path));
    QCOMPARE(fileBytes(path), QByteArray());
    QCOMPARE(
        field(QStringLiteral("SELECT COUNT(*) FROM BACKLOG_TABLE WHERE BACKLOG_TABLEID = 'BONUS'")),
        QStringLiteral("0"));
    QCOMPARE(field(QStringLiteral(
                 "SELECT NVL(BACKUP_DATETIME, '-') FROM BACKUP_TABLE WHERE BACKUP_SERVER = "
                 "'DEMO' AND BACKUP_ACCOUNT = 'SCOTT' AND BACKUP_TABLEID = 'BONUS'")),
             QStringLiteral("-"));
    QVERIFY(!ui::isBusyCursor());
}

void TestBackup::secondDumpOfTheDayReplacesTheFile()
{
    connectAs(QStringLiteral("TGHDW"), QStringLiteral("TGHDW"));
    TKOLM500F* screen = openScreen();  // CUSTOMER, the first table, is read
    auto* backup = screen->findChild<QToolButton*>("bbt_update");
    backup->click();
    QCOMPARE(screen->statusText(), QStringLiteral("▶ CUSTOMER(거래처 사본) 5건 백업이 완료 되었습니다..."));
    const QString path = text(screen, "ed_backup_Path");
    const QByteArray first = fileBytes(path);
    QCOMPARE(first.count("\r\n"), 5);

    m_env->ui.setNow(m_env->ui.now().addSecs(3600));
    QVERIFY(field(QStringLiteral("SELECT 1 FROM DUAL")) == QStringLiteral("1"));
    db::Query change(&m_env->main.session());
    change.addSql(QStringLiteral("DELETE FROM CUSTOMER WHERE CUST_NO = 10005"));
    change.execSql();
    m_env->main.session().commit();
    backup->click();
    QCOMPARE(screen->statusText(), QStringLiteral("▶ CUSTOMER(거래처 사본) 4건 백업이 완료 되었습니다..."));
    QCOMPARE(fileBytes(path).count("\r\n"), 4);
    QCOMPARE(QDir(folderOfToday(QStringLiteral("TGHDW"))).entryList(QDir::Files),
             QStringList{"CUSTOMER.TXT"});
    QCOMPARE(field(QStringLiteral(
                 "SELECT COUNT(*), MIN(BACKLOG_SDATETIME), MAX(BACKLOG_SDATETIME) FROM "
                 "BACKLOG_TABLE WHERE BACKLOG_ACCOUNT = 'TGHDW' AND BACKLOG_TABLEID = 'CUSTOMER'")),
             QStringLiteral("2|20030514 130522|20030514 140522"));
}

void TestBackup::clicksQueuedDuringADumpAreDropped()
{
    connectAs(QStringLiteral("TGHDW"), QStringLiteral("TGHDW"));
    TKOLM500F* screen = openScreen();
    auto* backup = screen->findChild<QToolButton*>("bbt_update");
    // The second click of a double click waits in the queue while the first one's dump runs.
    const QPoint centre = backup->rect().center();
    QCoreApplication::postEvent(
        backup, new QMouseEvent(QEvent::MouseButtonPress, centre, backup->mapToGlobal(centre),
                                Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(
        backup, new QMouseEvent(QEvent::MouseButtonRelease, centre, backup->mapToGlobal(centre),
                                Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
    backup->click();
    QCoreApplication::processEvents();
    QCOMPARE(screen->statusText(), QStringLiteral("▶ CUSTOMER(거래처 사본) 5건 백업이 완료 되었습니다..."));
    QVERIFY(backup->isEnabled());
    QCOMPARE(field(QStringLiteral(
                 "SELECT COUNT(*) FROM BACKLOG_TABLE WHERE BACKLOG_ACCOUNT = 'TGHDW' AND "
                 "BACKLOG_TABLEID = 'CUSTOMER'")),
             QStringLiteral("1"));
}

void TestBackup::failedDumpReportsAndLogsNothing_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    QTest::newRow("server error while fetching")
        << "fetch"
        << "ORA-03113: end-of-file on communication channel";
    QTest::newRow("disk full") << "write" << "Cannot write file \"%1\". No space left on device";
    QTest::newRow("condition that is not SQL")
        << "condition"
        << "ORA-00904: \"NO_SUCH_COLUMN\": invalid identifier";
    QTest::newRow("path edited into a missing folder") << "path" << "Cannot create file \"%1\".";
    QTest::newRow("unknown file encoding")
        << "encoding" << "DumpEncoding=EUC-JP: the dump file encoding must be UTF-8, CP949 or ANSI";
}

void TestBackup::failedDumpReportsAndLogsNothing()
{
    QFETCH(QString, fault);
    QFETCH(QString, message);
    connectAs(QStringLiteral("TGHDW"), QStringLiteral("TGHDW"));
    TKOLM500F* screen = openScreen();
    screen->AdvStringGrid1ClickCell(rowOf(screen, QStringLiteral("DEPT_NOTE")));
    auto* pathField = screen->findChild<QLineEdit*>("ed_backup_Path");
    QFile earlier(pathField->text());
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.write("\"the morning's dump\"\r\n");
    earlier.close();

    if (fault == QLatin1String("fetch"))
        m_env->main.session().failNthFetchForTesting(
            4, 3113, QStringLiteral("end-of-file on communication channel"));
    else if (fault == QLatin1String("write"))
        data::TableDump::failNthLineWriteForTesting(2);
    else if (fault == QLatin1String("condition"))
        screen->findChild<QPlainTextEdit*>("mm_condision")
            ->setPlainText(QStringLiteral("WHERE NO_SUCH_COLUMN = 1"));
    else if (fault == QLatin1String("encoding"))
        CfgDumpEncoding = QStringLiteral("EUC-JP");
    else
        pathField->setText(
            QDir(m_env->demo.folder()).filePath(QStringLiteral("NOWHERE/DEPT_NOTE.TXT")));
    const QString path = pathField->text();

    screen->findChild<QToolButton*>("bbt_update")->click();
    QCOMPARE(m_env->ui.messages().size(), 1);
    const QString shown = m_env->ui.messages().first().text;
    const QString expected = message.contains(QLatin1String("%1")) ? message.arg(path) : message;
    QVERIFY2(shown.startsWith(expected), qPrintable(shown));
    QCOMPARE(m_env->ui.messages().first().caption, ui::kApplicationTitle);
    QVERIFY(!ui::isBusyCursor());
    QVERIFY(screen->findChild<ui::PieGauge*>("Gauge1")->isHidden());
    QVERIFY(!SharedQuery1);
    if (fault != QLatin1String("path"))
        QCOMPARE(fileBytes(path), QByteArray("\"the morning's dump\"\r\n"));
    QCOMPARE(
        field(QStringLiteral("SELECT COUNT(*) FROM BACKLOG_TABLE WHERE BACKLOG_ACCOUNT = 'TGHDW'")),
        QStringLiteral("0"));
    QCOMPARE(field(QStringLiteral(
                 "SELECT BACKUP_DATETIME FROM BACKUP_TABLE WHERE BACKUP_ACCOUNT = 'TGHDW' AND "
                 "BACKUP_TABLEID = 'DEPT_NOTE'")),
             QStringLiteral("20030507 130455"));

    // The next dump works.
    data::TableDump::failNthLineWriteForTesting(0);
    CfgDumpEncoding.clear();
    screen->AdvStringGrid1ClickCell(rowOf(screen, QStringLiteral("DEPT_NOTE")));
    screen->findChild<QToolButton*>("bbt_update")->click();
    QCOMPARE(screen->statusText(), QStringLiteral("▶ DEPT_NOTE(부서 메모) 4건 백업이 완료 되었습니다..."));
}

void TestBackup::refusedLogOrStampKeepsTheDump_data()
{
    // The statements of a dump on the main session: the count, the rows, the log row, the stamp.
    QTest::addColumn<int>("failing");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("logged");
    QTest::newRow("log row refused") << 3 << "▶ 백업로그 자료 생성이 에러 입니다..." << "0";
    QTest::newRow("stamp refused") << 4 << "▶ 백업테이블 백업일자 생성이 에러 입니다..." << "1";
}

void TestBackup::refusedLogOrStampKeepsTheDump()
{
    QFETCH(int, failing);
    QFETCH(QString, status);
    QFETCH(QString, logged);
    connectAs(QStringLiteral("TGHDW"), QStringLiteral("TGHDW"));
    TKOLM500F* screen = openScreen();
    screen->AdvStringGrid1ClickCell(rowOf(screen, QStringLiteral("DEPT_NOTE")));
    m_env->main.session().failNthStatementForTesting(failing, 1,
                                                     QStringLiteral("unique constraint violated"));
    screen->findChild<QToolButton*>("bbt_update")->click();

    QCOMPARE(screen->statusText(), status);
    QVERIFY(m_env->ui.messages().isEmpty());
    QVERIFY(!ui::isBusyCursor());
    QCOMPARE(fileBytes(text(screen, "ed_backup_Path")),
             fileBytes(QDir(qEnvironmentVariable("KOLMARA_TEST_DATA")).filePath("DEPT_NOTE.TXT")));
    QCOMPARE(
        field(QStringLiteral("SELECT COUNT(*) FROM BACKLOG_TABLE WHERE BACKLOG_ACCOUNT = 'TGHDW'")),
        logged);
    QCOMPARE(field(QStringLiteral(
                 "SELECT BACKUP_DATETIME FROM BACKUP_TABLE WHERE BACKUP_ACCOUNT = 'TGHDW' AND "
                 "BACKUP_TABLEID = 'DEPT_NOTE'")),
             QStringLiteral("20030507 130455"));
}

void TestBackup::unreadableListAndCatalogue()
{
    // SCOTT reads its own tables but not the catalogue: nothing can be dumped.
    connectAs(QStringLiteral("SCOTT"), QStringLiteral("TIGER"));
    TKOLM500F* screen = openScreen();
    auto* grid = screen->findChild<ui::StringGrid*>("AdvStringGrid1");
    QCOMPARE(grid->rowCount(), 5);
    QCOMPARE(grid->cell(4, 1), QString());  // no cycle could be read
    QCOMPARE(screen->statusText(), QStringLiteral("▶ 백업대상 테이블을 생성 해야 합니다..."));
    QVERIFY(!screen->findChild<QToolButton*>("bbt_update")->isEnabled());
    m_env->main.mdiArea()->closeAllSubWindows();

    // An account without tables.
    connectAs(QStringLiteral("SYSTEM"), QStringLiteral("MANAGER"));
    chooseAccount(QStringLiteral("TGHWEB"));
    screen = openScreen();
    QCOMPARE(screen->statusText(), QStringLiteral("▶ ALL_TAB_COMMENTS ERROR ...(0)"));
    QCOMPARE(screen->findChild<ui::StringGrid*>("AdvStringGrid1")->rowCount(), 2);
    QVERIFY(!screen->findChild<QToolButton*>("bbt_update")->isEnabled());
}

void TestBackup::logPageOverADateRange()
{
    connectAs(QStringLiteral("SYSTEM"), QStringLiteral("MANAGER"));
    chooseAccount(QStringLiteral("SCOTT"));
    TKOLM500F* screen = openScreen();
    auto* from = screen->findChild<QDateEdit*>("dtp_frdate");
    auto* to = screen->findChild<QDateEdit*>("dtp_todate");
    QCOMPARE(from->date(), QDate(2003, 5, 1));
    QCOMPARE(to->date(), QDate(2003, 5, 14));
    screen->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1);
    auto* grid = screen->findChild<ui::StringGrid*>("AdvStringGrid2");
    QCOMPARE(screen->statusText(), QStringLiteral("▶ 2건이 조회 되었습니다..."));
    QCOMPARE(grid->rowCount(), 3);
    QStringList newest;
    for (int c = 0; c < 9; ++c)
        newest << grid->cell(c, 1);
    QCOMPARE(newest, (QStringList{"1", "20030514 020511", "EMP", "사원", "D", "20030514 020512",
                                  "0 분", "14", "D:\\KOLMARA\\BACKUP\\SCOTT\\20030514\\EMP.TXT"}));
    QCOMPARE(grid->cell(1, 2), QStringLiteral("20030507 030009"));
    QVERIFY(!screen->findChild<QToolButton*>("bbt_update")->isEnabled());

    // Whole days, both ends included: the April run that ended on May 1st started on April 30th.
    from->setDate(QDate(2003, 4, 30));
    to->setDate(QDate(2003, 4, 30));
    screen->bbt_SelectClick();
    QCOMPARE(grid->rowCount(), 2);
    QCOMPARE(grid->cell(1, 1), QStringLiteral("20030430 235959"));
    QCOMPARE(grid->cell(6, 1), QStringLiteral("0 분"));

    from->setDate(QDate(2003, 6, 1));
    to->setDate(QDate(2003, 6, 30));
    screen->bbt_SelectClick();
    QCOMPARE(screen->statusText(), QStringLiteral("▶ BACKUP LOG SELECT ERROR ..."));
    QCOMPARE(grid->rowCount(), 2);

    // Back on the first page the list is read again.
    screen->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(0);
    QVERIFY(screen->findChild<QToolButton*>("bbt_update")->isEnabled());
}

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
