// The server backup job against the demo instance on Thursday 2003-05-15: the due tables with their
// accounts' registrations, the job that logs in as each account and dumps its tables (two of one
// account, same-named tables of two accounts, a refused login, accounts that do not take part),
// the elapsed minutes of a 90-second run, a table without rows, a second run of the day, and an
// error that ends the job.
#include "app/KOLM000U.h"
#include "common/KOLMCOMM.h"
#include "data/SharedSlots.h"
#include "data/TableDump.h"
#include "screens/serverbackup/KOLM521U.h"
#include "widgets/ActionGuard.h"
#include "widgets/StringGrid.h"
#include "../db_engine/EngineFixture.h"
#include "ConnectedDemo.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>

using namespace kolmara;
using kolmara::screens::TKOLM521F;

namespace {

const QDateTime kThursday(QDate(2003, 5, 15), QTime(9, 0, 0));

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// The grid columns the tests read.
enum Column {
    Account = 1,
    UserName = 2,
    Table = 3,
    Cycle = 5,
    Count = 6,
    Minutes = 7,
    Start = 8,
    End = 9,
    Password = 11,
    Path = 12,
    Line = 14,
    TakesPart = 15
};

}  // namespace

class TestServerBackup : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void dueTablesWithRegistrations();
    void jobDumpsTheTablesOfTakingPartAccounts();
    void ninetySecondRunShowsOneAndAHalfMinutes();
    void tableWithoutRowsLeavesAnEmptyFileAndNoLog();
    void refusedLogOrStampKeepsTheDump_data();
    void refusedLogOrStampKeepsTheDump();
    void errorEndsTheJob_data();
    void errorEndsTheJob();
    void catalogueUnreadable();

private:
    void connectAs(const QString& user, const QString& password);
    TKOLM521F* openScreen();
    int rowOf(TKOLM521F* screen, const QString& account, const QString& table);
    QString field(const QString& sql);
    void run(const QString& sql);
    QString fileOf(const QString& account, const QString& table) const;

    std::unique_ptr<test::ConnectedDemo> m_env;
};

void TestServerBackup::init()
{
    m_env = std::make_unique<test::ConnectedDemo>(test::ConnectedDemo::Later{}, kThursday);
    m_env->ui.setNow(kThursday);
}

void TestServerBackup::cleanup()
{
    m_env.reset();
}

void TestServerBackup::connectAs(const QString& user, const QString& password)
{
    QVERIFY(m_env->connectAs(user, password));
}

TKOLM521F* TestServerBackup::openScreen()
{
    return m_env->open<TKOLM521F>("N53");
}

int TestServerBackup::rowOf(TKOLM521F* screen, const QString& account, const QString& table)
{
    auto* grid = screen->findChild<ui::StringGrid*>("AdvStringGrid1");
    for (int r = 1; r < grid->rowCount(); ++r)
        if (grid->cell(Account, r) == account && grid->cell(Table, r) == table)
            return r;
    return -1;
}

// The first row of a query on the main session, its columns joined by '|'.
QString TestServerBackup::field(const QString& sql)
{
    return test::rows(m_env->main.session(), sql).value(0);
}

void TestServerBackup::run(const QString& sql)
{
    test::exec(m_env->main.session(), sql);
    m_env->main.session().commit();
}

QString TestServerBackup::fileOf(const QString& account, const QString& table) const
{
    return data::dumpFile(
        data::dumpFolder(CfgBackupDrive, CfgBackupPath, account, kThursday.date()), table);
}

void TestServerBackup::dueTablesWithRegistrations()
{
    connectAs(QStringLiteral("SYSTEM"), QStringLiteral("MANAGER"));
    TKOLM521F* screen = openScreen();
    QVERIFY(screen);
    QCOMPARE(screen->windowTitle(), QStringLiteral("서버백업작업[그리드]"));
    QCOMPARE(screen->size(), QSize(862, 701));  // the client area, inside the child window's frame
    // System menu only: the window cannot be minimised.
    auto* sub = qobject_cast<QMdiSubWindow*>(screen->parentWidget());
    QVERIFY(sub);
    QVERIFY(!(sub->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(sub->windowFlags() & Qt::WindowSystemMenuHint);
    // The current-table strip: the caption cell in the caption colour, the panels white.
    auto colourOf = [](QWidget* w) { return w->grab().toImage().pixelColor(w->width() / 2, 2); };
    QLabel* caption = nullptr;
    for (QLabel* label : screen->findChildren<QLabel*>())
        if (label->text() == QStringLiteral("현재백업테이블"))
            caption = label;
    QVERIFY(caption);
    QCOMPARE(colourOf(caption), QColor(231, 205, 205));
    QCOMPARE(colourOf(screen->findChild<QLabel*>("pn_name1")), QColor(Qt::white));
    auto* grid = screen->findChild<ui::StringGrid*>("AdvStringGrid1");
    QStringList rows;
    for (int r = 1; r < grid->rowCount(); ++r)
        rows << QStringList{grid->cell(0, r),         grid->cell(Account, r),
                            grid->cell(UserName, r),  grid->cell(Table, r),
                            grid->cell(Cycle, r),     grid->cell(Password, r),
                            grid->cell(TakesPart, r), grid->cell(Line, r)}
                    .join(QLatin1Char('|'));
    // Rows by account; TGHAPP's two in the order the database gives them.
    const int customer = rowOf(screen, QStringLiteral("TGHAPP"), QStringLiteral("CUSTOMER"));
    const int item = rowOf(screen, QStringLiteral("TGHAPP"), QStringLiteral("ORDER_ITEM"));
    QCOMPARE(qMin(customer, item), 4);
    QCOMPARE(qMax(customer, item), 5);
    rows[customer - 1].clear();
    rows[item - 1].clear();
    QCOMPARE(rows, (QStringList{"1|HR|인사 샘플|EMPLOYEES|D|********|N|",
                                "2|SCOTT|샘플 (SCOTT)|EMP|D|********|Y|",
                                "3|TGHADM||BACKLOG_TABLE|D|||",
                                "", "",
                                "6|TGHDW|영업 데이터마트|CUSTOMER|D|********|Y|",
                                "7|TGHOLD|구 주문 시스템|OLD_ORDERS|D|********|Y|--"}));
    QCOMPARE(grid->cell(13, item), QStringLiteral("WHERE ORDER_NO LIKE '200304%'"));
    // Both tables of one account show its registration, however often it is read.
    for (int r : {customer, item})
        QCOMPARE((QStringList{grid->cell(UserName, r), grid->cell(Password, r),
                              grid->cell(TakesPart, r)}),
                 (QStringList{"영업관리 시스템", "********", "Y"}));
    QVERIFY(grid->endsGroup(7));
    QVERIFY(!grid->endsGroup(6));
    QCOMPARE(screen->statusText(), QString());
    QVERIFY(screen->findChild<QToolButton*>("bbt_update")->isEnabled());
    QVERIFY(m_env->ui.messages().isEmpty());
    QVERIFY(!screen->jobSession().isConnected());
}

void TestServerBackup::jobDumpsTheTablesOfTakingPartAccounts()
{
    connectAs(QStringLiteral("SYSTEM"), QStringLiteral("MANAGER"));
    TKOLM521F* screen = openScreen();
    auto* grid = screen->findChild<ui::StringGrid*>("AdvStringGrid1");
    screen->findChild<QToolButton*>("bbt_update")->click();

    // TGHOLD's account is locked: its login is refused and reported, the job goes on.
    QCOMPARE(m_env->ui.messageTexts(), QStringList{"ORA-28000: the account is locked"});
    QVERIFY(!screen->jobSession().isConnected());
    QVERIFY(!ui::isBusyCursor());
    QVERIFY(screen->findChild<QPlainTextEdit*>("mm_select")
                ->toPlainText()
                .startsWith(QStringLiteral("SELECT  /*+ RULE */ \n")));
    // The refused account's table is the last one: nothing claims a dump still runs, and its
    // panels show none of the table dumped before it.
    QCOMPARE(screen->statusText(), QString());
    QCOMPARE(screen->findChild<QLabel*>("pn_name1")->text(), QStringLiteral("OLD_ORDERS"));
    QCOMPARE(screen->findChild<QLabel*>("pn_name3")->text(), QString());
    QVERIFY(screen->findChild<QPlainTextEdit*>("ws_memo")->toPlainText().isEmpty());

    struct Dumped {
        QString account, table;
    };
    const Dumped dumped[] = {
        {"SCOTT", "EMP"}, {"TGHAPP", "CUSTOMER"}, {"TGHAPP", "ORDER_ITEM"}, {"TGHDW", "CUSTOMER"}};
    for (const Dumped& d : dumped) {
        const int r = rowOf(screen, d.account, d.table);
        const QString path = fileOf(d.account, d.table);
        const int lines = int(fileBytes(path).count("\r\n"));
        QVERIFY2(lines > 0, qPrintable(path));
        QCOMPARE(grid->cell(Path, r), path);
        QCOMPARE(grid->cell(Count, r), QString::number(lines) + QStringLiteral(" 건"));
        QCOMPARE(grid->cell(Start, r), QStringLiteral("2003-05-15 09:00:00"));
        QCOMPARE(grid->cell(End, r), QStringLiteral("2003-05-15 09:00:00"));
        QCOMPARE(grid->cell(Minutes, r),
                 QLocale::system().toString(0.0, 'f', 1) + QStringLiteral(" 분"));
        QCOMPARE(
            field(QStringLiteral(
                      "SELECT BACKLOG_SDATETIME, BACKLOG_EDATETIME, BACKLOG_CYCLE, "
                      "NVL(BACKLOG_TYPE, '-'), NVL(BACKLOG_TIME, '-'), BACKLOG_PATH, BACKLOG_COUNT "
                      "FROM BACKLOG_TABLE WHERE BACKLOG_ACCOUNT = '%1' AND BACKLOG_TABLEID = '%2' "
                      "AND BACKLOG_SDATETIME LIKE '20030515%'")
                      .arg(d.account, d.table)),
            QStringList({"20030515 090000", "20030515 090000", grid->cell(Cycle, r), "-", "-", path,
                         QString::number(lines)})
                .join(QLatin1Char('|')));
        QCOMPARE(
            field(QStringLiteral(
                      "SELECT BACKUP_DATETIME FROM BACKUP_TABLE WHERE BACKUP_SERVER = 'DEMO' AND "
                      "BACKUP_ACCOUNT = '%1' AND BACKUP_TABLEID = '%2'")
                      .arg(d.account, d.table)),
            QStringLiteral("20030515 090000"));
    }
    // Same-named tables of two accounts each keep their own file.
    QCOMPARE(fileBytes(fileOf("TGHAPP", "CUSTOMER")).count("\r\n"), 30);
    QCOMPARE(fileBytes(fileOf("TGHDW", "CUSTOMER")).count("\r\n"), 5);
    QCOMPARE(fileBytes(fileOf("SCOTT", "EMP")).count("\r\n"), 14);

    // Not registered, registered with "N", login refused: no file, no log, no stamp.
    for (const Dumped& d : {Dumped{"HR", "EMPLOYEES"}, Dumped{"TGHADM", "BACKLOG_TABLE"},
                            Dumped{"TGHOLD", "OLD_ORDERS"}}) {
        QVERIFY(!QFile::exists(fileOf(d.account, d.table)));
        QCOMPARE(grid->cell(Count, rowOf(screen, d.account, d.table)), QString());
        QCOMPARE(field(QStringLiteral(
                           "SELECT COUNT(*) FROM BACKLOG_TABLE WHERE BACKLOG_ACCOUNT = '%1' AND "
                           "BACKLOG_SDATETIME LIKE '20030515%'")
                           .arg(d.account)),
                 QStringLiteral("0"));
    }
    QCOMPARE(grid->cell(Path, rowOf(screen, "HR", "EMPLOYEES")), QString());
    QCOMPARE(grid->cell(Path, rowOf(screen, "TGHOLD", "OLD_ORDERS")),
             fileOf("TGHOLD", "OLD_ORDERS"));

    // A second run an hour later replaces the files and logs every table again.
    m_env->ui.setNow(kThursday.addSecs(3600));
    m_env->ui.clearRecords();
    screen->findChild<QToolButton*>("bbt_update")->click();
    QCOMPARE(m_env->ui.messageTexts(), QStringList{"ORA-28000: the account is locked"});
    QCOMPARE(grid->cell(Start, rowOf(screen, "SCOTT", "EMP")),
             QStringLiteral("2003-05-15 10:00:00"));
    QCOMPARE(fileBytes(fileOf("SCOTT", "EMP")).count("\r\n"), 14);
    QCOMPARE(field(QStringLiteral(
                 "SELECT COUNT(*) FROM BACKLOG_TABLE WHERE BACKLOG_SDATETIME LIKE '20030515%'")),
             QStringLiteral("8"));
}

void TestServerBackup::ninetySecondRunShowsOneAndAHalfMinutes()
{
    connectAs(QStringLiteral("SYSTEM"), QStringLiteral("MANAGER"));
    TKOLM521F* screen = openScreen();
    // The first table dumped (SCOTT.EMP) takes 90 seconds: the clock moves on while its lines show.
    bool moved = false;
    connect(screen->findChild<QPlainTextEdit*>("ws_memo"), &QPlainTextEdit::textChanged, this, [&] {
        if (!moved)
            m_env->ui.setNow(kThursday.addSecs(90));
        moved = true;
    });
    screen->findChild<QToolButton*>("bbt_update")->click();
    auto* grid = screen->findChild<ui::StringGrid*>("AdvStringGrid1");
    const int r = rowOf(screen, "SCOTT", "EMP");
    QCOMPARE(grid->cell(Start, r), QStringLiteral("2003-05-15 09:00:00"));
    QCOMPARE(grid->cell(End, r), QStringLiteral("2003-05-15 09:01:30"));
    QCOMPARE(grid->cell(Minutes, r),
             QLocale::system().toString(1.5, 'f', 1) + QStringLiteral(" 분"));
    // The log reads it in whole minutes, rounded.
    Backupt2 = std::make_unique<data::HBACKUPT2>();
    QCOMPARE(Backupt2->GetBackupLog("DEMO", "SCOTT", "20030515", "20030515"), 1);
    QCOMPARE(Backupt2->slotText(13, 0), QStringLiteral("2"));
    Backupt2.reset();
}

void TestServerBackup::tableWithoutRowsLeavesAnEmptyFileAndNoLog()
{
    connectAs(QStringLiteral("SYSTEM"), QStringLiteral("MANAGER"));
    run(QStringLiteral(
        "UPDATE BACKUP_TABLE SET BACKUP_CONDISION = 'WHERE 1 = 0' WHERE BACKUP_ACCOUNT = 'TGHDW' "
        "AND BACKUP_TABLEID = 'CUSTOMER'"));
    run(QStringLiteral(
        "UPDATE BACKUSER_TABLE SET BACKUSER_TYPE = 'N' WHERE BACKUSER_ACCOUNT = 'TGHOLD'"));
    TKOLM521F* screen = openScreen();
    screen->findChild<QToolButton*>("bbt_update")->click();
    QCOMPARE(screen->statusText(), QStringLiteral("▶ CUSTOMER(거래처 사본) 백업할 자료가 없습니다..(0)"));
    QVERIFY(m_env->ui.messages().isEmpty());
    const QString path = fileOf("TGHDW", "CUSTOMER");
    QVERIFY(QFile::exists(path));
    QCOMPARE(fileBytes(path), QByteArray());
    QCOMPARE(
        field(QStringLiteral("SELECT COUNT(*) FROM BACKLOG_TABLE WHERE BACKLOG_ACCOUNT = 'TGHDW'")),
        QStringLiteral("0"));
    QCOMPARE(field(QStringLiteral(
                 "SELECT BACKUP_DATETIME FROM BACKUP_TABLE WHERE BACKUP_ACCOUNT = 'TGHDW' AND "
                 "BACKUP_TABLEID = 'CUSTOMER'")),
             QStringLiteral("20030514 030102"));
    // The other tables were dumped before it.
    QCOMPARE(fileBytes(fileOf("TGHAPP", "CUSTOMER")).count("\r\n"), 30);
}

void TestServerBackup::refusedLogOrStampKeepsTheDump_data()
{
    // With SCOTT alone taking part, the main session runs its columns, the elapsed minutes, the
    // log row and the stamp.
    QTest::addColumn<int>("failing");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("logged");
    // The server's message follows the status text.
    QTest::newRow("log row refused")
        << 3 << "▶ 백업로그 자료 생성이 에러 입니다... ORA-00001: unique constraint violated"
        << "0";
    QTest::newRow("stamp refused")
        << 4 << "▶ 백업테이블 백업일자 생성이 에러 입니다... ORA-00001: unique constraint violated"
        << "1";
}

void TestServerBackup::refusedLogOrStampKeepsTheDump()
{
    QFETCH(int, failing);
    QFETCH(QString, status);
    QFETCH(QString, logged);
    connectAs(QStringLiteral("SYSTEM"), QStringLiteral("MANAGER"));
    run(QStringLiteral(
        "UPDATE BACKUSER_TABLE SET BACKUSER_TYPE = 'N' WHERE BACKUSER_ACCOUNT <> 'SCOTT'"));
    TKOLM521F* screen = openScreen();
    const QString before =
        field(QStringLiteral("SELECT BACKUP_DATETIME FROM BACKUP_TABLE WHERE BACKUP_ACCOUNT = "
                             "'SCOTT' AND BACKUP_TABLEID = 'EMP'"));
    m_env->main.session().failNthStatementForTesting(failing, 1,
                                                     QStringLiteral("unique constraint violated"));
    screen->findChild<QToolButton*>("bbt_update")->click();

    QCOMPARE(screen->statusText(), status);
    QVERIFY(m_env->ui.messages().isEmpty());
    QVERIFY(!ui::isBusyCursor());
    QVERIFY(!screen->jobSession().isConnected());
    QCOMPARE(fileBytes(fileOf("SCOTT", "EMP")).count("\r\n"), 14);
    auto* grid = screen->findChild<ui::StringGrid*>("AdvStringGrid1");
    QCOMPARE(grid->cell(Count, rowOf(screen, "SCOTT", "EMP")), QStringLiteral("14 건"));
    QCOMPARE(field(QStringLiteral(
                 "SELECT COUNT(*) FROM BACKLOG_TABLE WHERE BACKLOG_SDATETIME LIKE '20030515%'")),
             logged);
    QCOMPARE(field(QStringLiteral("SELECT BACKUP_DATETIME FROM BACKUP_TABLE WHERE BACKUP_ACCOUNT = "
                                  "'SCOTT' AND BACKUP_TABLEID = 'EMP'")),
             before);
}

void TestServerBackup::errorEndsTheJob_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    QTest::newRow("server error while fetching")
        << "fetch"
        << "ORA-03113: end-of-file on communication channel";
    QTest::newRow("condition that is not SQL")
        << "condition"
        << "ORA-00904: \"NO_SUCH_COLUMN\": invalid identifier";
    QTest::newRow("disk full") << "write" << "Cannot write file \"%1\". No space left on device";
}

void TestServerBackup::errorEndsTheJob()
{
    QFETCH(QString, fault);
    QFETCH(QString, message);
    connectAs(QStringLiteral("SYSTEM"), QStringLiteral("MANAGER"));
    if (fault == QLatin1String("condition"))
        run(QStringLiteral(
            "UPDATE BACKUP_TABLE SET BACKUP_CONDISION = 'WHERE NO_SUCH_COLUMN = 1' WHERE "
            "BACKUP_ACCOUNT = 'SCOTT' AND BACKUP_TABLEID = 'EMP'"));
    TKOLM521F* screen = openScreen();
    if (fault == QLatin1String("fetch"))  // the count's two fetches, then SCOTT.EMP's second row
        screen->jobSession().failNthFetchForTesting(
            4, 3113, QStringLiteral("end-of-file on communication channel"));
    else if (fault == QLatin1String("write"))
        data::TableDump::failNthLineWriteForTesting(2);
    screen->findChild<QToolButton*>("bbt_update")->click();

    const QString path = fileOf("SCOTT", "EMP");
    QCOMPARE(m_env->ui.messages().size(), 1);
    const QString expected = message.contains(QLatin1String("%1")) ? message.arg(path) : message;
    QVERIFY2(m_env->ui.messages().first().text.startsWith(expected),
             qPrintable(m_env->ui.messages().first().text));
    QVERIFY(!screen->jobSession().isConnected());
    QVERIFY(!ui::isBusyCursor());
    QVERIFY(!SharedQuery3);
    QVERIFY(!QFile::exists(path));
    // The job stopped at SCOTT.EMP: nothing after it was dumped, nothing logged.
    QVERIFY(!QFile::exists(fileOf("TGHAPP", "CUSTOMER")));
    QCOMPARE(field(QStringLiteral(
                 "SELECT COUNT(*) FROM BACKLOG_TABLE WHERE BACKLOG_SDATETIME LIKE '20030515%'")),
             QStringLiteral("0"));
    data::TableDump::failNthLineWriteForTesting(0);
}

void TestServerBackup::catalogueUnreadable()
{
    connectAs(QStringLiteral("SCOTT"), QStringLiteral("TIGER"));
    TKOLM521F* screen = openScreen();
    QCOMPARE(m_env->ui.messageTexts(), QStringList{"백업대상 테이블이 없습니다..."});
    auto* grid = screen->findChild<ui::StringGrid*>("AdvStringGrid1");
    QCOMPARE(grid->rowCount(), 4);
    QCOMPARE(grid->cell(Line, 1), QStringLiteral("--"));
    QVERIFY(!screen->findChild<QToolButton*>("bbt_update")->isEnabled());
}

QTEST_MAIN(TestServerBackup)
#include "tst_serverbackup.moc"
