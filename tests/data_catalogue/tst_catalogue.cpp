// The query methods against a fresh demo instance with the engine's clock fixed at Wednesday
// 15 October 2003 14:00:00: what each reader returns, what a missing view or privilege does to
// each failure group, the writers' transactions and stamps, the backup log's day bounds and run
// time, and the backups due on a Wednesday the 15th.
#include "DemoDatabase.h"
#include "MethodTable.h"
#include "ScriptedUiServices.h"
#include "common/Errors.h"
#include "data/SharedSlots.h"
#include "db/Query.h"
#include "db/Session.h"
#include "db/embedded/Engine.h"

#include <QRegularExpression>
#include <QTest>

using namespace kolmara;

namespace {

const QDateTime kWednesday15th(QDate(2003, 10, 15), QTime(14, 0, 0));

void setEngineClock(const QDateTime& now)
{
    db::embedded::setEngineClockForTesting([now] { return now; });
}

std::unique_ptr<db::Session> connectDemo(const QString& user, const QString& password)
{
    auto session = std::make_unique<db::Session>();
    session->setServer(QStringLiteral("DEMO"));
    session->setUsername(user);
    session->setPassword(password);
    session->setLoginPrompt(false);
    session->setConnected(true);
    return session;
}

// One expectation on the slots of the object a method filled:
//   "3=USERS"        slot 3 holds the single value USERS
//   "1[2]=SALGRADE"  element 2 of the array in slot 1 is SALGRADE
//   "0 has SCOTT"    the array in slot 0 has an element SCOTT
//   "1[0]~BEGIN"     element 0 of the array in slot 1 contains BEGIN
void checkSlot(const data::QueryObject& object, const QString& check)
{
    static const QRegularExpression form(QStringLiteral(R"(^(\d+)(?:\[(\d+)\])?(=| has |~)(.*)$)"),
                                         QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = form.match(check);
    QVERIFY2(m.hasMatch(), qPrintable(check));
    const int slot = m.captured(1).toInt();
    const QString op = m.captured(3);
    const QString value = m.captured(4);
    if (op == QLatin1String(" has ")) {
        QStringList elements;
        for (int row = 0; row < object.slotLength(slot); ++row)
            elements << object.slotText(slot, row);
        QVERIFY2(elements.contains(value), qPrintable(check + " in " + elements.join('|')));
        return;
    }
    const QString actual = m.captured(2).isEmpty() ? object.slotText(slot)
                                                   : object.slotText(slot, m.captured(2).toInt());
    if (op == QLatin1String("~"))
        QVERIFY2(actual.contains(value), qPrintable(check + " in " + actual));
    else
        QVERIFY2(actual == value, qPrintable(check + " but is " + actual));
}

}  // namespace

class TestCatalogue : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void readers_data();
    void readers();
    void singleRowMethodCountsEveryRow();
    void noRowWritesNoSlot();
    void fileNumberAsTextOrNumberFindsTheSameFile();
    void missingViewOrPrivilege_data();
    void missingViewOrPrivilege();
    void elapsedMinutesRejectsABadStamp();
    void scheduleWriters();
    void failedScheduleUpdateShowsTheErrorOnce();
    void logWriterAndRunTime();
    void registrationWritersStampNow();
    void backupLogTakesWholeDays_data();
    void backupLogTakesWholeDays();
    void dueBackups_data();
    void dueBackups();

private:
    std::unique_ptr<test::DemoDatabase> m_demo;
    std::unique_ptr<db::Session> m_system;
    std::unique_ptr<test::ScriptedUiServices> m_ui;
};

void TestCatalogue::initTestCase()
{
    m_demo = std::make_unique<test::DemoDatabase>(kWednesday15th);
    m_system = connectDemo(QStringLiteral("SYSTEM"), QStringLiteral("MANAGER"));
}

void TestCatalogue::init()
{
    setEngineClock(kWednesday15th);
    m_ui = std::make_unique<test::ScriptedUiServices>();
    m_ui->setNow(QDateTime(QDate(2003, 10, 15), QTime(14, 30, 5)));
    data::setMainSession(m_system.get());
    test::createObjects();
}

void TestCatalogue::cleanup()
{
    data::releaseSharedObjects();
    data::setMainSession(nullptr);
    m_ui.reset();
}

void TestCatalogue::cleanupTestCase()
{
    m_system.reset();
    m_demo.reset();
}

void TestCatalogue::readers_data()
{
    QTest::addColumn<QString>("method");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("rows");  // -1: any number of rows above 0
    QTest::addColumn<QStringList>("checks");

    // HORACLEM1
    QTest::newRow("server date") << "GetServerDate" << QStringList{} << 1
                                 << QStringList{"0=2003-10-15", "1=14:00:00", "2=4"};
    QTest::newRow("users") << "GetUsers" << QStringList{} << -1
                           << QStringList{"0 has SYSTEM", "0 has SCOTT"};
    QTest::newRow("unique index column")
        << "GetUniqueIndexColumn" << QStringList{"SCOTT", "EMP", "EMPNO"} << 1
        << QStringList{"0=EMPNO", "1=1", "2=PK_EMP"};
    QTest::newRow("unique index columns of a table")
        << "GetUniqueIndexColumns" << QStringList{"TGHAPP", "ORDER_ITEM"} << 2
        << QStringList{"0 has ORDER_NO", "0 has ITEM_SEQ", "1 has 2", "2 has PK_ORDER_ITEM"};
    QTest::newRow("constraint type")
        << "GetConstraintType" << QStringList{"SCOTT", "EMP", "FK_DEPTNO"} << 1
        << QStringList{"0=R"};
    QTest::newRow("column info") << "GetColumnInfo" << QStringList{"SCOTT", "EMP", "SAL"} << 1
                                 << QStringList{"0=6",      "1=SAL", "2=급여",
                                                "3=NUMBER", "4=22",  "5=Y"};
    QTest::newRow("trigger body") << "GetTriggerBody" << QStringList{"TGHAPP", "TRG_ORDERS_BIU"}
                                  << 1 << QStringList{"0[0]~TRG_ORDERS_BIU", "1[0]~BEGIN"};
    QTest::newRow("object status") << "GetObjectStatus" << QStringList{"SCOTT", "EMP", "TABLE"} << 1
                                   << QStringList{"0=2003-10-15 14:00:00", "2=VALID"};
    QTest::newRow("synonym") << "GetSynonym" << QStringList{"TGHWEB", "ORDERS"} << 1
                             << QStringList{"0=TGHAPP", "1=ORDERS", "2="};
    QTest::newRow("tablespace without free extents")
        << "GetTablespaceUsage" << QStringList{"TEMP", "2"} << 1 << QStringList{"0=0", "1=0"};
    QTest::newRow("version") << "GetVersion" << QStringList{} << -1 << QStringList{"0[0]~Oracle9i"};
    QTest::newRow("dictionary") << "GetDictionary" << QStringList{} << -1
                                << QStringList{"0 has ALL_TABLES"};
    QTest::newRow("dictionary columns") << "GetDictColumns" << QStringList{"V$SESSION"} << -1
                                        << QStringList{"0[0]=V$SESSION", "1 has SERIAL#"};
    QTest::newRow("table tablespaces")
        << "GetTableTablespaces" << QStringList{"SCOTT"} << 1 << QStringList{"0[0]=USERS"};
    QTest::newRow("index tablespaces")
        << "GetIndexTablespaces" << QStringList{"SCOTT"} << 1 << QStringList{"0[0]=INDX"};
    QTest::newRow("sga") << "GetSga" << QStringList{} << -1
                         << QStringList{"0 has Fixed Size", "0 has Redo Buffers"};
    QTest::newRow("sga statistics")
        << "GetSgaStat" << QStringList{} << -1 << QStringList{"1 has free memory"};
    QTest::newRow("parameters") << "GetParameters" << QStringList{} << -1
                                << QStringList{"0 has processes", "0 has db_block_size"};
    QTest::newRow("language settings")
        << "GetNlsParameters" << QStringList{} << -1 << QStringList{"0 has NLS_CHARACTERSET"};
    QTest::newRow("resource limits") << "GetResourceLimits" << QStringList{} << -1
                                     << QStringList{"0 has processes", "0 has sessions"};
    QTest::newRow("tables and views, by name")
        << "GetTableList" << QStringList{"SCOTT", "%"} << 4
        << QStringList{"0[0]=BONUS",    "0[1]=DEPT", "0[2]=EMP",
                       "0[3]=SALGRADE", "1[2]=사원", "2[2]=TABLE"};
    QTest::newRow("views only") << "GetTableList" << QStringList{"TGHAPP", "VIEW"} << -1
                                << QStringList{"2[0]=VIEW", "0 has V_ORDERS_2002"};
    QTest::newRow("owner as empty text matches nothing")
        << "GetTableList" << QStringList{"", "%"} << 0 << QStringList{};
    QTest::newRow("index columns in order")
        << "GetIndexColumns" << QStringList{"TGHAPP", "ORDER_ITEM"} << 3
        << QStringList{"0[1]=PK_ORDER_ITEM", "1[1]=1", "3[1]=ORDER_NO",
                       "0[2]=PK_ORDER_ITEM", "1[2]=2", "3[2]=ITEM_SEQ",
                       "2[2]=UNIQUE"};
    QTest::newRow("table without indexes")
        << "GetIndexColumns" << QStringList{"SCOTT", "BONUS"} << 0 << QStringList{};
    QTest::newRow("tables in tablespace")
        << "GetTablesInTablespace" << QStringList{"SCOTT", "USERS"} << 4
        << QStringList{"1 has EMP", "2 has 사원", "3[0]=65536", "4[0]=0"};
    QTest::newRow("rollback segments by tablespace and number")
        << "GetRollbackSegments" << QStringList{} << -1
        << QStringList{"0[0]=RBS", "1[0]=1", "2[0]=RBS0", "11[0]=0"};
    QTest::newRow("dba users") << "GetDbaUsers" << QStringList{} << -1
                               << QStringList{"0 has SCOTT", "3 has LOCKED"};

    // HORACLEM2
    QTest::newRow("table storage, NULLs as 0 and empty text")
        << "GetTableStorage" << QStringList{"SCOTT", "EMP"} << 1
        << QStringList{"0=USERS", "1=", "7=65536", "8=0", "14="};
    QTest::newRow("table columns")
        << "GetTableColumns" << QStringList{"SCOTT", "EMP"} << 8
        << QStringList{"0[0]=1", "1[0]=EMPNO", "2[0]=사원번호", "5[0]=N",     "1[5]=SAL",
                       "7[5]=7", "8[5]=2",     "7[1]=",         "1[7]=DEPTNO"};
    QTest::newRow("table indexes") << "GetTableIndexes" << QStringList{"SCOTT", "EMP"} << 1
                                   << QStringList{"0[0]=PK_EMP", "1[0]=UNIQUE", "2[0]=INDX"};
    QTest::newRow("index column list")
        << "GetIndexColumnList" << QStringList{"SCOTT", "EMP", "PK_EMP"} << 1
        << QStringList{"0[0]=EMPNO", "1[0]=1", "2[0]=22"};
    QTest::newRow("table constraints")
        << "GetTableConstraints" << QStringList{"SCOTT", "EMP"} << -1
        << QStringList{"0 has PK_EMP", "0 has FK_DEPTNO", "4 has PK_DEPT"};
    QTest::newRow("triggers") << "GetTriggers" << QStringList{"TGHAPP"} << -1
                              << QStringList{"0 has TRG_ORDERS_BIU", "4 has ORDERS"};
    QTest::newRow("every object of an owner")
        << "GetObjects" << QStringList{"SCOTT", "%", "%"} << 6
        << QStringList{"0 has EMP", "0 has PK_EMP", "4 has INDEX", "8 has VALID"};
    QTest::newRow("invalid objects") << "GetObjects" << QStringList{"TGHAPP", "%", "INVALID"} << -1
                                     << QStringList{"0 has V_ORDERS_2002", "8[0]=INVALID"};
    QTest::newRow("every session, background ones too")
        << "GetSessions" << QStringList{"%"} << -1
        << QStringList{"2 has ", "13 has BACKGROUND", "2 has SYSTEM"};
    QTest::newRow("statement of a session without one")
        << "GetSessionSql" << QStringList{"1", "1", ""} << 0 << QStringList{};
    QTest::newRow("locks, one without object")
        << "GetLocks" << QStringList{} << -1 << QStringList{"10 has ", "10 has ORDERS"};
    QTest::newRow("tablespaces by number")
        << "GetTablespaces" << QStringList{} << -1
        << QStringList{"0[0]=0", "1[0]=SYSTEM", "1 has TGHD", "8 has TEMPORARY"};
    QTest::newRow("datafiles of a tablespace of several")
        << "GetDatafiles" << QStringList{"6"} << 3
        << QStringList{"0[0]=6", "0[1]=7", "0[2]=8", "1[0]~TGHD01", "4[0]=ONLINE"};
    QTest::newRow("tablespace without datafiles")
        << "GetDatafiles" << QStringList{"2"} << 0 << QStringList{};

    // HORACLEM3
    // The server's decimal arithmetic: 930 s is 930/86400 days, kept to 40 significant digits,
    // so the minutes carry a trace of that rounding in their last digit (90 s come out even).
    QTest::newRow("minutes with a fraction")
        << "GetElapsedMinutes" << QStringList{"20030515 120000", "20030515 121530"} << 1
        << QStringList{"0=15.50000000000000000000000000000000000002"};
    QTest::newRow("minutes, 90 seconds")
        << "GetElapsedMinutes" << QStringList{"20030515 120000", "20030515 120130"} << 1
        << QStringList{"0=1.5"};
    QTest::newRow("equal stamps") << "GetElapsedMinutes"
                                  << QStringList{"20030515 120000", "20030515 120000"} << 1
                                  << QStringList{"0=0"};
    QTest::newRow("end before start")
        << "GetElapsedMinutes" << QStringList{"20030516 000000", "20030515 230000"} << 1
        << QStringList{"0=-60.00000000000000000000000000000000000005"};

    // Backup catalogue readers
    QTest::newRow("schedule row") << "GetBackupTable" << QStringList{"DEMO", "SCOTT", "EMP"} << 1
                                  << QStringList{"0=DEMO", "1=SCOTT", "2=EMP",
                                                 "3=사원", "4=D",     "5=01",
                                                 "6=02",   "7=",      "8=20030514 020512"};
    QTest::newRow("schedule rows of an account")
        << "GetBackupTables" << QStringList{"DEMO", "TGHAPP"} << -1
        << QStringList{"2 has ORDER_ITEM", "7 has WHERE ORDER_NO LIKE '200304%'"};
    QTest::newRow("registration") << "GetBackupUser" << QStringList{"DEMO", "SCOTT"} << 1
                                  << QStringList{"0=DEMO", "1=SCOTT", "2=TIGER", "5=Y"};
}

void TestCatalogue::readers()
{
    QFETCH(QString, method);
    QFETCH(QStringList, arguments);
    QFETCH(int, rows);
    QFETCH(QStringList, checks);
    QVERIFY(test::methods().contains(method));

    const int result = test::call(method, arguments);

    if (rows < 0)
        QVERIFY2(result > 0, qPrintable(QString::number(result)));
    else
        QCOMPARE(result, rows);
    QCOMPARE(m_ui->messages().size(), 0);
    const data::QueryObject& object = test::objectOf(method);
    for (const QString& check : checks) {
        checkSlot(object, check);
        if (QTest::currentTestFailed())
            return;
    }
    // Every array a call wrote has one element per row.
    for (int i = 0; i < object.slotCount(); ++i)
        if (object.slot(i).isArray())
            QCOMPARE(object.slotLength(i), result);
}

void TestCatalogue::singleRowMethodCountsEveryRow()
{
    db::Query extents(m_system.get());
    extents.addSql(QStringLiteral("SELECT FILE_ID FROM DBA_EXTENTS"));
    extents.addSql(QStringLiteral("WHERE OWNER = 'TGHAPP' AND SEGMENT_NAME = 'SALES_HIST'"));
    extents.open();
    QVERIFY(extents.recordCount() > 1);

    QCOMPARE(Oraclem1->GetSegmentFileId("TGHAPP", "SALES_HIST"), extents.recordCount());
    QCOMPARE(Oraclem1->slotText(0), extents.fieldByName("FILE_ID").asText());
    QVERIFY(Oraclem1->slot(0).isText());
}

void TestCatalogue::noRowWritesNoSlot()
{
    QCOMPARE(Oraclem1->GetUniqueIndexColumn("SCOTT", "EMP", "EMPNO"), 1);
    QCOMPARE(Oraclem1->GetUniqueIndexColumn("SCOTT", "EMP", "ENAME"), 0);
    QCOMPARE(Oraclem1->slotText(0), QStringLiteral("EMPNO"));
    QCOMPARE(Oraclem1->slotText(2), QStringLiteral("PK_EMP"));

    QCOMPARE(Oraclem2->GetTableColumns("SCOTT", "DEPT"), 3);
    QCOMPARE(Oraclem2->GetTableStorage("SCOTT", "NO_SUCH_TABLE"), 0);
    QCOMPARE(Oraclem2->slotText(1, 2), QStringLiteral("LOC"));
}

void TestCatalogue::fileNumberAsTextOrNumberFindsTheSameFile()
{
    QCOMPARE(Oraclem1->GetDatafileName("04"), 1);
    QVERIFY(Oraclem1->slotText(0, 0).endsWith(QStringLiteral("INDX01.DBF")));
    QCOMPARE(Oraclem1->GetFileFreeSpace("4"), 1);
    const QString freeBytes = Oraclem1->slotText(0);
    QVERIFY(freeBytes != QStringLiteral("0"));
    QCOMPARE(Oraclem1->GetFileFreeSpace("04"), 1);
    QCOMPARE(Oraclem1->slotText(0), freeBytes);
}

void TestCatalogue::missingViewOrPrivilege_data()
{
    QTest::addColumn<QString>("method");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("outcome");  // message, silent or passes

    // SCOTT has no DBA role: the V$ and DBA_ views and the backup catalogue do not exist for him.
    QTest::newRow("extents") << "GetSegmentFileId" << QStringList{"SCOTT", "EMP"} << "silent";
    QTest::newRow("sga") << "GetSga" << QStringList{} << "silent";
    QTest::newRow("sga statistics") << "GetSgaStat" << QStringList{} << "silent";
    QTest::newRow("tablespace usage")
        << "GetTablespaceUsage" << QStringList{"USERS", "3"} << "message";
    QTest::newRow("locks") << "GetLocks" << QStringList{} << "message";
    QTest::newRow("tablespaces") << "GetTablespaces" << QStringList{} << "message";
    QTest::newRow("datafiles") << "GetDatafiles" << QStringList{"3"} << "message";
    QTest::newRow("rollback segments") << "GetRollbackSegments" << QStringList{} << "passes";
    QTest::newRow("dba users") << "GetDbaUsers" << QStringList{} << "passes";
    QTest::newRow("sessions") << "GetSessions" << QStringList{"%"} << "passes";
    QTest::newRow("session sql") << "GetSessionSql" << QStringList{"12", "231", "TGHAPP"}
                                 << "passes";
    QTest::newRow("version") << "GetVersion" << QStringList{} << "passes";
    QTest::newRow("schedule row") << "GetBackupTable" << QStringList{"DEMO", "SCOTT", "EMP"}
                                  << "silent";
    QTest::newRow("due backups") << "GetDueBackups" << QStringList{"DEMO"} << "silent";
    QTest::newRow("backup log") << "GetBackupLog"
                                << QStringList{"DEMO", "SCOTT", "20030401", "20030430"} << "passes";
    QTest::newRow("registration") << "GetBackupUser" << QStringList{"DEMO", "SCOTT"} << "passes";
    QTest::newRow("schedule insert")
        << "InsertBackupTable"
        << QStringList{"DEMO", "SCOTT", "EMP", "사원", "D", "01", "02", "", ""} << "silent";
    QTest::newRow("schedule update")
        << "UpdateBackupTable"
        << QStringList{"DEMO", "SCOTT", "EMP", "사원", "D", "01", "02", "", ""} << "message";
    QTest::newRow("registration update")
        << "UpdateBackupUser" << QStringList{"DEMO", "SCOTT", "TIGER", "", "0230", "Y"} << "silent";
}

void TestCatalogue::missingViewOrPrivilege()
{
    QFETCH(QString, method);
    QFETCH(QStringList, arguments);
    QFETCH(QString, outcome);
    const auto scott = connectDemo(QStringLiteral("SCOTT"), QStringLiteral("TIGER"));
    data::setMainSession(scott.get());
    const QString missing = QStringLiteral("ORA-00942: table or view does not exist");

    if (outcome == QLatin1String("passes")) {
        try {
            test::call(method, arguments);
            QFAIL("the error did not reach the caller");
        } catch (const db::DatabaseError& error) {
            QCOMPARE(error.message(), missing);
        }
        QCOMPARE(m_ui->messages().size(), 0);
    } else {
        QCOMPARE(test::call(method, arguments), -1);
        QCOMPARE(m_ui->messageTexts(),
                 outcome == QLatin1String("message") ? QStringList{missing} : QStringList{});
    }
    QVERIFY(!scott->inTransaction());
    data::setMainSession(nullptr);  // frees a query left in its slot while SCOTT's session lives
}

void TestCatalogue::elapsedMinutesRejectsABadStamp()
{
    // No handler: the server's rejection of the stamp reaches the caller.
    QVERIFY_THROWS_EXCEPTION(db::DatabaseError,
                             Oraclem3->GetElapsedMinutes("2003-05-15 12:00", "20030515 120000"));
    QCOMPARE(m_ui->messages().size(), 0);
}

void TestCatalogue::scheduleWriters()
{
    QCOMPARE(Backupt1->InsertBackupTable("TEST", "SCOTT", "EMP", "사원", "D", "01", "02", "", ""),
             0);
    QCOMPARE(Backupt1->GetBackupTable("TEST", "SCOTT", "EMP"), 1);
    QCOMPARE(Backupt1->slotText(3), QStringLiteral("사원"));
    QCOMPARE(Backupt1->slotText(7), QString());  // empty condition: NULL, read as empty text
    QCOMPARE(Backupt1->slotText(8), QString());

    // A second insert of the same key is rolled back quietly.
    QCOMPARE(Backupt1->InsertBackupTable("TEST", "SCOTT", "EMP", "", "W", "04", "01", "", ""), -1);
    QCOMPARE(m_ui->messages().size(), 0);
    QVERIFY(!m_system->inTransaction());

    QCOMPARE(Backupt1->UpdateBackupTable("TEST", "SCOTT", "EMP", "사원 (월간)", "M", "15", "03",
                                         "WHERE DEPTNO = 10", "20031001 030000"),
             0);
    QCOMPARE(Backupt1->UpdateBackupDateTime("TEST", "SCOTT", "EMP"), 0);
    QCOMPARE(Backupt1->GetBackupTable("TEST", "SCOTT", "EMP"), 1);
    QCOMPARE(Backupt1->slotText(4), QStringLiteral("M"));
    QCOMPARE(Backupt1->slotText(7), QStringLiteral("WHERE DEPTNO = 10"));
    QCOMPARE(Backupt1->slotText(8), QStringLiteral("20031015 143005"));  // the local "now"

    // Neither update of a table without schedule creates one.
    QCOMPARE(Backupt1->UpdateBackupDateTime("TEST", "SCOTT", "DEPT"), 0);
    QCOMPARE(Backupt1->UpdateBackupTable("TEST", "SCOTT", "DEPT", "", "D", "01", "01", "", ""), 0);
    QCOMPARE(Backupt1->GetBackupTable("TEST", "SCOTT", "DEPT"), 0);
    QCOMPARE(m_ui->messages().size(), 0);
}

void TestCatalogue::failedScheduleUpdateShowsTheErrorOnce()
{
    QCOMPARE(Backupt1->InsertBackupTable("TEST", "HR", "JOBS", "", "D", "01", "02", "", ""), 0);
    // The cycle column holds two characters.
    QCOMPARE(Backupt1->UpdateBackupTable("TEST", "HR", "JOBS", "", "DAILY", "01", "02", "", ""),
             -1);
    QCOMPARE(m_ui->messages().size(), 1);
    QVERIFY(m_ui->messages().first().text.startsWith(QStringLiteral("ORA-12899: ")));
    QCOMPARE(m_ui->messages().first().caption, ui::kApplicationTitle);
    QVERIFY(!m_system->inTransaction());
    QCOMPARE(Backupt1->GetBackupTable("TEST", "HR", "JOBS"), 1);
    QCOMPARE(Backupt1->slotText(4), QStringLiteral("D"));
}

void TestCatalogue::logWriterAndRunTime()
{
    const QStringList row = {"TEST",
                             "TGHAPP",
                             "ORDER_ITEM",
                             "20030415 235930",
                             "20030416 000110",
                             "주문상세",
                             "M",
                             "15",
                             "02",
                             "192.168.10.21",
                             "",
                             "D:\\B\\OI.TXT",
                             "1200"};
    const auto insert = [&row] {
        return Backupt2->InsertBackupLog(row[0], row[1], row[2], row[3], row[4], row[5], row[6],
                                         row[7], row[8], row[9], row[10], row[11], row[12]);
    };
    QCOMPARE(insert(), 0);
    // The same table dumped twice within one second logs only once.
    QCOMPARE(insert(), -1);
    QCOMPARE(m_ui->messages().size(), 0);

    QCOMPARE(Backupt2->GetBackupLog("TEST", "TGHAPP", "20030415", "20030415"), 1);
    QCOMPARE(Backupt2->slotText(4, 0), QStringLiteral("20030416 000110"));
    QCOMPARE(Backupt2->slotText(10, 0), QString());
    QCOMPARE(Backupt2->slotText(12, 0), QStringLiteral("1200"));
    QCOMPARE(Backupt2->slotText(13, 0), QStringLiteral("2"));  // 100 seconds, rounded
}

void TestCatalogue::registrationWritersStampNow()
{
    QCOMPARE(Backust1->InsertBackupUser("TEST", "HR", "HR", "인사", "0500", "N"), 0);
    QCOMPARE(Backust1->InsertBackupUser("TEST", "HR", "HR", "인사", "0500", "N"), -1);
    QCOMPARE(Backust1->GetBackupUser("TEST", "HR"), 1);
    QCOMPARE(Backust1->slotText(3), QStringLiteral("인사"));
    QCOMPARE(Backust1->slotText(6), QStringLiteral("20031015 143005"));

    m_ui->setNow(QDateTime(QDate(2003, 10, 16), QTime(9, 5, 0)));
    QCOMPARE(Backust1->UpdateBackupUser("TEST", "HR", "HRPASS", "인사 샘플", "0530", "Y"), 0);
    QCOMPARE(Backust1->GetBackupUser("TEST", "HR"), 1);
    QCOMPARE(Backust1->slotText(2), QStringLiteral("HRPASS"));
    QCOMPARE(Backust1->slotText(4), QStringLiteral("0530"));
    QCOMPARE(Backust1->slotText(5), QStringLiteral("Y"));
    QCOMPARE(Backust1->slotText(6), QStringLiteral("20031016 090500"));
    QCOMPARE(m_ui->messages().size(), 0);
}

void TestCatalogue::backupLogTakesWholeDays_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QStringList>("starts");  // newest first
    QTest::newRow("April") << "20030401"
                           << "20030430"
                           << QStringList{"20030430 235959", "20030422 103011", "20030402 030004",
                                          "20030401 020500"};
    QTest::newRow("one day") << "20030430"
                             << "20030430" << QStringList{"20030430 235959"};
    QTest::newRow("every row, as user management asks")
        << "00000000 000000"
        << "99999999 235959"
        << QStringList{"20030514 020511", "20030507 030009", "20030430 235959", "20030422 103011",
                       "20030402 030004", "20030401 020500", "20030328 020501"};
    QTest::newRow("to before from") << "20030430"
                                    << "20030401" << QStringList{};
}

void TestCatalogue::backupLogTakesWholeDays()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QStringList, starts);
    QCOMPARE(Backupt2->GetBackupLog("DEMO", "SCOTT", from, to), int(starts.size()));
    QStringList actual;
    for (int row = 0; row < Backupt2->slotLength(3) && !starts.isEmpty(); ++row)
        actual << Backupt2->slotText(3, row);
    QCOMPARE(actual, starts);
}

void TestCatalogue::dueBackups_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QStringList>("cycles");  // the cycles among the rows due that day
    QTest::newRow("Wednesday the 15th") << QDate(2003, 10, 15) << QStringList{"D", "M", "W"};
    QTest::newRow("Thursday the 16th") << QDate(2003, 10, 16) << QStringList{"D"};
    QTest::newRow("Sunday the 5th") << QDate(2003, 10, 5) << QStringList{"D", "M", "W"};
}

void TestCatalogue::dueBackups()
{
    QFETCH(QDate, today);
    QFETCH(QStringList, cycles);
    setEngineClock(QDateTime(today, QTime(9, 0, 0)));

    // What is due, by the schedule codes: every daily row, weekly rows of today's weekday
    // ("01" Sunday to "07" Saturday), monthly rows of today's day; never "N" or "Y".
    db::Query schedules(m_system.get());
    schedules.addSql(
        QStringLiteral("SELECT BACKUP_ACCOUNT, BACKUP_TABLEID, BACKUP_CYCLE, "
                       "BACKUP_TYPE FROM BACKUP_TABLE WHERE BACKUP_SERVER = 'DEMO'"));
    schedules.open();
    const QString weekday = QStringLiteral("%1").arg(today.dayOfWeek() % 7 + 1, 2, 10, QChar('0'));
    const QString day = QStringLiteral("%1").arg(today.day(), 2, 10, QChar('0'));
    QStringList expected;
    for (; !schedules.eof(); schedules.next()) {
        const QString cycle = schedules.fieldByName("BACKUP_CYCLE").asText();
        const QString type = schedules.fieldByName("BACKUP_TYPE").asText();
        if (cycle == "D" || (cycle == "W" && type == weekday) || (cycle == "M" && type == day))
            expected << schedules.fieldByName("BACKUP_ACCOUNT").asText() + '.' +
                            schedules.fieldByName("BACKUP_TABLEID").asText();
    }
    expected.sort();

    const int rows = Backupt1->GetDueBackups("DEMO");

    QCOMPARE(rows, int(expected.size()));
    QStringList actual;
    QStringList actualCycles;
    QString previousAccount;
    for (int row = 0; row < rows; ++row) {
        QCOMPARE(Backupt1->slotText(0, row), QStringLiteral("DEMO"));
        const QString account = Backupt1->slotText(1, row);
        QVERIFY2(account >= previousAccount, "rows are sorted by account");
        previousAccount = account;
        actual << account + QLatin1Char('.') + Backupt1->slotText(2, row);
        if (!actualCycles.contains(Backupt1->slotText(4, row)))
            actualCycles << Backupt1->slotText(4, row);
    }
    actual.sort();
    QCOMPARE(actual, expected);
    actualCycles.sort();
    QCOMPARE(actualCycles, cycles);
}

QTEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
